#include <gtest/gtest.h>

#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/map/MappedDataContract.h"
#include "s/xml/Disk.h"
#include "s/xml/MappedData.h"
#include "s/xml/Node.h"
#include "s/xml/TempFolder.h"

using s::xml::MappedData;
using s::xml::Node;
using xmltest::TempFolder;

namespace {

std::string ReadBytes(const std::wstring& path)
{
    s::col::_array::ArrayU08* bytes = s::col::_array::ArrayU08::Acquire();
    std::string result = "<unreadable>";
    if (s::xml::disk::ReadAllBytes(path.c_str(), bytes))
        result.assign(reinterpret_cast<const char*>(bytes->Items()), bytes->Count());
    bytes->Release();
    return result;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    ASSERT_TRUE(s::xml::disk::ReplaceWithBytes(
        path.c_str(), reinterpret_cast<const uint8_t*>(bytes.data()), uint32_t(bytes.size())));
}

} // namespace

TEST(XmlMappedData, KeepsTheSettingsStoreContractInMemoryAndOnFile)
{
    MappedData* memory = s::xml::openFileStore(nullptr);
    mappeddata_contract::CheckAll(memory);
    EXPECT_TRUE(memory->flush());
    memory->Release();

    TempFolder folder;
    const std::wstring path = folder.File(L"savedata\\SaveData.xml");
    MappedData* store = s::xml::openFileStore(path.c_str());
    mappeddata_contract::CheckAll(store);
    ASSERT_TRUE(store->flush());
    store->Release();

    // Everything written comes back from the file.
    MappedData* again = s::xml::openFileStore(path.c_str());
    EXPECT_EQ(INT64_MIN, again->getS64(L"Contract\\Types", L"s64", 0));
    EXPECT_EQ(std::wstring(L"Vesk Kairon \u65e5\u672c"),
              again->getString(L"contract/types", L"text", L"", nullptr, false));
    EXPECT_EQ(3, again->getS32(L"Contract\\Kept", L"X", 0));
    again->Release();
}

TEST(XmlMappedData, FreshStoreWritesTheExampleFileOnOneLine)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"savedata\\SaveData.xml");
    MappedData* store = s::xml::openFileStore(path.c_str());
    EXPECT_STREQ(L"savedata", store->getRoot()->getName());
    ASSERT_TRUE(store->setString(L"SoftwareType", L"", L"Freeware"));
    ASSERT_TRUE(store->setBool(L"MainWindow\\View", L"KeepOnTop", true));
    EXPECT_EQ("<unreadable>", ReadBytes(path));  // nothing on disk before the flush
    ASSERT_TRUE(store->flush());
    EXPECT_EQ("<savedata><SoftwareType>Freeware</SoftwareType><MainWindow><View "
              "KeepOnTop=\"1\"></View></MainWindow></savedata>",
              ReadBytes(path));

    // A text with a space keeps it as a reference.
    store->setAutoFlush(true);
    ASSERT_TRUE(store->setString(L"SoftwareID", L"", L"Vesk Kairon"));
    EXPECT_NE(std::string::npos, ReadBytes(path).find("<SoftwareID>Vesk&#160;Kairon</SoftwareID>"));
    store->Release();
}

TEST(XmlMappedData, SectionWalkTakesTheFirstOfSameNamedElementsAndReadsCreateNothing)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"SaveData.xml");
    WriteBytes(path,
               "\xEF\xBB\xBF<savedata>\n  <MainWindow X=\"5\"><View Width=\"640\"/></MainWindow>\n"
               "  <mainwindow X=\"7\"><View Width=\"1\"/><Extra/></mainwindow>\n</savedata>");
    MappedData* store = s::xml::openFileStore(path.c_str());
    EXPECT_EQ(5, store->getS32(L"MAINWINDOW", L"x", 0));
    EXPECT_EQ(640, store->getS32(L"MainWindow/View", L"Width", 0));
    EXPECT_EQ(640, store->getS32(L"\\MainWindow\\\\View\\", L"Width", 0));
    EXPECT_FALSE(store->openSectionForRead(L"MainWindow\\Extra"));
    EXPECT_FALSE(store->openSectionForRead(L"MainWindow\\Extra"));  // asked twice, same answer
    EXPECT_FALSE(store->hasValue(L"Nope\\Deeper", L"x"));
    EXPECT_EQ(2u, store->getRoot()->getChildCount());

    // Writing goes to the first one too and creates what is missing.
    ASSERT_TRUE(store->openSectionForWrite(L"MainWindow\\Extra"));
    EXPECT_TRUE(store->openSectionForRead(L"mainwindow\\extra"));
    EXPECT_EQ(2u, store->getRoot()->getChild(0)->getChildCount());
    EXPECT_EQ(2u, store->getRoot()->getChild(1)->getChildCount());
    EXPECT_TRUE(store->removeSection(L"mainwindow\\view"));
    // The second MainWindow is never reached by a section text.
    EXPECT_FALSE(store->openSectionForRead(L"MainWindow\\View"));
    EXPECT_FALSE(store->removeSection(L"Nope\\View"));
    store->Release();
}

TEST(XmlMappedData, MissingOrEmptyFileStartsWithTheSavedataRoot)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"SaveData.xml");
    MappedData* store = s::xml::openFileStore(path.c_str());
    EXPECT_STREQ(L"savedata", store->getRoot()->getName());
    EXPECT_TRUE(store->openSectionForRead(L""));
    EXPECT_STREQ(path.c_str(), store->getFile());
    store->Release();

    WriteBytes(path, "");
    store = s::xml::openFileStore(path.c_str());
    EXPECT_STREQ(L"savedata", store->getRoot()->getName());
    EXPECT_TRUE(store->setS32(L"A", L"v", 1));
    EXPECT_TRUE(store->flush());
    EXPECT_EQ("<savedata><A v=\"1\"></A></savedata>", ReadBytes(path));
    EXPECT_TRUE(store->removeSection(L""));
    EXPECT_EQ(0u, store->getRoot()->getChildCount());
    store->Release();
}

TEST(XmlMappedData, FailedAutoFlushReportsFalseAndKeepsTheOldFile)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"SaveData.xml");
    MappedData* store = s::xml::openFileStore(path.c_str());
    store->setAutoFlush(true);
    ASSERT_TRUE(store->setS32(L"View", L"Width", 100));
    const std::string before = ReadBytes(path);
    ASSERT_TRUE(CreateDirectoryW((path + L".tmp").c_str(), nullptr));
    EXPECT_FALSE(store->setS32(L"View", L"Width", 200));
    EXPECT_EQ(before, ReadBytes(path));
    EXPECT_EQ(200, store->getS32(L"View", L"Width", 0));  // still held in memory
    RemoveDirectoryW((path + L".tmp").c_str());
    EXPECT_TRUE(store->flush());
    EXPECT_EQ("<savedata><View Width=\"200\"></View></savedata>", ReadBytes(path));
    store->Release();
}

TEST(XmlMappedData, ReleasedStoreComesBackEmpty)
{
    MappedData* store = s::xml::openFileStore(nullptr);
    store->setAutoFlush(true);
    store->setS32(L"A", L"v", 1);
    store->Release();
    MappedData* again = MappedData::Acquire();
    EXPECT_FALSE(again->getAutoFlush());
    EXPECT_EQ(nullptr, again->getRoot());
    EXPECT_STREQ(L"", again->getFile());
    EXPECT_EQ(-1, again->getS32(L"A", L"v", -1));
    EXPECT_FALSE(again->setS32(L"A", L"v", 1));
    again->Release();
}

TEST(XmlMappedData, RelativePathMakesItsFolderBesideTheWorkingFolder)
{
    TempFolder folder;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.File(L"").c_str()));
    MappedData* store = s::xml::openFileStore(L"savedata\\SaveData.xml");
    EXPECT_TRUE(store->setString(L"Language", L"", L"German"));
    EXPECT_TRUE(store->flush());
    store->Release();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ("<savedata><Language>German</Language></savedata>",
              ReadBytes(folder.File(L"savedata\\SaveData.xml")));
}

TEST(XmlMappedData, FileThatCannotBeReadIsNeverOverwritten)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"SaveData.xml");
    WriteBytes(path, "<savedata><Language>German</Language></savedata>");
    // Another program holds the file open without sharing it.
    HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    MappedData* store = MappedData::Acquire();
    EXPECT_FALSE(store->open(path.c_str()));
    CloseHandle(locked);
    EXPECT_TRUE(store->setString(L"Language", L"", L"French"));  // kept in memory
    EXPECT_FALSE(store->flush());
    EXPECT_EQ("<savedata><Language>German</Language></savedata>", ReadBytes(path));
    store->Release();

    store = s::xml::openFileStore(path.c_str());
    EXPECT_STREQ(L"German", store->getString(L"Language", L"", L"", nullptr, false));
    store->Release();
}

// Sections deeper than the parser used to follow: the file could be written but not
// read back, and everything after the deep part (the user's other settings) was gone
// at the next start; releasing or saving a very deep store overflowed the stack.
TEST(XmlMappedData, VeryDeepSectionsAreWrittenReadBackAndReleased)
{
    TempFolder folder;
    for (const int depth : {1100, 50000}) {
        SCOPED_TRACE(depth);
        const std::wstring path = folder.File((L"deep" + std::to_wstring(depth) + L".xml").c_str());
        std::wstring section;
        for (int i = 0; i < depth; ++i)
            section += i ? L"\\s" : L"s";
        MappedData* store = s::xml::openFileStore(path.c_str());
        ASSERT_TRUE(store->setString(L"Before", L"name", L"first"));
        ASSERT_TRUE(store->setS32(section.c_str(), L"deepest", 42));
        ASSERT_TRUE(store->setString(L"MainWindow\\View", L"mode", L"Change Multiple"));
        ASSERT_TRUE(store->flush());
        store->Release();

        MappedData* again = s::xml::openFileStore(path.c_str());
        EXPECT_EQ(std::wstring(L"first"), again->getString(L"Before", L"name", L"", nullptr, false));
        EXPECT_EQ(42, again->getS32(section.c_str(), L"deepest", 0));
        EXPECT_EQ(std::wstring(L"Change Multiple"),
                  again->getString(L"MainWindow\\View", L"mode", L"", nullptr, false));
        // Removing the deep part releases it, and the rest stays.
        EXPECT_TRUE(again->removeSection(L"s"));
        EXPECT_FALSE(again->openSectionForRead(L"s"));
        EXPECT_EQ(std::wstring(L"first"), again->getString(L"Before", L"name", L"", nullptr, false));
        again->Release();
    }
}
