// Attributes, times, the time writer, sizes and the walkers, in a temporary tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TempTree.h"
#include "WriterCalls.h"
#include "s/col/_array/ArrayP.h"
#include "s/file/win/ExplorerSettings.h"
#include "s/file/win/PathArray.h"
#include "s/file/win/PathWin.h"
#include "s/file/win/StreamRecords.h"
#include "s/file/win/WalkFilter.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::col::_array::ArrayP;
using s::file::win::ExplorerSettings;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::file::win::test::TempTree;
using s::file::win::test::Held;
using s::file::win::test::WriterCalls;
using s::str::strarray::StrArray;

namespace {

// Wine answers CreateSymbolicLinkW with success but makes nothing: a link counts only
// when it is there and reads as a reparse point.
bool IsLink(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Times of the tests: a summer and a winter date (UTC), both with a whole second.
constexpr long long kSummer = 1373891696;  // 2013-07-15 12:34:56 UTC
constexpr long long kWinter = 1358253296;  // 2013-01-15 12:34:56 UTC

std::vector<std::wstring> Names(ArrayP* list)
{
    std::vector<std::wstring> names;
    for (uint32_t i = 0; i < list->Count(); ++i)
        names.push_back(static_cast<PathWin*>(list->Get(i))->GetName());
    return names;
}

// Records what the time writer hands to the system.
struct WriteLog
{
    static inline std::vector<std::wstring> paths;
    static inline std::vector<long long> creation;  // -1 = no pointer
    static inline std::vector<long long> accessed;
    static inline std::vector<long long> modified;
    static long long Seconds(const FILETIME* t)
    {
        if (!t)
            return -1;
        return (long long)((TempTree::Ticks(*t) - 116444736000000000ULL) / 10000000ULL);
    }
    static void Observe(const wchar_t* path, const FILETIME* c, const FILETIME* a, const FILETIME* m)
    {
        paths.push_back(path);
        creation.push_back(Seconds(c));
        accessed.push_back(Seconds(a));
        modified.push_back(Seconds(m));
    }
    WriteLog()
    {
        paths.clear();
        creation.clear();
        accessed.clear();
        modified.clear();
        PathWin::SetTimeWriteObserver(&Observe);
    }
    ~WriteLog() { PathWin::SetTimeWriteObserver(nullptr); }
};

bool Has(const std::vector<std::wstring>& v, const std::wstring& x)
{
    for (const auto& e : v)
        if (e == x)
            return true;
    return false;
}

} // namespace

TEST(PathWinFs, ExistenceAndAttributes)
{
    TempTree tree;
    const std::wstring file = tree.File(L"a.txt", 10);
    const std::wstring folder = tree.Folder(L"sub");
    Held f(file);
    Held d(folder);
    Held missing(tree.Path(L"none.txt"));
    EXPECT_TRUE(f->Exists());
    EXPECT_TRUE(f->IsFile());
    EXPECT_FALSE(f->IsDirectory());
    EXPECT_TRUE(f->IsReadable());
    EXPECT_TRUE(f->IsWritable());
    EXPECT_TRUE(d->Exists());
    EXPECT_TRUE(d->IsDirectory());
    EXPECT_TRUE(d->IsEmptyDirectory());
    EXPECT_FALSE(missing->Exists());
    EXPECT_FALSE(missing->IsReadable());
    EXPECT_FALSE(missing->IsEmptyDirectory());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, missing->GetAttributes());

    EXPECT_TRUE(f->AddAttributes(FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    Held again(file);
    EXPECT_FALSE(again->IsWritable());
    EXPECT_TRUE(again->IsReadable());
    EXPECT_TRUE(again->MakeWritable());
    EXPECT_EQ(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(again->SetWritable(false));
    EXPECT_NE(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(again->SetAttributes(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    // A read-only folder is still writable in the sense of the access check.
    EXPECT_TRUE(d->IsWritable());
}

TEST(PathWinFs, TimesAreTheItemsOwnFileTimes)
{
    TempTree tree;
    const std::wstring file = tree.File(L"t.txt", 3);
    const FILETIME m = TempTree::FromSeconds(kSummer);
    const FILETIME a = TempTree::FromSeconds(kWinter);
    ASSERT_TRUE(TempTree::SetTimes(file, nullptr, &a, &m));
    Held p(file);
    EXPECT_EQ(kSummer, p->GetModifiedTime());
    EXPECT_EQ(kWinter, p->GetAccessTime());
    EXPECT_EQ(3, p->GetSize());

    // Cached until asked to refresh.
    const FILETIME m2 = TempTree::FromSeconds(kWinter + 7);
    ASSERT_TRUE(TempTree::SetTimes(file, nullptr, nullptr, &m2));
    EXPECT_EQ(kSummer, p->GetModifiedTime());
    EXPECT_EQ(kWinter + 7, p->GetModifiedTime(true));

    // Sub-second parts are cut, not rounded.
    const FILETIME half = TempTree::FileTime(TempTree::Ticks(TempTree::FromSeconds(kSummer)) + 9999999);
    ASSERT_TRUE(TempTree::SetTimes(file, nullptr, nullptr, &half));
    EXPECT_EQ(kSummer, p->GetModifiedTime(true));

    Held folder(tree.Folder(L"f"));
    const FILETIME fm = TempTree::FromSeconds(kWinter);
    ASSERT_TRUE(TempTree::SetTimes(folder->GetFullPath(), nullptr, &fm, &fm));
    EXPECT_EQ(kWinter, folder->GetModifiedTime());
    EXPECT_EQ(0, folder->GetSize());

    EXPECT_TRUE(p->HasTimes());
    Held missing(tree.Path(L"none"));
    EXPECT_EQ(0, missing->GetModifiedTime());
    EXPECT_FALSE(missing->HasTimes()); // the 0 above is no time
    EXPECT_EQ(0, missing->GetSize());
    uint32_t error = 0;
    EXPECT_FALSE(missing->Query(&error));
    EXPECT_EQ(uint32_t(ERROR_FILE_NOT_FOUND), error);
    Held stream(file + L":notes");
    EXPECT_EQ(0, stream->GetCreationTime());
    EXPECT_FALSE(stream->HasTimes());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, stream->GetAttributes());
}

TEST(PathWinFs, PathsOver260CharactersAreNotSkipped)
{
    TempTree tree;
    std::wstring folder = tree.Root();
    std::wstring relative;
    while (folder.size() < 300) {
        relative += (relative.empty() ? L"" : L"\\") + std::wstring(60, L'd');
        folder = tree.Folder(relative);
    }
    const std::wstring file = tree.File(relative + L"\\long.txt", 5);
    ASSERT_GT(file.size(), 260u);
    ASSERT_TRUE(TempTree::Exists(file));

    Held p(file);
    EXPECT_TRUE(p->Exists());
    EXPECT_TRUE(p->IsFile());
    EXPECT_TRUE(p->IsWritable());
    EXPECT_EQ(5, p->GetSize());
    EXPECT_TRUE(p->SetTimes(-1, kSummer, kWinter, true, true, true, true, false));
    EXPECT_EQ(kSummer, p->GetModifiedTime(true));
    EXPECT_EQ(kWinter, p->GetAccessTime(true));

    Held parent(folder);
    ArrayP* files = parent->ListFiles(true);
    EXPECT_EQ(std::vector<std::wstring>{L"long.txt"}, Names(files));
    EXPECT_EQ(kSummer, static_cast<PathWin*>(files->Get(0))->GetModifiedTime());
    files->Release();
}

TEST(PathWinFs, SetTimesWritesWhatIsGivenAndLeavesNegativeTimes)
{
    TempTree tree;
    const std::wstring file = tree.File(L"w.txt", 1);
    const FILETIME before = TempTree::FromSeconds(kWinter);
    ASSERT_TRUE(TempTree::SetTimes(file, nullptr, &before, &before));
    Held p(file);
    WriteLog log;
    EXPECT_TRUE(p->SetTimes(kSummer, kSummer + 1, -1, true, false, false, false, false));
    FILETIME a, m;
    ASSERT_TRUE(TempTree::Times(file, nullptr, &a, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer + 1)), TempTree::Ticks(m));
    EXPECT_EQ(TempTree::Ticks(before), TempTree::Ticks(a));
    // Wine keeps no creation time on Linux file systems: what is checked is the value
    // handed to the system's write, not what the disk reports.
    ASSERT_EQ(1u, log.creation.size());
    EXPECT_EQ(kSummer, log.creation[0]);
    EXPECT_EQ(-1, log.accessed[0]);
    EXPECT_EQ(kSummer + 1, log.modified[0]);

    // All three negative: still opened and written with no time; nothing changes.
    EXPECT_TRUE(p->SetTimes(-1, -1, -1, true, false, false, false, false));
    ASSERT_EQ(2u, log.creation.size());
    EXPECT_EQ(-1, log.creation[1]);
    EXPECT_EQ(-1, log.modified[1]);
    ASSERT_TRUE(TempTree::Times(file, nullptr, &a, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer + 1)), TempTree::Ticks(m));

    // Missing items and refused kinds are left alone.
    Held missing(tree.Path(L"none.txt"));
    EXPECT_FALSE(missing->SetTimes(kSummer, kSummer, kSummer, true, true, true, true, false));
    EXPECT_FALSE(p->SetTimes(kWinter, kWinter, kWinter, false, true, true, true, false));
    EXPECT_EQ(2u, log.creation.size());
}

// The writer asks only for the right to change attributes: read-only, hidden and system
// items open as they are (no attribute is touched) and so does a file another handle holds
// open without any sharing.
TEST(PathWinFs, TheTimeWriterNeedsNoAttributeChangeAndNoSharing)
{
    TempTree tree;
    const DWORD bits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_ARCHIVE;
    const std::wstring rhs = tree.File(L"rhs.txt", 1, bits);
    const std::wstring held = tree.File(L"held.txt", 1);
    WriterCalls calls;
    EXPECT_TRUE(PathWin::WriteTimes(TempTree::Long(rhs).c_str(), -1, kSummer, -1));
    HANDLE h = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_TRUE(PathWin::WriteTimes(TempTree::Long(held).c_str(), -1, kSummer, -1));
    CloseHandle(h);
    EXPECT_TRUE(calls.Changes().empty());
    EXPECT_EQ(0, calls.FullOpens());
    EXPECT_EQ(2, calls.MinimalOpens());
    for (const std::wstring& p : {rhs, held}) {
        FILETIME m = {};
        ASSERT_TRUE(TempTree::Times(p, nullptr, nullptr, &m));
        EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer)), TempTree::Ticks(m));
    }
    EXPECT_EQ(bits, GetFileAttributesW(rhs.c_str()) & 0x27u);
}

// Where the minimal open is refused, the older way still works: the attributes are cleared
// for an open for writing and put back exactly, whether or not the write worked.
TEST(PathWinFs, TheTimeWriterFallsBackWhenTheMinimalOpenIsRefused)
{
    TempTree tree;
    const DWORD bits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    const std::wstring ro = tree.File(L"ro.txt", 1, bits);
    const std::wstring plain = tree.File(L"plain.txt", 1);
    WriterCalls calls;
    calls.refuseMinimal = L".txt";
    EXPECT_TRUE(PathWin::WriteTimes(TempTree::Long(ro).c_str(), -1, kSummer, -1));
    auto changes = calls.ChangesOf(L"ro.txt");
    ASSERT_EQ(2u, changes.size());
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_NORMAL), changes[0].word);
    EXPECT_EQ(GetFileAttributesW(ro.c_str()), changes[1].word);
    EXPECT_EQ(bits, GetFileAttributesW(ro.c_str()) & 0x27u);
    EXPECT_EQ(1, calls.FullOpens());
    FILETIME m = {};
    ASSERT_TRUE(TempTree::Times(ro, nullptr, nullptr, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer)), TempTree::Ticks(m));
    // A normal item needs no attribute change on that way either.
    SetFileAttributesW(plain.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (GetFileAttributesW(plain.c_str()) == FILE_ATTRIBUTE_NORMAL) {
        EXPECT_TRUE(PathWin::WriteTimes(TempTree::Long(plain).c_str(), -1, kSummer, -1));
        EXPECT_TRUE(calls.ChangesOf(L"plain.txt").empty());
    }
    // Both opens refused: nothing written, the attributes are back all the same.
    calls.refuseAll = L"ro.txt";
    uint32_t error = 0;
    const s::time::Ticks winter = TempTree::Ticks(TempTree::FromSeconds(kWinter));
    EXPECT_FALSE(PathWin::WriteTimeTicks(TempTree::Long(ro).c_str(), nullptr, nullptr, &winter, &error));
    EXPECT_EQ(uint32_t(ERROR_ACCESS_DENIED), error);
    EXPECT_EQ(4u, calls.ChangesOf(L"ro.txt").size());
    EXPECT_EQ(bits, GetFileAttributesW(ro.c_str()) & 0x27u);
    ASSERT_TRUE(TempTree::Times(ro, nullptr, nullptr, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer)), TempTree::Ticks(m));
}

TEST(PathWinFs, SetTimesChoosesHiddenBeforeReadOnlyAndRestoresBoth)
{
    TempTree tree;
    const DWORD bits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    const std::wstring file = tree.File(L"hr.txt", 1, bits);
    ASSERT_EQ(bits, GetFileAttributesW(file.c_str()) & bits) << "this file system keeps no hidden bit";
    Held p(file);
    WriteLog log;
    // Read-only allowed, hidden not: the hidden bit decides, nothing is written.
    EXPECT_FALSE(p->SetTimes(kSummer, kSummer, kSummer, true, true, false, false, false));
    EXPECT_TRUE(log.modified.empty());
    // Hidden allowed, read-only not: written.
    EXPECT_TRUE(p->SetTimes(kSummer, kSummer, kSummer, true, false, true, false, false));
    EXPECT_EQ(1u, log.modified.size());
    FILETIME m;
    ASSERT_TRUE(TempTree::Times(file, nullptr, nullptr, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer)), TempTree::Ticks(m));
    EXPECT_EQ(bits, GetFileAttributesW(file.c_str()) & bits);
}

TEST(PathWinFs, AFailedAttributeQueryIsNeverWrittenBack)
{
    // The word 0xFFFFFFFF of a failed query would, written back, set read-only, hidden,
    // system and every other settable bit.
    TempTree tree;
    const std::wstring name = tree.Path(L"late.txt");
    Held p(name);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, p->GetAttributes());
    EXPECT_FALSE(p->SetAttributes(INVALID_FILE_ATTRIBUTES));
    EXPECT_FALSE(p->AddAttributes(FILE_ATTRIBUTE_HIDDEN));
    // The item appears after the failed query: its real word is read and restored.
    tree.File(L"late.txt", 1);
    const DWORD before = GetFileAttributesW(name.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, before);
    WriteLog log;
    EXPECT_TRUE(p->SetTimes(-1, kSummer, -1, true, false, false, false, false));
    EXPECT_EQ(1u, log.modified.size());
    EXPECT_EQ(before, GetFileAttributesW(name.c_str()));
    EXPECT_EQ(before, p->GetAttributes());
    EXPECT_FALSE(p->SetAttributes(INVALID_FILE_ATTRIBUTES));
    EXPECT_EQ(before, GetFileAttributesW(name.c_str()));
}

TEST(PathWinFs, ReadOnlyChangedBehindTheCacheIsStillRestored)
{
    TempTree tree;
    const std::wstring file = tree.File(L"ro.txt", 1, FILE_ATTRIBUTE_READONLY);
    Held p(file);
    const uint32_t word = p->GetAttributes();
    ASSERT_NE(0u, word & FILE_ATTRIBUTE_READONLY);
    // MakeWritable changes the item behind the cached word; putting the old word back
    // must really reach the file, not be taken for "nothing to do".
    ASSERT_TRUE(p->MakeWritable());
    EXPECT_EQ(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(p->SetAttributes(word));
    EXPECT_NE(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(p->SetWritable(true));
}

TEST(PathWinFs, ADriveIsWrittenAtItsRoot)
{
    // "C:" names the drive's current folder; the times of a dropped drive belong to
    // "C:\". All three times negative: the root is opened but nothing changes.
    Held drive(std::wstring(L"C:"));
    ASSERT_TRUE(drive->Exists());
    const DWORD before = GetFileAttributesW(L"C:\\");
    WriteLog log;
    drive->SetTimes(-1, -1, -1, true, true, true, true, false);
    ASSERT_EQ(1u, log.paths.size());
    EXPECT_EQ(std::wstring(L"C:\\"), log.paths[0]);
    EXPECT_EQ(-1, log.modified[0]);
    EXPECT_EQ(before, GetFileAttributesW(L"C:\\"));
}

TEST(PathWinFs, ATimeBeyondTheFileTimeRangeIsRefusedNotWrapped)
{
    TempTree tree;
    const std::wstring file = tree.File(L"far.txt", 1);
    const FILETIME old = TempTree::FromSeconds(kWinter);
    ASSERT_TRUE(TempTree::SetTimes(file, nullptr, &old, &old));
    // The last second of 30827 is still a file time; one more year of seconds wraps.
    const long long last = 910692730085LL;
    const long long beyond = last + 366LL * 86400LL * 100000LL;
    WriteLog log;
    EXPECT_FALSE(PathWin::WriteTimes(file.c_str(), -1, beyond, -1));
    Held p(file);
    EXPECT_FALSE(p->SetTimes(-1, -1, beyond, true, true, true, true, false));
    EXPECT_TRUE(log.paths.empty());
    FILETIME a = {}, m = {};
    ASSERT_TRUE(TempTree::Times(file, nullptr, &a, &m));
    EXPECT_EQ(TempTree::Ticks(old), TempTree::Ticks(m));
    EXPECT_EQ(TempTree::Ticks(old), TempTree::Ticks(a));
    EXPECT_TRUE(PathWin::WriteTimes(file.c_str(), -1, kSummer, -1));
}

TEST(PathWinFs, RecursiveSetTimesSkipsAFilteredChildWithItsContents)
{
    TempTree tree;
    const std::wstring top = tree.Folder(L"top");
    const std::wstring hidden = tree.File(L"top\\hidden.txt", 1, FILE_ATTRIBUTE_HIDDEN);
    const std::wstring plain = tree.File(L"top\\plain.txt", 1);
    tree.Folder(L"top\\locked");
    const std::wstring inner = tree.File(L"top\\locked\\inner.txt", 1);
    SetFileAttributesW(tree.Path(L"top\\locked").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_NE(0u, GetFileAttributesW(tree.Path(L"top\\locked").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    const FILETIME old = TempTree::FromSeconds(kWinter);
    for (const auto& p : {top, hidden, plain, tree.Path(L"top\\locked"), inner})
        ASSERT_TRUE(TempTree::SetTimes(p, nullptr, &old, &old));

    WriteLog log;
    Held folder(top);
    // Hidden entries are written; the system folder is refused with all inside it.
    EXPECT_TRUE(folder->SetTimes(-1, kSummer, -1, true, false, true, false, true));
    auto modified = [](const std::wstring& p) {
        FILETIME m = {};
        TempTree::Times(p, nullptr, nullptr, &m);
        return TempTree::Ticks(m);
    };
    const auto summer = TempTree::Ticks(TempTree::FromSeconds(kSummer));
    EXPECT_EQ(summer, modified(hidden));
    EXPECT_EQ(summer, modified(plain));
    EXPECT_EQ(summer, modified(top));
    EXPECT_EQ(TempTree::Ticks(old), modified(tree.Path(L"top\\locked")));
    EXPECT_EQ(TempTree::Ticks(old), modified(inner));
    // The folder's own times come after its contents.
    ASSERT_EQ(3u, log.paths.size());
    // The write reaches the item through its long form.
    EXPECT_EQ(L"\\\\?\\" + top, log.paths.back());
}

TEST(PathWinFs, RecursiveSetTimesReportsAnEntryThatCouldNotBeWritten)
{
    TempTree tree;
    const std::wstring top = tree.Folder(L"top");
    const std::wstring busy = tree.File(L"top\\busy.txt", 1);
    tree.File(L"top\\free.txt", 1);
    Held folder(top);
    {
        // An item the time writer cannot open (refused at its seam).
        WriterCalls calls;
        calls.refuseAll = L"busy.txt";
        EXPECT_FALSE(folder->SetTimes(-1, kSummer, -1, true, false, false, false, true));
    }
    FILETIME m = {};
    ASSERT_TRUE(TempTree::Times(top, nullptr, nullptr, &m));
    EXPECT_EQ(TempTree::Ticks(TempTree::FromSeconds(kSummer)), TempTree::Ticks(m));
    // Once free, everything is written; a refused entry is no failure.
    tree.File(L"top\\hidden.txt", 1, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(folder->SetTimes(-1, kWinter, -1, true, false, false, false, true));
}

TEST(PathWinFs, ListEntriesIsDepthFirstAndNeverFollowsLinks)
{
    TempTree tree;
    tree.Folder(L"a");
    tree.File(L"a\\a1.txt");
    tree.Folder(L"a\\deep");
    tree.File(L"a\\deep\\d1.txt");
    tree.File(L"b.txt");
    Held root(tree.Root());

    ArrayP* all = root->ListEntries(true, true);
    std::vector<std::wstring> names = Names(all);
    ASSERT_EQ(5u, names.size());
    // Every sub-folder's entries follow it before the parent's next entry.
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == L"a") {
            ASSERT_LE(i + 4, names.size());
            std::set<std::wstring> following(names.begin() + i + 1, names.begin() + i + 4);
            EXPECT_EQ((std::set<std::wstring>{L"a1.txt", L"deep", L"d1.txt"}), following);
        }
        if (names[i] == L"deep") {
            EXPECT_EQ(L"d1.txt", names[i + 1]);
        }
    }
    all->Release();

    ArrayP* files = root->ListFiles(true, true);
    std::vector<std::wstring> fileNames = Names(files);
    EXPECT_EQ((std::set<std::wstring>{L"a1.txt", L"d1.txt", L"b.txt"}),
              std::set<std::wstring>(fileNames.begin(), fileNames.end()));
    EXPECT_EQ(3u, fileNames.size());
    for (uint32_t i = 0; i < files->Count(); ++i)
        EXPECT_TRUE(static_cast<PathWin*>(files->Get(i))->IsFile());
    files->Release();

    ArrayP* folders = root->ListFolders(true, true);
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"deep"}), Names(folders));
    folders->Release();

    ArrayP* flat = root->ListEntries(true, false);
    EXPECT_EQ(2u, flat->Count());
    flat->Release();

    PathArray* into = root->ListFilesInto(true, true);
    EXPECT_EQ(3u, into->Count());
    into->Release();

    // A link to a folder (a symbolic link where this system can make one).
    const std::wstring link = tree.Path(L"link");
    const bool made =
        (CreateSymbolicLinkW(link.c_str(), tree.Path(L"a").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
         IsLink(link)) ||
        (TempTree::Junction(link, tree.Path(L"a")) && IsLink(link));
    if (!made) {
        GTEST_SKIP() << "neither a symbolic link nor a junction can be made here";
    }
    ArrayP* withLink = root->ListEntries(true, true);
    EXPECT_EQ(5u, withLink->Count());
    EXPECT_FALSE(Has(Names(withLink), L"link"));
    withLink->Release();
}

TEST(PathWinFs, ALinkIsWrittenItselfNeverItsTarget)
{
    TempTree tree;
    const std::wstring target = tree.File(L"target.txt", 1);
    const std::wstring folder = tree.Folder(L"folder");
    const FILETIME old = TempTree::FromSeconds(kWinter);
    ASSERT_TRUE(TempTree::SetTimes(target, nullptr, &old, &old));
    ASSERT_TRUE(TempTree::SetTimes(folder, nullptr, &old, &old));
    const std::wstring fileLink = tree.Path(L"file.lnk2");
    const std::wstring folderLink = tree.Path(L"folder.lnk2");
    std::vector<std::wstring> links;
    if (CreateSymbolicLinkW(fileLink.c_str(), target.c_str(), 0) && IsLink(fileLink))
        links.push_back(fileLink);
    if ((CreateSymbolicLinkW(folderLink.c_str(), folder.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
         IsLink(folderLink)) ||
        (TempTree::Junction(folderLink, folder) && IsLink(folderLink)))
        links.push_back(folderLink);
    if (links.empty())
        GTEST_SKIP() << "neither a symbolic link nor a junction can be made here";
    // Whether or not this system can stamp a link itself, the target keeps its times.
    for (const std::wstring& link : links) {
        Held p(link);
        p->SetTimes(kSummer, kSummer, kSummer, true, true, true, true, true);
    }
    FILETIME a = {}, m = {};
    ASSERT_TRUE(TempTree::Times(target, nullptr, &a, &m));
    EXPECT_EQ(TempTree::Ticks(old), TempTree::Ticks(m));
    EXPECT_EQ(TempTree::Ticks(old), TempTree::Ticks(a));
    ASSERT_TRUE(TempTree::Times(folder, nullptr, &a, &m));
    EXPECT_EQ(TempTree::Ticks(old), TempTree::Ticks(m));
}

TEST(PathWinFs, EntryFilterNeverPassesAReparsePoint)
{
    // The walkers' rule on search records, so that links are covered even where no
    // link can be made (Wine makes neither symbolic links nor junctions).
    using s::file::win::PassesWalkFilter;
    using s::file::win::WalkFilter;
    const DWORD link = FILE_ATTRIBUTE_REPARSE_POINT;
    WalkFilter all;
    WalkFilter explorer;
    explorer.includeAll = false;
    explorer.showHidden = false;
    explorer.showSystem = false;
    explorer.hideBootFiles = true;
    WalkFilter explorerOtherVolume = explorer;
    explorerOtherVolume.hideBootFiles = false;
    const struct
    {
        const wchar_t* name;
        DWORD attributes;
        const WalkFilter& filter;
        bool passes;
    } cases[] = {
        {L".", FILE_ATTRIBUTE_DIRECTORY, all, false},
        {L"..", FILE_ATTRIBUTE_DIRECTORY, all, false},
        {L"...", FILE_ATTRIBUTE_DIRECTORY, all, true},
        {L".x", 0, all, true},
        {L"junction", FILE_ATTRIBUTE_DIRECTORY | link, all, false},
        {L"symlink.txt", FILE_ATTRIBUTE_ARCHIVE | link, all, false},
        {L"junction", FILE_ATTRIBUTE_DIRECTORY | link, explorer, false},
        {L"plain.txt", FILE_ATTRIBUTE_ARCHIVE, explorer, true},
        {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN, explorer, false},
        {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN, all, true},
        {L"system.txt", FILE_ATTRIBUTE_SYSTEM, explorer, false},
        {L"autoexec.bat", 0, explorer, false},
        {L"CONFIG.SYS", FILE_ATTRIBUTE_DIRECTORY, explorer, false},
        {L"autoexec.bat", 0, explorerOtherVolume, true},
        {L"autoexec.bat", 0, all, true},
    };
    for (const auto& c : cases) {
        WIN32_FIND_DATAW d = {};
        d.dwFileAttributes = c.attributes;
        wcscpy_s(d.cFileName, c.name);
        EXPECT_EQ(c.passes, PassesWalkFilter(d, c.filter)) << std::wstring(c.name).size() << " "
                                                            << c.attributes;
    }
}

TEST(PathWinFs, WalkOnMissingFolderIsEmpty)
{
    TempTree tree;
    Held missing(tree.Path(L"none"));
    ArrayP* list = missing->ListEntries(false, true);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0u, list->Count());
    list->Release();
    EXPECT_FALSE(missing->HasEntries(true));
}

// Explorer's settings are read from a key of the test's own.
class ExplorerVisibilityWalk : public testing::Test
{
protected:
    void SetUp() override
    {
        key_ = L"Software\\KaironTests\\file-explorer-" + std::to_wstring(GetCurrentProcessId());
        dir_ = s::reg::win::RegDir::Acquire();
        dir_->open(HKEY_CURRENT_USER, key_.c_str());
        ASSERT_TRUE(dir_->create());
        ExplorerSettings::SetKeyPath(key_.c_str());
    }
    void TearDown() override
    {
        ExplorerSettings::SetKeyPath(nullptr);
        dir_->remove(true);
        dir_->Release();
    }
    std::wstring key_;
    s::reg::win::RegDir* dir_ = nullptr;
};

TEST_F(ExplorerVisibilityWalk, HiddenTwoHidesHiddenAndSystemEntries)
{
    TempTree tree;
    tree.File(L"plain.txt");
    tree.File(L"hidden.txt", 0, FILE_ATTRIBUTE_HIDDEN);
    tree.File(L"system.txt", 0, FILE_ATTRIBUTE_SYSTEM);
    tree.Folder(L"hiddenDir", FILE_ATTRIBUTE_HIDDEN);
    tree.File(L"hiddenDir\\inside.txt");
    // The temporary folder is on the Windows volume: these two hide with the rest.
    ASSERT_STREQ(L"C:\\", ExplorerSettings::SystemRoot());
    tree.File(L"AUTOEXEC.BAT");
    tree.File(L"Config.Sys");
    Held root(tree.Root());

    // Values absent: hidden shown (default 1), system not (default 0), so the two
    // start-up files are hidden too.
    ArrayP* list = root->ListEntries(false, true);
    EXPECT_EQ((std::set<std::wstring>{L"plain.txt", L"hidden.txt", L"hiddenDir", L"inside.txt"}),
              [&] { auto n = Names(list); return std::set<std::wstring>(n.begin(), n.end()); }());
    list->Release();

    ASSERT_TRUE(dir_->setU32(L"Hidden", 2));
    list = root->ListEntries(false, true);
    EXPECT_EQ(std::vector<std::wstring>{L"plain.txt"}, Names(list));
    list->Release();
    // ListFiles does not enter a folder that is filtered away.
    list = root->ListFiles(false, true);
    EXPECT_EQ(std::vector<std::wstring>{L"plain.txt"}, Names(list));
    list->Release();
    StrArray* names = root->ListNames(false, false);
    ASSERT_EQ(1u, names->Count());
    EXPECT_STREQ(L"plain.txt", names->Get(0)->CStr());
    names->Release();

    // Include-all shows everything, read fresh: ShowSuperHidden shows system items.
    list = root->ListEntries(true, false);
    EXPECT_EQ(6u, list->Count());
    list->Release();
    ASSERT_TRUE(dir_->setU32(L"ShowSuperHidden", 1));
    ASSERT_TRUE(dir_->setU32(L"Hidden", 1));
    list = root->ListEntries(false, false);
    EXPECT_EQ(6u, list->Count());
    list->Release();
}

TEST(PathWinFs, FolderSizesAndCounters)
{
    TempTree tree;
    tree.File(L"one.bin", 100);
    tree.Folder(L"sub");
    tree.File(L"sub\\two.bin", 50);
    tree.File(L"sub\\three.bin", 25, FILE_ATTRIBUTE_HIDDEN);
    Held root(tree.Root());
    EXPECT_EQ(0, root->GetSize());
    int32_t files = 0, folders = 0;
    EXPECT_EQ(175, root->GetSize(true, true, &files, &folders));
    EXPECT_EQ(3, files);
    EXPECT_EQ(1, folders);
    EXPECT_EQ(100, root->GetSize(true, false));
    // Without files only this folder's own files are left out: sub-folders count whole.
    EXPECT_EQ(75, root->GetSize(true, true, nullptr, nullptr, false));

    Held one(tree.Path(L"one.bin"));
    const int64_t onDisk = one->GetSizeOnDisk();
    EXPECT_GE(onDisk, 100);
    EXPECT_EQ(0, onDisk % 512);
    Held empty(tree.File(L"empty.bin"));
    EXPECT_EQ(0, empty->GetSizeOnDisk());
}

TEST(PathWinFs, UniqueNamesSkipTakenNumbers)
{
    TempTree tree;
    tree.File(L"f.txt");
    tree.File(L"f (1).txt");
    Held f(tree.Path(L"f.txt"));
    Held unique(f->GetUniqueName());
    EXPECT_EQ(tree.Path(L"f (2).txt"), unique->GetFullPath());
    Held numbered(f->GetUniqueNameNumbered());
    EXPECT_EQ(tree.Path(L"f1.txt"), numbered->GetFullPath());
    Held free(tree.Path(L"g.txt"));
    Held same(free->GetUniqueName());
    EXPECT_EQ(tree.Path(L"g.txt"), same->GetFullPath());
    tree.Folder(L"dir.x");
    Held dir(tree.Path(L"dir.x"));
    Held dirUnique(dir->GetUniqueName());
    EXPECT_EQ(tree.Path(L"dir.x (1)"), dirUnique->GetFullPath());
}

TEST(PathWinFs, StreamsOfAPlainFile)
{
    TempTree tree;
    Held f(tree.File(L"s.txt", 4));
    ArrayP* streams = f->ListStreams();
    ASSERT_NE(nullptr, streams);
    EXPECT_EQ(0u, streams->Count());
    streams->Release();
}

namespace {
void AppendRecord(std::vector<unsigned char>& buffer, const std::wstring& name, int64_t size, bool last)
{
    const size_t start = buffer.size();
    const uint32_t nameBytes = uint32_t(name.size() * 2);
    uint32_t recordBytes = (24 + nameBytes + 7) & ~7u;
    buffer.resize(start + recordBytes, 0);
    const uint32_t next = last ? 0 : recordBytes;
    memcpy(&buffer[start], &next, 4);
    memcpy(&buffer[start + 4], &nameBytes, 4);
    memcpy(&buffer[start + 8], &size, 8);
    memcpy(&buffer[start + 24], name.data(), nameBytes);
}

void Collect(void* context, const wchar_t* name, uint32_t chars, int64_t size)
{
    auto* out = static_cast<std::vector<std::pair<std::wstring, int64_t>>*>(context);
    out->emplace_back(std::wstring(name, chars), size);
}
} // namespace

TEST(PathWinFs, StreamRecordsSkipTheDataStreamAndCutTheType)
{
    std::vector<unsigned char> buffer;
    AppendRecord(buffer, L"::$DATA", 10, false);
    AppendRecord(buffer, L":notes:$DATA", 7, false);
    AppendRecord(buffer, L":a", 1, false);  // 4 bytes: kept
    AppendRecord(buffer, L"::$data", 3, false);
    AppendRecord(buffer, L":x:$DATA", 12, true);
    std::vector<std::pair<std::wstring, int64_t>> found;
    EXPECT_EQ(3u, s::file::win::ReadStreamRecords(buffer.data(), uint32_t(buffer.size()), &Collect, &found));
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(L":notes", found[0].first);
    EXPECT_EQ(7, found[0].second);
    EXPECT_EQ(L":a", found[1].first);
    EXPECT_EQ(L":x", found[2].first);

    // A record reaching beyond the buffer ends the walk with what was read.
    found.clear();
    EXPECT_EQ(2u, s::file::win::ReadStreamRecords(buffer.data(), uint32_t(buffer.size()) - 4, &Collect, &found));
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(L":a", found[1].first);
}

// A query that succeeds with 0 bytes holds no records: what the buffer still holds from an
// earlier answer (or never held) is not read as streams.
TEST(PathWinFs, AZeroByteStreamAnswerReadsNoRecords)
{
    std::vector<unsigned char> buffer;
    AppendRecord(buffer, L":stale:$DATA", 5, false);
    AppendRecord(buffer, L":old:$DATA", 9, true);
    std::vector<std::pair<std::wstring, int64_t>> found;
    EXPECT_EQ(0u, s::file::win::ReadStreamAnswer(buffer.data(), uint32_t(buffer.size()), 0, &Collect, &found));
    EXPECT_TRUE(found.empty());
    // An answer reads only its own bytes, and never beyond the buffer.
    const uint32_t first = uint32_t((24 + 12 * 2 + 7) & ~7u);
    EXPECT_EQ(1u, s::file::win::ReadStreamAnswer(buffer.data(), uint32_t(buffer.size()), first, &Collect, &found));
    EXPECT_EQ(2u, s::file::win::ReadStreamAnswer(buffer.data(), uint32_t(buffer.size()), 1ull << 40, &Collect,
                                                 &found));
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(L":stale", found[0].first);
}

// Names the plain path rules would rewrite (trailing dots and blanks dropped, device names
// taken for devices) are listed, read and written as themselves.
TEST(PathWinFs, NamesThePlainFormWouldRewriteAreReachedThemselves)
{
    TempTree tree;
    const std::vector<std::wstring> names = {L"name.", L"name", L"trail ", L"aux.log",
                                             L"con.txt", L"nul", L"com1.log", L"a.."};
    for (size_t i = 0; i < names.size(); ++i) {
        const std::wstring p = tree.File(names[i], i + 1);
        ASSERT_TRUE(TempTree::Exists(p)) << "cannot make the test file";
        const FILETIME t = TempTree::FromSeconds(kWinter + (long long)i * 86400);
        ASSERT_TRUE(TempTree::SetTimes(p, &t, &t, &t));
    }
    SetFileAttributesW(TempTree::Long(tree.Path(L"name.")).c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    // Walked: every name as it is.
    Held folder(tree.Root());
    ArrayP* entries = folder->ListEntries(true);
    auto listed = Names(entries);
    EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()), std::set<std::wstring>(listed.begin(), listed.end()));
    // Viewed: each entry, and each path made from its text, reads its own size and times.
    for (uint32_t i = 0; i < entries->Count(); ++i) {
        PathWin* entry = static_cast<PathWin*>(entries->Get(i));
        const size_t at = size_t(std::find(names.begin(), names.end(), entry->GetName()) - names.begin());
        Held fresh(entry->GetFullPath());
        SCOPED_TRACE(std::string(names[at].begin(), names[at].end()));
        EXPECT_TRUE(fresh->Exists());
        EXPECT_EQ(int64_t(at + 1), fresh->GetSize());
        EXPECT_EQ(kWinter + (long long)at * 86400, fresh->GetModifiedTime());
        EXPECT_EQ(kWinter + (long long)at * 86400, entry->GetModifiedTime());
    }
    entries->Release();
    // Written: "name." itself; its neighbour "name" keeps its time and attributes.
    Held dotted(tree.Path(L"name."));
    EXPECT_EQ(0x23u, dotted->GetAttributes() & 0x27u);
    EXPECT_TRUE(dotted->SetTimes(-1, kSummer, -1, true, true, true, true, false));
    Held plain(tree.Path(L"name"));
    EXPECT_EQ(kSummer, dotted->GetModifiedTime(true));
    EXPECT_EQ(kWinter + 86400, plain->GetModifiedTime());
    EXPECT_EQ(0x20u, plain->GetAttributes() & 0x27u);
    EXPECT_EQ(0x23u, GetFileAttributesW(TempTree::Long(tree.Path(L"name.")).c_str()) & 0x27u);
    Held device(tree.Path(L"aux.log"));
    EXPECT_TRUE(device->SetTimes(-1, kSummer, -1, true, true, true, true, false));
    EXPECT_EQ(kSummer, device->GetModifiedTime(true));
}

TEST(PathWinFs, FindFilesTakesThePatternIntoEverySubFolder)
{
    TempTree tree;
    tree.File(L"a.txt");
    tree.File(L"b.log");
    tree.Folder(L"one.txt");
    tree.File(L"one.txt\\c.txt");
    tree.Folder(L"two");
    tree.File(L"two\\d.txt");
    tree.File(L"two\\e.bin");
    Held pattern(tree.Path(L"*.txt"));
    ArrayP* files = pattern->FindFiles(true, false);
    EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, Names(files));
    EXPECT_EQ(tree.Path(L"a.txt"), static_cast<PathWin*>(files->Get(0))->GetFullPath());
    files->Release();
    ArrayP* entries = pattern->FindEntries(true, false);
    auto names = Names(entries);
    EXPECT_EQ((std::set<std::wstring>{L"a.txt", L"one.txt"}), std::set<std::wstring>(names.begin(), names.end()));
    entries->Release();
    ArrayP* deep = pattern->FindFiles(true, true);
    names = Names(deep);
    EXPECT_EQ((std::set<std::wstring>{L"a.txt", L"c.txt", L"d.txt"}), std::set<std::wstring>(names.begin(), names.end()));
    EXPECT_EQ(3u, names.size());
    deep->Release();
}

TEST(PathWinFs, DriveRootExistsAsAFolderWithoutTimes)
{
    Held drive(std::wstring(L"C:"));
    EXPECT_TRUE(drive->Exists());
    EXPECT_TRUE(drive->IsDirectory());
    EXPECT_EQ(0, drive->GetModifiedTime());
    EXPECT_TRUE(drive->HasEntries(true));
}

TEST(PathWinFs, NamedStreamsAreListedWithTheirSizes)
{
    TempTree tree;
    const std::wstring file = tree.File(L"ads.txt", 4);
    HANDLE h = CreateFileW((file + L":notes").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "this file system keeps no named streams";
    DWORD n = 0;
    WriteFile(h, "123456", 6, &n, nullptr);
    CloseHandle(h);
    Held p(file);
    if (!p->IsNtfs())
        GTEST_SKIP() << "the volume does not report NTFS";
    // Wine on a Linux file system makes a separate file of that name instead.
    Held folder(tree.Root());
    ArrayP* entries = folder->ListEntries(true);
    const uint32_t count = entries->Count();
    entries->Release();
    if (count != 1)
        GTEST_SKIP() << "the stream became a file of its own: no named streams here";
    ArrayP* streams = p->ListStreams();
    ASSERT_EQ(1u, streams->Count());
    PathWin* s = static_cast<PathWin*>(streams->Get(0));
    EXPECT_EQ(file + L":notes", s->GetFullPath());
    EXPECT_TRUE(s->IsStream());
    EXPECT_EQ(6, s->GetSize());
    streams->Release();
    Held named(file + L":notes");
    EXPECT_EQ(6, named->GetSize());
}

TEST(PathWinFs, ExclusiveAccess)
{
    TempTree tree;
    const std::wstring file = tree.File(L"x.bin", 10, FILE_ATTRIBUTE_READONLY);
    tree.File(L"empty.bin");
    Held p(file);
    EXPECT_TRUE(p->CheckExclusiveAccess(false, true));
    // Restored afterwards.
    EXPECT_NE(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    Held busy(file);
    EXPECT_FALSE(busy->CheckExclusiveAccess(false, true));
    Held root(tree.Root());
    EXPECT_FALSE(root->CheckExclusiveAccess(false, true));
    CloseHandle(h);
    Held again(tree.Root());
    EXPECT_TRUE(again->CheckExclusiveAccess(false, true));
    Held missing(tree.Path(L"none"));
    EXPECT_FALSE(missing->CheckExclusiveAccess(false, true));
    Held drive(std::wstring(L"C:\\"));
    EXPECT_FALSE(drive->CheckExclusiveAccess(false, true));
}

TEST(PathWinFs, UnicodeNamesAreListedReadAndWritten)
{
    TempTree tree;
    const std::wstring folderName = L"\u65e5\u672c\u8a9e";
    const std::wstring fileName = L"\u00fcber \u0411\u0443\u043a\u0432\u044b \U0001F600.txt";
    tree.Folder(folderName);
    const std::wstring file = tree.File(folderName + L"\\" + fileName, 2);
    Held folder(tree.Path(folderName));
    ArrayP* files = folder->ListFiles(false, true);
    ASSERT_EQ(1u, files->Count());
    PathWin* found = static_cast<PathWin*>(files->Get(0));
    EXPECT_EQ(fileName, found->GetName());
    EXPECT_EQ(file, found->GetFullPath());
    EXPECT_TRUE(found->SetTimes(-1, kWinter, kSummer, true, false, false, false, false));
    EXPECT_EQ(kWinter, found->GetModifiedTime(true));
    EXPECT_EQ(kSummer, found->GetAccessTime(true));
    EXPECT_EQ(2, found->GetSize());
    files->Release();
}
