#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Disk.h"
#include "s/xml/Node.h"
#include "s/xml/TempFolder.h"

using s::xml::Node;

using xmltest::TempFolder;

namespace {

std::string ReadBytes(const std::wstring& path)
{
    s::col::_array::ArrayU08* bytes = s::col::_array::ArrayU08::Acquire();
    std::string result;
    if (s::xml::disk::ReadAllBytes(path.c_str(), bytes))
        result.assign(reinterpret_cast<const char*>(bytes->Items()), bytes->Count());
    else
        result = "<unreadable>";
    bytes->Release();
    return result;
}

} // namespace

TEST(NodeFile, SaveCreatesFoldersWritesUtf8WithoutBomAndLoadsBack)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"one\\two\\data.xml");
    Node* a = Node::Acquire();
    a->setName(L"root");
    a->addChild(L"Name")->setString(L"", L"K\u00e4iron \u65e5");
    ASSERT_TRUE(a->save(path.c_str()));
    EXPECT_EQ("<root><Name>K\xC3\xA4iron&#160;\xE6\x97\xA5</Name></root>", ReadBytes(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".tmp").c_str()));

    Node* b = Node::Acquire();
    ASSERT_TRUE(b->load(path.c_str()));
    EXPECT_STREQ(L"root", b->getName());
    s::str::strbuffer::StrBuffer* text = b->findChild(L"name")->getText(nullptr, L"", nullptr);
    EXPECT_STREQ(L"K\u00e4iron \u65e5", text->CStr());
    text->Release();
    a->Release();
    b->Release();
}

TEST(NodeFile, FailedSaveLeavesTheOldFileWhole)
{
    TempFolder folder;
    const std::wstring path = folder.File(L"SaveData.xml");
    Node* a = Node::Acquire();
    a->setName(L"savedata");
    a->setS32(L"v", 1);
    ASSERT_TRUE(a->save(path.c_str()));
    const std::string before = ReadBytes(path);

    // The temporary file cannot be made: the save fails and the old file stays.
    ASSERT_TRUE(CreateDirectoryW((path + L".tmp").c_str(), nullptr));
    a->setS32(L"v", 2);
    EXPECT_FALSE(a->save(path.c_str()));
    EXPECT_EQ(before, ReadBytes(path));
    RemoveDirectoryW((path + L".tmp").c_str());

    EXPECT_TRUE(a->save(path.c_str()));
    EXPECT_EQ("<savedata v=\"2\"></savedata>", ReadBytes(path));
    a->Release();
}

TEST(NodeFile, MissingFileDoesNotLoad)
{
    TempFolder folder;
    Node* a = Node::Acquire();
    a->parse(L"<old/>");
    EXPECT_FALSE(a->load(folder.File(L"absent.xml").c_str()));
    EXPECT_STREQ(L"", a->getName());
    EXPECT_FALSE(a->save(L""));
    a->Release();
}
