// kairon-cli set --from: the date taken, the date in the name and each folder's newest item
// inside, with --dry-run and the journal. Modified times are checked on disk to the second.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRun.h"
#include "s/file/win/TempTree.h"
#include "s/file/meta/ExifFixtures.h"

using kairon::cli::test::CliResult;
using kairon::cli::test::RunCli;
using s::file::win::test::TempTree;
using namespace s::file::meta::test;

namespace
{

long long ModifiedSeconds(const std::wstring& path)
{
    FILETIME m = {};
    TempTree::Times(path, nullptr, nullptr, &m);
    return static_cast<long long>((TempTree::Ticks(m) - 116444736000000000ULL) / 10000000ULL);
}

void SetModified(const std::wstring& path, long long seconds)
{
    const FILETIME t = TempTree::FromSeconds(seconds);
    ASSERT_TRUE(TempTree::SetTimes(path, nullptr, &t, &t));
}

void WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

std::string Shown(const CliResult& r)
{
    const std::wstring w = L"exit " + std::to_wstring(r.exitCode) + L"\nout:\n" + r.out + L"\nerr:\n" + r.err;
    std::string n;
    for (wchar_t c : w)
        n += c < 128 ? static_cast<char>(c) : '?';
    return n;
}

constexpr long long kOld = 978307200; // 2001-01-01T00:00:00Z

class CliFromItem : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", tree.Folder(L"journals").c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", nullptr); }
    TempTree tree;
};

} // namespace

TEST_F(CliFromItem, TakenReadsThePhotosAndCountsThoseWithoutADate)
{
    const std::wstring offset = tree.Path(L"offset.jpg");
    const std::wstring clock = tree.Path(L"clock.jpg");
    const std::wstring plain = tree.Path(L"plain.jpg");
    WriteBytes(offset, WithSegments(SmallJpeg(), {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12"},
                                                                     {TAG_OFFSET_ORIGINAL, "+02:00"}}))}));
    WriteBytes(clock, WithSegments(SmallJpeg(), {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12"}}))}));
    WriteBytes(plain, SmallJpeg());
    for (const std::wstring& p : {offset, clock, plain})
        SetModified(p, kOld);

    // A dry run lists the plan and the items left alone, and writes nothing.
    const CliResult dry = RunCli({L"set", L"--from", L"taken", L"--zone", L"Tokyo Standard Time", L"--dry-run",
                                  offset, clock, plain});
    ASSERT_EQ(0u, dry.exitCode) << Shown(dry);
    EXPECT_TRUE(Contains(dry.out, plain + L"\n  left alone: no date taken in the file")) << Shown(dry);
    EXPECT_TRUE(Contains(dry.out, L"2 would change, 1 without a date, 0 would fail; nothing was written."))
        << Shown(dry);
    EXPECT_EQ(kOld, ModifiedSeconds(offset));

    const CliResult run =
        RunCli({L"set", L"--from", L"taken", L"--zone", L"Tokyo Standard Time", L"-m", offset, clock, plain});
    ASSERT_EQ(0u, run.exitCode) << Shown(run);
    EXPECT_TRUE(Contains(run.out, L"2 changed, 1 without a date, 0 failed. Journal: ")) << Shown(run);
    EXPECT_EQ(1712162412LL, ModifiedSeconds(offset)); // 2024-04-03T16:40:12Z, as stated
    EXPECT_EQ(1712137212LL, ModifiedSeconds(clock));  // 2024-04-03T09:40:12Z, read at UTC+9
    EXPECT_EQ(kOld, ModifiedSeconds(plain));

    // The journal puts the old times back.
    const CliResult undo = RunCli({L"undo"});
    ASSERT_EQ(0u, undo.exitCode) << Shown(undo);
    EXPECT_EQ(kOld, ModifiedSeconds(offset));
    EXPECT_EQ(kOld, ModifiedSeconds(clock));
}

TEST_F(CliFromItem, NameAndNewestInside)
{
    tree.Folder(L"2023-12-24 Christmas");
    const std::wstring named = tree.File(L"2023-12-24 Christmas\\IMG_20231224_193000.jpg", 3);
    const std::wstring other = tree.File(L"2023-12-24 Christmas\\notes.txt", 3);
    SetModified(named, kOld);
    SetModified(other, kOld + 86400);
    const std::wstring folder = tree.Path(L"2023-12-24 Christmas");
    const CliResult byName = RunCli({L"set", L"--from", L"name", L"--zone", L"UTC", L"-m", L"-r", folder});
    ASSERT_EQ(0u, byName.exitCode) << Shown(byName);
    EXPECT_TRUE(Contains(byName.out, L"2 changed, 1 without a date, 0 failed")) << Shown(byName);
    EXPECT_EQ(1703446200LL, ModifiedSeconds(named)); // 2023-12-24T19:30:00Z
    EXPECT_EQ(1703376000LL, ModifiedSeconds(folder)); // midnight
    EXPECT_EQ(kOld + 86400, ModifiedSeconds(other));

    // Each folder its newest item inside: the folder takes notes.txt's or the photo's,
    // whichever is newer now; an empty folder is left alone and counted.
    tree.Folder(L"2023-12-24 Christmas\\empty");
    const CliResult newest = RunCli({L"set", L"--from", L"newest-inside", L"-m", L"-r", folder});
    ASSERT_EQ(0u, newest.exitCode) << Shown(newest);
    EXPECT_TRUE(Contains(newest.out, L"1 changed, 1 without a date, 0 failed")) << Shown(newest);
    EXPECT_EQ(1703446200LL, ModifiedSeconds(folder));

    const CliResult bad = RunCli({L"set", L"--from", L"exif", folder});
    EXPECT_EQ(2u, bad.exitCode) << Shown(bad);
    EXPECT_TRUE(Contains(bad.err, L"unknown --from source")) << Shown(bad);
    const CliResult zoneAlone = RunCli({L"set", L"--offset", L"1h", L"--zone", L"UTC", folder});
    EXPECT_EQ(2u, zoneAlone.exitCode) << Shown(zoneAlone);
}
