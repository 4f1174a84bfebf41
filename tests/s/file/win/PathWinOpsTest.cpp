// File operations, shortcuts, shell texts, neighbours and PathArray.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempTree.h"
#include "s/col/_array/ArrayP.h"
#include "s/file/Extension.h"
#include "s/file/win/PathArray.h"
#include "s/file/win/PathWin.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::col::_array::ArrayP;
using s::file::Extension;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::file::win::test::TempTree;
using s::file::win::test::Held;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace {

} // namespace

TEST(PathWinOps, DriveRootsAreNeverChanged)
{
    for (const wchar_t* text : {L"C:", L"C:\\", L"Z:\\"}) {
        Held p(text);
        EXPECT_FALSE(p->Delete());
        EXPECT_FALSE(p->CreateDirectory());
        EXPECT_FALSE(p->CreateFile());
        EXPECT_FALSE(p->Recycle(false, false));
        EXPECT_FALSE(p->DeleteOnReboot());
    }
    TempTree tree;
    Held file(tree.File(L"a.txt"));
    EXPECT_FALSE(file->Rename(L"C:\\"));
    EXPECT_FALSE(file->MoveTo(L"C:", true, false));
    EXPECT_FALSE(file->CopyTo(L"C:\\", true));
    EXPECT_TRUE(TempTree::Exists(tree.Path(L"a.txt")));
}

TEST(PathWinOps, CreateWithMissingParentsAndDelete)
{
    TempTree tree;
    Held file(tree.Path(L"x\\y\\z.txt"));
    EXPECT_TRUE(file->CreateFile());
    EXPECT_TRUE(TempTree::Exists(file->GetFullPath()));
    EXPECT_FALSE(file->CreateFile());  // exists already
    Held folder(tree.Path(L"p\\q\\r"));
    EXPECT_TRUE(folder->CreateDirectory());
    EXPECT_TRUE(folder->IsDirectory());

    // A read-only file is deleted after being made writable; a folder with contents goes whole.
    Held ro(tree.File(L"x\\ro.txt", 1, FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(ro->Delete());
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"x\\ro.txt")));
    Held x(tree.Path(L"x"));
    EXPECT_TRUE(x->Delete());
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"x")));
    Held missing(tree.Path(L"gone"));
    EXPECT_TRUE(missing->Delete());
}

TEST(PathWinOps, RenameMoveCopy)
{
    TempTree tree;
    tree.File(L"a.txt", 3);
    tree.File(L"taken.txt", 1);
    Held a(tree.Path(L"a.txt"));
    EXPECT_FALSE(a->Rename(tree.Path(L"taken.txt").c_str()));
    EXPECT_TRUE(a->Rename(tree.Path(L"b.txt").c_str()));
    EXPECT_TRUE(TempTree::Exists(tree.Path(L"b.txt")));
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"a.txt")));

    Held b(tree.Path(L"b.txt"));
    EXPECT_TRUE(b->CopyTo(tree.Path(L"new\\dir\\c.txt").c_str(), false));
    EXPECT_TRUE(TempTree::Exists(tree.Path(L"new\\dir\\c.txt")));
    EXPECT_FALSE(b->CopyTo(tree.Path(L"taken.txt").c_str(), false));
    EXPECT_TRUE(b->CopyTo(tree.Path(L"taken.txt").c_str(), true));
    Held taken(tree.Path(L"taken.txt"));
    EXPECT_EQ(3, taken->GetSize());

    Held folder(tree.Path(L"new"));
    EXPECT_TRUE(folder->CopyTo(tree.Path(L"copy").c_str(), false));
    EXPECT_TRUE(TempTree::Exists(tree.Path(L"copy\\dir\\c.txt")));

    EXPECT_FALSE(b->MoveTo(tree.Path(L"taken.txt").c_str(), false, false));
    EXPECT_TRUE(b->MoveTo(tree.Path(L"taken.txt").c_str(), true, false));
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"b.txt")));
}

TEST(PathWinOps, AFolderIsNeverCopiedIntoItself)
{
    // Copied into itself, a folder would meet its own copy among its entries and copy
    // it again, deeper and deeper.
    TempTree tree;
    tree.Folder(L"src");
    tree.File(L"src\\f.txt", 1);
    Held folder(tree.Path(L"src"));
    EXPECT_FALSE(folder->CopyTo(tree.Path(L"src\\inner").c_str(), false));
    EXPECT_FALSE(folder->CopyTo(tree.Path(L"SRC").c_str(), true));
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"src\\inner")));
    // A sibling whose name merely begins with the folder's name is fine.
    EXPECT_TRUE(folder->CopyTo(tree.Path(L"src2").c_str(), false));
    EXPECT_TRUE(TempTree::Exists(tree.Path(L"src2\\f.txt")));
}

TEST(PathWinOps, RenameRandomlyKeepsDotsAndRestoresAttributes)
{
    TempTree tree;
    tree.File(L"secret.name.txt", 2, FILE_ATTRIBUTE_READONLY);
    Held p(tree.Path(L"secret.name.txt"));
    StrBuffer* name = StrBuffer::Acquire();
    EXPECT_TRUE(p->RenameRandomly(2, name, true));
    EXPECT_FALSE(TempTree::Exists(tree.Path(L"secret.name.txt")));
    EXPECT_TRUE(TempTree::Exists(name->CStr()));
    Held renamed(name->CStr());
    EXPECT_EQ(std::wstring(L"secret.name.txt").size(), wcslen(renamed->GetName()));
    EXPECT_EQ(L'.', renamed->GetName()[6]);
    EXPECT_NE(0u, GetFileAttributesW(name->CStr()) & FILE_ATTRIBUTE_READONLY);
    name->Release();
}

TEST(PathWinOps, ShortcutsAndFolderShortcuts)
{
    TempTree tree;
    tree.Folder(L"target");
    tree.File(L"target\\doc.txt", 1);
    Held doc(tree.Path(L"target\\doc.txt"));
    if (!doc->CreateShortcut(tree.Path(L"links\\doc").c_str(), false))
        GTEST_SKIP() << "the shell's link object is not available here";
    Held link(tree.Path(L"links\\doc.lnk"));
    EXPECT_TRUE(link->Exists());
    EXPECT_TRUE(link->IsShortcut());
    Held resolved(link->ResolveShortcut());
    ASSERT_NE(nullptr, resolved.p);
    EXPECT_TRUE(resolved->EqualsIgnoreCase(doc.p));
    // An existing shortcut is replaced only when asked.
    EXPECT_FALSE(doc->CreateShortcut(tree.Path(L"links\\doc.lnk").c_str(), false));
    EXPECT_TRUE(doc->CreateShortcut(tree.Path(L"links\\doc.lnk").c_str(), true));

    Held target(tree.Path(L"target"));
    Held holder(tree.Folder(L"holder"));
    EXPECT_FALSE(holder->IsFolderShortcut());
    ASSERT_TRUE(target->CreateShortcut(tree.Path(L"holder\\target.lnk").c_str(), false));
    EXPECT_TRUE(holder->IsFolderShortcut());
    EXPECT_STREQ(target->GetFullPath(), holder->GetFolderShortcutTarget());
    EXPECT_FALSE(target->IsFolderShortcut());
}

TEST(PathWinOps, UrlFilesTypeNamesAndSizeTexts)
{
    TempTree tree;
    const std::wstring url = tree.Path(L"site.url");
    {
        HANDLE h = CreateFileW(url.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "[InternetShortcut]\r\nURL=https://example.org/kairon\r\n";
        DWORD n = 0;
        WriteFile(h, text, DWORD(sizeof text - 1), &n, nullptr);
        CloseHandle(h);
    }
    Held u(url);
    EXPECT_TRUE(u->IsUrlFile());
    EXPECT_STREQ(L"https://example.org/kairon", u->GetUrl());
    Held notUrl(tree.File(L"plain.txt", 2048));
    EXPECT_STREQ(L"", notUrl->GetUrl());
    EXPECT_STRNE(L"", notUrl->GetTypeName());
    EXPECT_STRNE(L"", notUrl->GetSizeText());
    EXPECT_NE(nullptr, wcsstr(notUrl->GetSizeText(), L"2"));
    Held folder(tree.Root());
    EXPECT_STREQ(L"", folder->GetSizeText());
}

TEST(PathWinOps, NeighboursFollowTheFolderOrder)
{
    TempTree tree;
    for (const wchar_t* n : {L"a.jpg", L"b.txt", L"c.JPG", L"d.jpg"})
        tree.File(n);
    tree.File(L"e.jpg", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);  // Explorer hides it
    StrArray* jpg = StrArray::Acquire();
    jpg->Add(L".jpg");
    Held c(tree.Path(L"c.JPG"));
    Held next(c->GetNeighbour(true, jpg, true, false));
    ASSERT_NE(nullptr, next.p);
    EXPECT_EQ(tree.Path(L"d.jpg"), next->GetFullPath());
    Held d(tree.Path(L"d.jpg"));
    EXPECT_EQ(nullptr, d->GetNeighbour(true, jpg, true, false));
    Held wrapped(d->GetNeighbour(true, jpg, true, true));
    ASSERT_NE(nullptr, wrapped.p);
    EXPECT_EQ(tree.Path(L"a.jpg"), wrapped->GetFullPath());
    Held previous(c->GetNeighbour(false, nullptr, true, false));
    ASSERT_NE(nullptr, previous.p);
    EXPECT_EQ(tree.Path(L"b.txt"), previous->GetFullPath());
    jpg->Release();
}

TEST(PathArrayTest, SortsGroupsJoinsAndFinds)
{
    PathArray* list = PathArray::Acquire();
    for (const wchar_t* t : {L"C:\\b.TXT", L"C:\\a.jpg", L"C:\\c.txt", L"C:\\A.doc", L"C:\\d"})
        list->Append(t);
    EXPECT_EQ(5u, list->Count());
    EXPECT_EQ(1, list->IndexOfText(L"C:\\a.jpg", false));
    EXPECT_EQ(-1, list->IndexOfText(L"c:\\A.JPG", false));
    EXPECT_EQ(1, list->IndexOfText(L"c:\\A.JPG", true));

    list->SetFlag(0, 7);
    list->Insert(0, L"C:\\first");
    EXPECT_EQ(7u, list->GetFlag(1));
    EXPECT_EQ(0u, list->GetFlag(0));
    PathWin* first = list->TakeAt(0);
    EXPECT_STREQ(L"C:\\first", first->GetFullPath());
    first->Release();

    list->SortByFullPath();
    std::vector<std::wstring> sorted;
    for (uint32_t i = 0; i < list->Count(); ++i)
        sorted.push_back(list->Get(i)->GetFullPath());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\A.doc", L"C:\\a.jpg", L"C:\\b.TXT", L"C:\\c.txt", L"C:\\d"}),
              sorted);

    uint32_t length = 0;
    const wchar_t* joined = list->Join(&length);
    EXPECT_EQ(std::wstring(L"C:\\A.doc\0C:\\a.jpg\0C:\\b.TXT\0C:\\c.txt\0C:\\d\0", 41),
              std::wstring(joined, length));
    EXPECT_EQ(0, joined[length]);

    ArrayP* groups = list->GroupByExtension();
    ASSERT_EQ(4u, groups->Count());
    std::vector<std::wstring> texts;
    for (uint32_t i = 0; i < groups->Count(); ++i)
        texts.push_back(static_cast<Extension*>(groups->Get(i))->GetText());
    EXPECT_EQ((std::vector<std::wstring>{L"", L".doc", L".jpg", L".TXT"}), texts);
    Extension* txt = static_cast<Extension*>(groups->Get(3));
    ASSERT_EQ(2u, txt->Count());
    EXPECT_STREQ(L"C:\\b.TXT", txt->Get(0)->GetFullPath());  // stable: input order kept
    EXPECT_STREQ(L"C:\\c.txt", txt->Get(1)->GetFullPath());
    groups->Release();
    EXPECT_EQ(5u, list->Count());  // the paths stay with the list
    list->RemoveAt(0);
    EXPECT_EQ(4u, list->Count());
    list->Release();
}
