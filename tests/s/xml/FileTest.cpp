#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Disk.h"
#include "s/xml/Node.h"

using s::xml::Node;

namespace {

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder
{
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"kairon_xml_" + std::to_wstring(GetCurrentProcessId()) +
                L"_" + std::to_wstring(GetTickCount64());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { Remove(path_); }
    std::wstring File(const wchar_t* relative) const { return path_ + L"\\" + relative; }

private:
    static void Remove(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

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
