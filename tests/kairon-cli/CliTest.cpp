// kairon-cli.exe run as a child process on temporary trees: usage errors, show, every method
// of set, the dry run, the journal and undo (also after an interrupted run), failures, long
// paths. Times are checked on disk to the tick (Wine keeps no creation time on disk, so the
// created field is checked where the program reports it).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliRun.h"
#include "s/file/win/TempTree.h"

using kairon::cli::test::CliResult;
using kairon::cli::test::RunCli;
using kairon::cli::test::StartCli;
using s::file::win::test::TempTree;

namespace
{

constexpr long long kSummer = 1373891696; // 2013-07-15T12:34:56Z
constexpr long long kWinter = 1358253296; // 2013-01-15T12:34:56Z
constexpr unsigned long long kTicksPerSecond = 10000000ULL;

unsigned long long TicksOf(long long seconds)
{
    return TempTree::Ticks(TempTree::FromSeconds(seconds));
}

struct Times
{
    unsigned long long modified = 0, accessed = 0;
    bool operator==(const Times& o) const { return modified == o.modified && accessed == o.accessed; }
};

Times Read(const std::wstring& path)
{
    FILETIME a = {}, m = {};
    TempTree::Times(path, nullptr, &a, &m);
    return Times{TempTree::Ticks(m), TempTree::Ticks(a)};
}

void Write(const std::wstring& path, unsigned long long modified, unsigned long long accessed)
{
    const FILETIME m = TempTree::FileTime(modified), a = TempTree::FileTime(accessed);
    ASSERT_TRUE(TempTree::SetTimes(path, nullptr, &a, &m));
}

std::string Content(const std::wstring& path)
{
    HANDLE h = CreateFileW(TempTree::Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    std::string bytes;
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    CloseHandle(h);
    return bytes;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

std::string Narrow(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Every test has its own tree and its own journal folder.
class Cli : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        journals_ = tree.Folder(L"journals");
        SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", journals_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", nullptr); }

    std::vector<std::wstring> Journals() const
    {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((journals_ + L"\\*.journal.txt").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE)
            return found;
        do
            found.push_back(journals_ + L"\\" + d.cFileName);
        while (FindNextFileW(h, &d));
        FindClose(h);
        return found;
    }

    // A file with known content and times (with a sub-second part, as other programs leave).
    std::wstring File(const std::wstring& name, long long seconds, unsigned long long fraction = 1234567)
    {
        const std::wstring p = tree.File(name, 5);
        Write(p, TicksOf(seconds) + fraction, TicksOf(seconds) + fraction + 11);
        return p;
    }

    TempTree tree;
    std::wstring journals_;
};

std::wstring Show(const CliResult& r)
{
    return L"exit " + std::to_wstring(r.exitCode) + L"\nout:\n" + r.out + L"\nerr:\n" + r.err;
}
#define SHOWN(r) Narrow(Show(r))

// --- usage errors --------------------------------------------------------------------------

TEST_F(Cli, UsageErrorsExitTwoWithAHintAndChangeNothing)
{
    const std::wstring f = File(L"keep.txt", kSummer);
    const std::wstring missing = tree.Path(L"none.txt");
    const Times before = Read(f);
    const std::vector<std::vector<std::wstring>> cases = {
        {},
        {L"frobnicate"},
        {L"set", L"--bogus", L"--to", L"now", f},
        {L"set", L"--to", L"2023-02-31", f},
        {L"set", L"--to", L"2023-02-29T10:00:00Z", f},
        {L"set", L"--to", L"2023-13-01T00:00", f},
        {L"set", L"--to", L"2023-01-01T24:00", f},
        {L"set", L"--to", L"1969-12-31T23:59:59Z", f},
        {L"set", L"--to", L"yesterday", f},
        {L"set", L"--offset", L"5x", f},
        {L"set", L"--offset", L"99999999d", f},
        {L"set", L"--to", L"now", L"--include", L"secret", f},
        {L"set", L"--to"},
        {L"set", L"--offset", L"-1h", L"--to", L"now", f},
        {L"set", f},
        {L"set", L"--to", L"now"},
        {L"set", L"--sync-to", L"tomorrow", f},
        {L"set", L"--zone-shift", L"Nowhere Standard Time", L"UTC", f},
        {L"set", L"--to", L"now", missing},
        {L"set", L"--to", L"now", f, missing},
        {L"set", L"--reference", missing, f},
        {L"set", L"--to", L"now", L"--from-dst", f},
        {L"show", L"--dry-run", f},
        {L"undo", L"a", L"b"},
    };
    for (const auto& args : cases)
    {
        const CliResult r = RunCli(args);
        std::wstring line;
        for (const auto& a : args)
            line += a + L" ";
        EXPECT_EQ(r.exitCode, 2u) << Narrow(line) << "\n" << SHOWN(r);
        EXPECT_TRUE(Contains(r.err, L"kairon-cli: ")) << Narrow(line);
        EXPECT_TRUE(Contains(r.err, L"kairon-cli --help")) << Narrow(line);
        EXPECT_TRUE(r.out.empty()) << Narrow(line);
    }
    EXPECT_TRUE(Read(f) == before);
    EXPECT_TRUE(Journals().empty());
    // The impossible date is named as such.
    EXPECT_TRUE(Contains(RunCli({L"set", L"--to", L"2023-02-31", f}).err, L"no such day"));
    EXPECT_TRUE(Contains(RunCli({L"set", L"--to", L"now", missing}).err, missing));
}

TEST_F(Cli, HelpAndVersionExitZero)
{
    const CliResult help = RunCli({L"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_TRUE(Contains(help.out, L"--zone-shift"));
    EXPECT_EQ(RunCli({L"--version"}).exitCode, 0u);
    const CliResult zones = RunCli({L"zones"});
    EXPECT_EQ(zones.exitCode, 0u);
    EXPECT_TRUE(Contains(zones.out, L"\nTokyo Standard Time\t(UTC+09:00)")) << SHOWN(zones);
}

// --- show ------------------------------------------------------------------------------------

TEST_F(Cli, ShowPrintsUnicodeNamesAndExactTimesAsTextAndJson)
{
    const std::wstring name = L"Z\u00fcrich-\u65e5\u672c-\u2713.txt";
    const std::wstring f = File(name, kSummer);
    const CliResult text = RunCli({L"show", f});
    ASSERT_EQ(text.exitCode, 0u) << SHOWN(text);
    EXPECT_TRUE(Contains(text.out, f)) << SHOWN(text);
    EXPECT_TRUE(Contains(text.out, L"size      5 bytes"));
    EXPECT_TRUE(Contains(text.out, L"2013-07-15T12:34:56.1234567Z"));
    EXPECT_TRUE(Contains(text.out, L"2013-07-15T12:34:56.1234578Z")); // accessed

    const CliResult json = RunCli({L"show", L"--json", f, tree.Root()});
    ASSERT_EQ(json.exitCode, 0u) << SHOWN(json);
    const std::wstring modifiedTicks = std::to_wstring(TicksOf(kSummer) + 1234567);
    EXPECT_TRUE(Contains(json.out, L"\"name\":\"" + name + L"\"")) << SHOWN(json);
    EXPECT_TRUE(Contains(json.out, L"\"modified\":{\"local\":\""));
    EXPECT_TRUE(Contains(json.out, L"\"utc\":\"2013-07-15T12:34:56.1234567Z\",\"ticks\":" + modifiedTicks + L"}"));
    EXPECT_TRUE(Contains(json.out, L"\"type\":\"folder\""));
    // One object per line.
    size_t lines = 0;
    for (wchar_t c : json.out)
        lines += c == L'\n';
    EXPECT_EQ(lines, 2u);

    // --recursive shows what folders hold.
    tree.Folder(L"inner");
    const std::wstring nested = File(L"inner\\nested.txt", kWinter);
    const CliResult recursive = RunCli({L"show", L"--recursive", tree.Path(L"inner")});
    EXPECT_EQ(recursive.exitCode, 0u);
    EXPECT_TRUE(Contains(recursive.out, nested + L"\n")) << SHOWN(recursive);

    const CliResult missing = RunCli({L"show", tree.Path(L"none.txt"), f});
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(Contains(missing.err, L"no such file or folder"));
    EXPECT_TRUE(Contains(missing.out, name)); // the others are still shown
}

// --- set -----------------------------------------------------------------------------------

TEST_F(Cli, SetToWritesThatInstantToTheChosenFields)
{
    const std::wstring f = File(L"to.txt", kSummer);
    const Times before = Read(f);
    // 2020-02-29T10:00:00+02:00 is 08:00 UTC.
    const CliResult r = RunCli({L"set", L"--modified", L"--to", L"2020-02-29T10:00:00+02:00", f});
    ASSERT_EQ(r.exitCode, 0u) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, L"Changed 1 item")) << SHOWN(r);
    EXPECT_EQ(Read(f).modified, TicksOf(1582963200));
    EXPECT_EQ(Read(f).accessed, before.accessed); // not asked for
    // Z and a date alone (local midnight) are read too.
    ASSERT_EQ(RunCli({L"set", L"-a", L"--to", L"2001-09-09T01:46:40Z", f}).exitCode, 0u);
    EXPECT_EQ(Read(f).accessed, TicksOf(1000000000));
}

// Each method against the times the window's engine computes for it.
TEST_F(Cli, EveryMethodChangesTheItemsAsTheWindowDoes)
{
    const long long older = kWinter, newer = kSummer;
    struct Case
    {
        const wchar_t* name;
        std::vector<std::wstring> options;
        // Expected modified and accessed seconds of a (older times) and b (newer times).
        long long aModified, aAccessed, bModified, bAccessed;
    };
    // Whole-second times here: the files' own accessed time is one second after modified.
    const Case cases[] = {
        {L"offset", {L"--offset", L"-1h30m"}, older - 5400, older + 1 - 5400, newer - 5400, newer + 1 - 5400},
        {L"offset plus", {L"--offset", L"+2d", L"--accessed"}, older, older + 1 + 172800, newer, newer + 1 + 172800},
        {L"sync modified", {L"--sync-to", L"modified", L"--accessed"}, older, older, newer, newer},
        {L"sync accessed", {L"--sync-to", L"accessed", L"-m"}, older + 1, older + 1, newer + 1, newer + 1},
        {L"newest", {L"--sync-to", L"newest"}, newer, newer + 1, newer, newer + 1},
        {L"oldest", {L"--sync-to", L"oldest", L"--modified"}, older, older + 1, older, newer + 1},
        {L"zone shift", {L"--zone-shift", L"Tokyo Standard Time", L"UTC"}, older - 32400, older + 1 - 32400,
         newer - 32400, newer + 1 - 32400},
        {L"zone shift by display name", {L"--zone-shift", L"UTC", L"Tokyo"}, older + 32400, older + 1 + 32400,
         newer + 32400, newer + 1 + 32400},
    };
    for (const Case& c : cases)
    {
        const std::wstring a = tree.File(std::wstring(L"a ") + c.name + L".txt", 1);
        const std::wstring b = tree.File(std::wstring(L"b ") + c.name + L".txt", 1);
        Write(a, TicksOf(older), TicksOf(older + 1));
        Write(b, TicksOf(newer), TicksOf(newer + 1));
        std::vector<std::wstring> args = {L"set"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(a);
        args.push_back(b);
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.exitCode, 0u) << Narrow(c.name) << "\n" << SHOWN(r);
        EXPECT_EQ(Read(a).modified, TicksOf(c.aModified)) << Narrow(c.name);
        EXPECT_EQ(Read(a).accessed, TicksOf(c.aAccessed)) << Narrow(c.name);
        EXPECT_EQ(Read(b).modified, TicksOf(c.bModified)) << Narrow(c.name);
        EXPECT_EQ(Read(b).accessed, TicksOf(c.bAccessed)) << Narrow(c.name);
    }
}

TEST_F(Cli, ReferenceCopiesTheTimesOfAnotherItem)
{
    const std::wstring reference = tree.File(L"reference.txt", 1);
    Write(reference, TicksOf(kWinter), TicksOf(kWinter + 60));
    const std::wstring f = File(L"f.txt", kSummer);
    const CliResult r = RunCli({L"set", L"--reference", reference, f});
    ASSERT_EQ(r.exitCode, 0u) << SHOWN(r);
    EXPECT_EQ(Read(f).modified, TicksOf(kWinter));
    EXPECT_EQ(Read(f).accessed, TicksOf(kWinter + 60));
}

TEST_F(Cli, RecursiveAndIncludeChooseTheItemsInsideFolders)
{
    tree.Folder(L"d");
    const std::wstring plain = File(L"d\\plain.txt", kSummer, 0);
    const std::wstring hidden = File(L"d\\hidden.txt", kSummer, 0);
    const std::wstring readOnly = File(L"d\\readonly.txt", kSummer, 0);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const std::wstring folder = tree.Path(L"d");

    // Without --recursive only the folder itself.
    ASSERT_EQ(RunCli({L"set", L"-m", L"--offset", L"1h", folder}).exitCode, 0u);
    EXPECT_EQ(Read(plain).modified, TicksOf(kSummer));

    // The window's defaults: normal and hidden, not read-only.
    const CliResult r = RunCli({L"set", L"-m", L"--offset", L"1h", L"--recursive", folder});
    ASSERT_EQ(r.exitCode, 0u) << SHOWN(r);
    EXPECT_EQ(Read(plain).modified, TicksOf(kSummer + 3600));
    EXPECT_EQ(Read(hidden).modified, TicksOf(kSummer + 3600));
    EXPECT_EQ(Read(readOnly).modified, TicksOf(kSummer));

    // A folder its kind leaves out is skipped with everything inside it.
    ASSERT_EQ(RunCli({L"set", L"-m", L"--offset", L"1h", L"-r", L"--include", L"readonly", folder}).exitCode, 0u);
    EXPECT_EQ(Read(readOnly).modified, TicksOf(kSummer));
    ASSERT_EQ(RunCli({L"set", L"-m", L"--offset", L"1h", L"-r", L"--include", L"normal,readonly", folder}).exitCode,
              0u);
    EXPECT_EQ(Read(plain).modified, TicksOf(kSummer + 7200));
    EXPECT_EQ(Read(hidden).modified, TicksOf(kSummer + 3600));
    EXPECT_EQ(Read(readOnly).modified, TicksOf(kSummer + 3600));
    // Its attributes are back.
    EXPECT_EQ(GetFileAttributesW(readOnly.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
              DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(Cli, DryRunListsEveryChangeAndWritesNothing)
{
    tree.Folder(L"d");
    const std::wstring a = File(L"d\\a.txt", kSummer);
    const std::wstring b = File(L"d\\b \u00e9t\u00e9.txt", kWinter);
    const std::wstring folder = tree.Path(L"d");
    const Times beforeA = Read(a), beforeB = Read(b), beforeFolder = Read(folder);
    const CliResult r = RunCli({L"set", L"--dry-run", L"--offset", L"+1d", L"--recursive", folder});
    ASSERT_EQ(r.exitCode, 0u) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, a + L"\n")) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, b + L"\n")) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, folder + L"\n")) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, L"  created   ")); // the created time is planned too
    EXPECT_TRUE(Contains(r.out, L" -> "));
    EXPECT_TRUE(Contains(r.out, L"3 items would change; nothing was written."));
    EXPECT_TRUE(Read(a) == beforeA);
    EXPECT_TRUE(Read(b) == beforeB);
    EXPECT_TRUE(Read(folder) == beforeFolder);
    EXPECT_EQ(Content(a), "xxxxx");
    EXPECT_EQ(Content(b), "xxxxx");
    EXPECT_TRUE(Journals().empty());
}

// --- journal and undo ----------------------------------------------------------------------

TEST_F(Cli, UndoPutsBackEveryTimeToTheTick)
{
    tree.Folder(L"d");
    const std::wstring a = File(L"d\\a.txt", kSummer, 1234567);
    const std::wstring b = File(L"d\\b.txt", kWinter, 7);
    const std::wstring folder = tree.Path(L"d");
    Write(folder, TicksOf(kWinter) + 99, TicksOf(kWinter) + 100);
    // Hidden decides before read-only: b is changed by default, and keeps its attributes.
    const DWORD bits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    SetFileAttributesW(b.c_str(), bits);
    const Times beforeA = Read(a), beforeB = Read(b), beforeFolder = Read(folder);

    const CliResult run = RunCli({L"set", L"--to", L"2024-01-01T00:00:00Z", L"-r", folder});
    ASSERT_EQ(run.exitCode, 0u) << SHOWN(run);
    ASSERT_EQ(Read(a).modified, TicksOf(1704067200));
    ASSERT_EQ(Journals().size(), 1u);
    EXPECT_TRUE(Contains(run.out, Journals()[0]));
    // The journal is UTF-8 text with the old and new times of each item.
    const std::string journal = Content(Journals()[0]);
    EXPECT_EQ(journal.rfind("Kairon journal 1\n", 0), 0u);
    EXPECT_NE(journal.find(std::to_string(beforeA.modified)), std::string::npos);

    const CliResult undo = RunCli({L"undo"});
    ASSERT_EQ(undo.exitCode, 0u) << SHOWN(undo);
    EXPECT_TRUE(Contains(undo.out, L"Restored 3 items")) << SHOWN(undo);
    EXPECT_TRUE(Read(a) == beforeA);
    EXPECT_TRUE(Read(b) == beforeB);
    EXPECT_TRUE(Read(folder) == beforeFolder);
    EXPECT_EQ(GetFileAttributesW(b.c_str()), bits);
    // That run is undone: nothing is left to undo.
    const CliResult again = RunCli({L"undo"});
    EXPECT_EQ(again.exitCode, 1u) << SHOWN(again);
    EXPECT_TRUE(Contains(again.err, L"no run to undo"));
}

TEST_F(Cli, UndoLeavesItemsModifiedSinceTheRunAloneUnlessForced)
{
    const std::wstring a = File(L"a.txt", kSummer);
    const std::wstring b = File(L"b.txt", kSummer);
    const Times beforeA = Read(a), beforeB = Read(b);
    ASSERT_EQ(RunCli({L"set", L"--offset", L"-1d", a, b}).exitCode, 0u);
    const std::wstring journal = Journals().at(0);
    Write(b, TicksOf(kWinter), TicksOf(kWinter)); // someone changed b since

    const CliResult undo = RunCli({L"undo"});
    EXPECT_EQ(undo.exitCode, 1u) << SHOWN(undo);
    EXPECT_TRUE(Contains(undo.err, b + L" was modified since the run")) << SHOWN(undo);
    EXPECT_TRUE(Read(a) == beforeA);
    EXPECT_EQ(Read(b).modified, TicksOf(kWinter));

    const CliResult forced = RunCli({L"undo", L"--force", journal});
    EXPECT_EQ(forced.exitCode, 0u) << SHOWN(forced);
    EXPECT_TRUE(Read(b) == beforeB);
}

TEST_F(Cli, UndoAfterAnInterruptedRunPutsBackWhatItChanged)
{
    tree.Folder(L"big");
    const int files = 1500;
    std::vector<std::wstring> paths;
    for (int i = 0; i < files; ++i)
        paths.push_back(File(L"big\\f" + std::to_wstring(i) + L".txt", kSummer, i));
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    SetHandleInformation(nul, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    HANDLE child = StartCli({L"set", L"--offset", L"+1h", L"-r", tree.Path(L"big")}, nul, nul);
    ASSERT_NE(child, nullptr);
    // Stopped as soon as its journal shows some items written.
    bool started = false;
    for (int i = 0; i < 6000 && !started; ++i)
    {
        const auto journals = Journals();
        if (!journals.empty())
        {
            const std::string journal = Content(journals[0]);
            started = std::count(journal.begin(), journal.end(), '\n') > 40;
        }
        if (!started && WaitForSingleObject(child, 5) == WAIT_OBJECT_0)
            break;
    }
    TerminateProcess(child, 9);
    WaitForSingleObject(child, 60000);
    CloseHandle(child);
    CloseHandle(nul);
    if (!started)
    {
        // The run was quicker than the watch (a fast, idle machine): leave the disk as a run
        // killed after its first 40 items would have left it — the journal cut in the middle
        // of a line, and the items it does not name back at their old times.
        const auto journals = Journals();
        ASSERT_FALSE(journals.empty()) << "the run left no journal";
        std::string journal = Content(journals[0]);
        size_t cut = 0;
        for (int line = 0; line < 41 && cut != std::string::npos; ++line)
            cut = journal.find('\n', cut == 0 ? 0 : cut + 1);
        ASSERT_NE(cut, std::string::npos) << "the journal holds fewer than 41 lines";
        const size_t next = journal.find('\n', cut + 1);
        ASSERT_NE(next, std::string::npos) << "the journal holds fewer than 42 lines";
        journal.resize(cut + 1 + (next - cut) / 2);
        HANDLE h = CreateFileW(TempTree::Long(journals[0]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, journal.data(), static_cast<DWORD>(journal.size()), &written, nullptr);
        CloseHandle(h);
        const std::string named = journal.substr(0, cut + 1);
        for (int i = 0; i < files; ++i)
        {
            if (named.find("\t" + Narrow(paths[i]) + "\n") == std::string::npos)
                Write(paths[i], TicksOf(kSummer) + i, TicksOf(kSummer) + i + 11);
        }
        started = true;
    }
    ASSERT_TRUE(started) << "the run ended before it could be interrupted";
    int changed = 0;
    for (const auto& p : paths)
        changed += Read(p).modified != TicksOf(kSummer) + (&p - &paths[0]);
    EXPECT_GT(changed, 0);

    const CliResult undo = RunCli({L"undo"});
    EXPECT_EQ(undo.exitCode, 0u) << SHOWN(undo);
    for (int i = 0; i < files; ++i)
        ASSERT_EQ(Read(paths[i]).modified, TicksOf(kSummer) + i) << i;
    // The journal is marked undone after its last complete line.
    const std::string journal = Content(Journals().at(0));
    EXPECT_EQ(journal.compare(journal.rfind('\n', journal.size() - 2) + 1, 7, "undone\t"), 0);
    EXPECT_EQ(RunCli({L"undo"}).exitCode, 1u);
}

// --- failures and long paths ---------------------------------------------------------------

TEST_F(Cli, AnItemThatCannotBeChangedGivesExitOneWithItsPathAndReason)
{
    // A drive root has no times of its own to offset: it fails, the others are changed.
    const std::wstring free = File(L"free.txt", kSummer, 0);
    wchar_t root[4] = L"C:\\";
    root[0] = free[0];
    const CliResult preview = RunCli({L"set", L"-m", L"--offset", L"1h", L"--dry-run", free, root});
    EXPECT_EQ(preview.exitCode, 1u) << SHOWN(preview);
    EXPECT_TRUE(Contains(preview.out, L"1 item would change, 1 would fail")) << SHOWN(preview);
    EXPECT_EQ(Read(free).modified, TicksOf(kSummer));

    const CliResult r = RunCli({L"set", L"-m", L"--offset", L"1h", free, root});
    EXPECT_EQ(r.exitCode, 1u) << SHOWN(r);
    EXPECT_TRUE(Contains(r.err, L"cannot change " + std::wstring(root) + L": ")) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, L"Changed 1 item, 1 failed")) << SHOWN(r);
    EXPECT_EQ(Read(free).modified, TicksOf(kSummer + 3600));
    // Only the item that changed is in the journal.
    const std::string journal = Content(Journals().at(0));
    EXPECT_NE(journal.find(Narrow(free)), std::string::npos);
    EXPECT_EQ(journal.find("\titem\tD"), std::string::npos);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 4);
}

// "x:y" (a stream path on Windows, a file of its own under Wine) is shown and changed from
// its own times, never from 1970.
TEST_F(Cli, ANameWithAColonIsShownAndChangedFromItsOwnTimes)
{
    const std::wstring f = File(L"x:y", kSummer, 0);
    ASSERT_EQ(Read(f).modified, TicksOf(kSummer));
    const CliResult show = RunCli({L"show", f});
    ASSERT_EQ(show.exitCode, 0u) << SHOWN(show);
    EXPECT_TRUE(Contains(show.out, L"modified  2013-07-15T12:34:56+00:00   2013-07-15T12:34:56Z\n")) << SHOWN(show);

    const CliResult r = RunCli({L"set", L"-m", L"-a", L"--offset", L"1h", f});
    ASSERT_EQ(r.exitCode, 0u) << SHOWN(r);
    EXPECT_TRUE(Contains(r.out, L"Changed 1 item")) << SHOWN(r);
    EXPECT_EQ(Read(f).modified, TicksOf(kSummer + 3600));
    EXPECT_EQ(Read(f).accessed, TicksOf(kSummer + 3600)); // whole seconds, as every written time
}

// Names the system cannot reach are refused with the rest of the run: nothing changes.
TEST_F(Cli, NamesTheSystemCannotReachAreReportedAndNothingChanges)
{
    const std::wstring f = File(L"kept.txt", kSummer, 0);
    for (const wchar_t* name : {L"q?.txt", L"star*.txt", L"gone.txt"})
    {
        const std::wstring bad = tree.Path(name);
        const CliResult r = RunCli({L"set", L"-m", L"--offset", L"1h", f, bad});
        EXPECT_EQ(r.exitCode, 2u) << SHOWN(r);
        EXPECT_TRUE(Contains(r.err, L"no such file or folder: " + bad)) << SHOWN(r);
        EXPECT_TRUE(Contains(r.err, L"nothing was changed")) << SHOWN(r);
        EXPECT_EQ(Read(f).modified, TicksOf(kSummer));
    }
}

TEST_F(Cli, PathsLongerThan260CharactersWork)
{
    std::wstring relative;
    for (int i = 0; i < 6; ++i)
    {
        relative += (i ? L"\\" : L"") + std::wstring(50, wchar_t(L'a' + i));
        tree.Folder(relative);
    }
    const std::wstring f = File(relative + L"\\long \u00fc.txt", kSummer);
    ASSERT_GT(f.size(), 300u);
    const Times before = Read(f);
    const CliResult show = RunCli({L"show", f});
    EXPECT_EQ(show.exitCode, 0u) << SHOWN(show);
    EXPECT_TRUE(Contains(show.out, L"2013-07-15T12:34:56.1234567Z"));
    const CliResult run = RunCli({L"set", L"-r", L"-m", L"--to", L"2020-01-01T00:00:00Z", tree.Path(relative)});
    ASSERT_EQ(run.exitCode, 0u) << SHOWN(run);
    EXPECT_EQ(Read(f).modified, TicksOf(1577836800));
    ASSERT_EQ(RunCli({L"undo"}).exitCode, 0u);
    EXPECT_TRUE(Read(f) == before);
}

// --- local time: the wall clock of each date, with its own offset --------------------------

// Runs with TZ=Europe/Berlin (see tests.cmake): winter +01:00, summer +02:00.
class CliBerlinEnv : public Cli
{
};

TEST_F(CliBerlinEnv, LocalTimesUseTheOffsetOfTheirOwnDate)
{
    const std::wstring f = File(L"berlin.txt", kSummer, 0);
    ASSERT_EQ(RunCli({L"set", L"-m", L"--to", L"2024-07-01T12:00:00", f}).exitCode, 0u);
    EXPECT_EQ(Read(f).modified, TicksOf(1719828000)); // 10:00Z
    ASSERT_EQ(RunCli({L"set", L"-a", L"--to", L"2024-01-15 12:00", f}).exitCode, 0u);
    EXPECT_EQ(Read(f).accessed, TicksOf(1705316400)); // 11:00Z
    const CliResult show = RunCli({L"show", f});
    EXPECT_TRUE(Contains(show.out, L"modified  2024-07-01T12:00:00+02:00   2024-07-01T10:00:00Z")) << SHOWN(show);
    EXPECT_TRUE(Contains(show.out, L"accessed  2024-01-15T12:00:00+01:00   2024-01-15T11:00:00Z")) << SHOWN(show);
}

} // namespace
