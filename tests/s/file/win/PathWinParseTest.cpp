// Parsing and the texts derived from it: no file system involved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempTree.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::file::win::PathWin;
using s::file::win::test::Held;
using s::str::strbuffer::StrBuffer;

namespace {

struct SplitCase
{
    const wchar_t* text;
    const wchar_t* full;
    const wchar_t* drive;
    const wchar_t* folderPart;
    const wchar_t* title;
    const wchar_t* extension;
    const wchar_t* folder;
};

} // namespace

TEST(PathWinParse, SplitsIntoDriveFolderTitleExtension)
{
    const SplitCase cases[] = {
        {L"C:\\Data\\Report.final.txt", L"C:\\Data\\Report.final.txt", L"C:", L"\\Data\\",
         L"Report.final", L".txt", L"C:\\Data\\"},
        {L"C:\\Data\\", L"C:\\Data", L"C:", L"\\", L"Data", L"", L"C:\\"},
        {L"C:\\", L"C:", L"C:", L"", L"", L"", L"C:\\"},
        {L"c:", L"c:", L"c:", L"", L"", L"", L"c:\\"},
        // Slashes become backslashes; only trailing separators go.
        {L"C:/Data//x.txt", L"C:\\Data\\\\x.txt", L"C:", L"\\Data\\\\", L"x", L".txt",
         L"C:\\Data\\\\"},
        {L"\\\\srv\\share\\dir\\f.txt", L"\\\\srv\\share\\dir\\f.txt", L"", L"\\\\srv\\share\\dir\\",
         L"f", L".txt", L"\\\\srv\\share\\dir\\"},
        {L"rel\\a.b", L"rel\\a.b", L"", L"rel\\", L"a", L".b", L"rel\\"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << std::wstring(c.text).size());
        Held p(c.text);
        EXPECT_TRUE(p->IsValid());
        EXPECT_STREQ(c.full, p->GetFullPath());
        EXPECT_STREQ(c.drive, p->Drive()->CStr());
        EXPECT_STREQ(c.folderPart, p->FolderPart()->CStr());
        EXPECT_STREQ(c.title, p->GetTitle());
        EXPECT_STREQ(c.extension, p->GetExtension());
        EXPECT_STREQ(c.folder, p->GetFolder());
        // The pieces spell the full path.
        std::wstring joined = std::wstring(c.drive) + c.folderPart + c.title + c.extension;
        EXPECT_EQ(std::wstring(c.full), joined);
    }
}

TEST(PathWinParse, DriveRootsHaveNoParent)
{
    for (const wchar_t* text : {L"C:\\", L"c:"}) {
        Held p(text);
        EXPECT_EQ(2u, p->GetLength());
        EXPECT_TRUE(p->IsDriveOnly());
        EXPECT_TRUE(p->HasDrive());
        EXPECT_TRUE(p->IsAbsolute());
        EXPECT_EQ(nullptr, p->GetParent());
    }
    Held upper(L"C:\\");
    EXPECT_STREQ(L"C:\\", upper->GetRootPath());
    Held lower(L"c:");
    EXPECT_STREQ(L"c:\\", lower->GetRootPath());
    EXPECT_EQ(L'c', lower->GetDriveLetter());
}

TEST(PathWinParse, EmptyAndSeparatorOnlyTexts)
{
    Held empty(L"");
    EXPECT_FALSE(empty->IsValid());
    EXPECT_STREQ(L"", empty->GetFullPath());
    EXPECT_STREQ(L"", empty->GetName());
    EXPECT_FALSE(empty->Exists());

    Held slashes(L"\\\\\\/");
    EXPECT_TRUE(slashes->IsValid());
    EXPECT_STREQ(L"", slashes->GetFullPath());
    EXPECT_FALSE(slashes->Exists());

    PathWin* p = PathWin::Acquire();
    EXPECT_FALSE(p->SetPath(static_cast<const wchar_t*>(nullptr)));
    EXPECT_FALSE(p->IsValid());
    p->Release();
}

TEST(PathWinParse, ComponentOverSplitLimitIsInvalid)
{
    std::wstring text = L"C:\\" + std::wstring(800, L'a') + L".txt";
    Held p(text.c_str());
    EXPECT_FALSE(p->IsValid());
    EXPECT_FALSE(p->Exists());
}

TEST(PathWinParse, StreamsAreColonsInTheName)
{
    Held stream(L"C:\\a.txt:notes");
    EXPECT_TRUE(stream->IsStream());
    EXPECT_STREQ(L"a", stream->GetTitle());
    EXPECT_STREQ(L".txt:notes", stream->GetExtension());
    Held titleStream(L"C:\\dir\\a:notes");
    EXPECT_TRUE(titleStream->IsStream());
    Held folderColon(L"C:\\dir:x\\a.txt");
    EXPECT_FALSE(folderColon->IsStream());
    Held drive(L"C:\\a.txt");
    EXPECT_FALSE(drive->IsStream());
}

TEST(PathWinParse, SystemCallsGetTheLongFormAtEveryLength)
{
    const std::wstring base = L"C:\\";
    const std::wstring p249 = base + std::wstring(249 - base.size(), L'x');
    const std::wstring p250 = base + std::wstring(250 - base.size(), L'x');
    std::wstring unc = L"\\\\srv\\share\\";
    unc += std::wstring(250 - unc.size(), L'u');
    const struct
    {
        std::wstring given, api, full;
    } cases[] = {
        // Names the plain form would rewrite reach the system exactly as written.
        {L"C:\\d\\name.", L"\\\\?\\C:\\d\\name.", L"C:\\d\\name."},
        {L"C:\\d\\trail ", L"\\\\?\\C:\\d\\trail ", L"C:\\d\\trail "},
        {L"C:\\d\\aux.log", L"\\\\?\\C:\\d\\aux.log", L"C:\\d\\aux.log"},
        {L"C:\\d\\a..", L"\\\\?\\C:\\d\\a..", L"C:\\d\\a.."},
        {L"C:\\a.txt:notes", L"\\\\?\\C:\\a.txt:notes", L"C:\\a.txt:notes"},
        // Short and long alike.
        {p249, L"\\\\?\\" + p249, p249},
        {p250, L"\\\\?\\" + p250, p250},
        {L"\\\\srv\\share\\d\\f.txt", L"\\\\?\\UNC\\srv\\share\\d\\f.txt", L"\\\\srv\\share\\d\\f.txt"},
        {unc, L"\\\\?\\UNC\\" + unc.substr(2), unc},
        // A typed "." or ".." still works; a doubled separator names nothing extra.
        {L"C:\\d\\.\\e\\..\\f", L"\\\\?\\C:\\d\\f", L"C:\\d\\.\\e\\..\\f"},
        {L"C:\\d\\\\f", L"\\\\?\\C:\\d\\f", L"C:\\d\\\\f"},
        {L"C:\\..\\..\\f", L"\\\\?\\C:\\f", L"C:\\..\\..\\f"},
        {L"C:\\d\\..", L"\\\\?\\C:\\", L"C:\\d\\.."},
        {L"\\\\srv\\share\\..\\x", L"\\\\?\\UNC\\srv\\share\\x", L"\\\\srv\\share\\..\\x"},
        // A text in a system form already is not prefixed again.
        {L"\\\\?\\" + p250, L"\\\\?\\" + p250, L"\\\\?\\" + p250},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        // A drive alone is asked at its root (see AttributePath).
        {L"C:", L"C:", L"C:"},
    };
    for (const auto& c : cases) {
        Held p(c.given.c_str());
        EXPECT_EQ(c.api, std::wstring(p->GetApiPath())) << std::string(c.given.begin(), c.given.end());
        EXPECT_EQ(c.full, std::wstring(p->GetFullPath()));
    }
}

// A walker's entry is made from its folder and the found name without splitting the text
// again; every piece must be what splitting would give.
TEST(PathWinParse, AnEntryOfAFolderIsWhatSplittingGives)
{
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(300, L'e') + L"\\" +
                              std::wstring(200, L'f');
    const std::vector<std::wstring> folders = {L"C:", L"C:\\Data", L"C:\\a.b\\c", L"\\\\srv\\share",
                                               L"\\\\srv\\share\\dir", L"sub", L"\\\\?\\C:\\x", deep};
    const std::vector<std::wstring> names = {L"f.txt", L"name.", L"a..", L".profile", L"noext", L"trail ",
                                             L"aux.log", L"x.tar.gz"};
    for (const std::wstring& folderText : folders) {
        Held folder(folderText.c_str());
        for (const std::wstring& name : names) {
            const std::wstring text = folderText + L"\\" + name;
            SCOPED_TRACE(std::string(text.begin(), text.end()));
            Held split(text.c_str());
            Held entry(PathWin::Acquire());
            s::str::strbuffer::StrBuffer* t = s::str::strbuffer::StrBuffer::Acquire();
            t->Append(text.c_str());
            entry->SetEntryPath(*folder.p, t, name.c_str(), uint32_t(name.size()));
            t->Release();
            EXPECT_EQ(split->IsValid(), entry->IsValid());
            EXPECT_STREQ(split->GetFullPath(), entry->GetFullPath());
            if (!split->IsValid())
                continue;
            EXPECT_STREQ(split->GetApiPath(), entry->GetApiPath());
            EXPECT_STREQ(split->Drive()->CStr(), entry->Drive()->CStr());
            EXPECT_STREQ(split->FolderPart()->CStr(), entry->FolderPart()->CStr());
            EXPECT_STREQ(split->Title()->CStr(), entry->Title()->CStr());
            EXPECT_STREQ(split->ExtensionPart()->CStr(), entry->ExtensionPart()->CStr());
            EXPECT_EQ(split->IsStream(), entry->IsStream());
        }
    }
}

TEST(PathWinParse, ARelativeTextIsMadeAbsoluteOnceForSystemCalls)
{
    wchar_t current[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, current));
    std::wstring here = current;
    if (here.back() == L'\\')
        here.pop_back();
    Held relative(L"sub\\.\\name.");
    EXPECT_EQ(L"\\\\?\\" + here + L"\\sub\\name.", std::wstring(relative->GetApiPath()));
    EXPECT_STREQ(L"sub\\.\\name.", relative->GetFullPath());
    EXPECT_FALSE(relative->IsAbsolute());
    Held up(L"..\\x");
    const std::wstring parent = here.substr(0, here.find_last_of(L'\\'));
    EXPECT_EQ(L"\\\\?\\" + parent + L"\\x", std::wstring(up->GetApiPath()));
    Held rooted(L"\\x\\y");
    EXPECT_EQ(L"\\\\?\\" + here.substr(0, 2) + L"\\x\\y", std::wstring(rooted->GetApiPath()));
}

TEST(PathWinParse, UncServerAndRoot)
{
    Held p(L"\\\\Srv\\share\\dir\\f.txt");
    EXPECT_TRUE(p->IsUnc());
    EXPECT_TRUE(p->IsAbsolute());
    EXPECT_FALSE(p->HasDrive());
    EXPECT_STREQ(L"Srv", p->GetServerName());
    EXPECT_STREQ(L"\\\\Srv\\share\\", p->GetRootPath());
    Held notUnc(L"\\\\\\x");
    EXPECT_FALSE(notUnc->IsUnc());
    Held shortText(L"\\\\");
    EXPECT_FALSE(shortText->IsUnc());
    // Only a UNC path has a server.
    Held relative(L"abcd\\e");
    EXPECT_STREQ(L"", relative->GetServerName());
    Held drive(L"C:\\x");
    EXPECT_STREQ(L"", drive->GetServerName());
}

TEST(PathWinParse, ExtensionWithoutDot)
{
    struct
    {
        const wchar_t* text;
        const wchar_t* noDot;
    } cases[] = {{L"C:\\a.b", L"b"}, {L"C:\\a.", L""}, {L"C:\\a", L""}, {L"C:\\a.txt", L"txt"}};
    for (const auto& c : cases) {
        Held p(c.text);
        EXPECT_STREQ(c.noDot, p->GetExtensionNoDot());
    }
    Held p(L"C:\\x\\Report.TXT");
    EXPECT_TRUE(p->HasExtension(L".txt"));
    EXPECT_FALSE(p->HasExtension(L"txt"));
    EXPECT_STREQ(L".TXT", p->GetExtensionText());
}

TEST(PathWinParse, SameVolume)
{
    Held a(L"c:\\a");
    EXPECT_FALSE(a->IsSameVolume(L"C:\\b"));  // drive letters compare as stored
    EXPECT_TRUE(a->IsSameVolume(L"c:\\x\\y"));
    Held unc(L"\\\\srv\\share\\a");
    EXPECT_TRUE(unc->IsSameVolume(L"\\\\SRV\\other\\b"));
    EXPECT_FALSE(unc->IsSameVolume(L"\\\\srv2\\share\\a"));
    EXPECT_FALSE(unc->IsSameVolume(L"C:\\a"));
}

TEST(PathWinParse, DerivedPathsAndTextPairs)
{
    Held p(L"C:\\Data\\Report.txt");
    PathWin* parent = p->GetParent();
    ASSERT_NE(nullptr, parent);
    EXPECT_STREQ(L"C:\\Data", parent->GetFullPath());
    PathWin* top = parent->GetParent();
    ASSERT_NE(nullptr, top);
    EXPECT_STREQ(L"C:", top->GetFullPath());
    top->Release();
    parent->Release();

    PathWin* child = p->GetChild(L"inner");
    EXPECT_STREQ(L"C:\\Data\\Report.txt\\inner", child->GetFullPath());
    child->Release();
    PathWin* sibling = p->GetSibling(L".bak");
    EXPECT_STREQ(L"C:\\Data\\Report.bak", sibling->GetFullPath());
    sibling->Release();

    // Into forms: a new string, replacing, appending.
    StrBuffer* out = p->GetNameInto();
    EXPECT_STREQ(L"Report.txt", out->CStr());
    p->GetTitleInto(out, true);
    EXPECT_STREQ(L"Report.txtReport", out->CStr());
    p->GetFolderNoSlashInto(out, false);
    EXPECT_STREQ(L"C:\\Data", out->CStr());
    p->GetFullPathWithSlashInto(out, false);
    EXPECT_STREQ(L"C:\\Data\\Report.txt\\", out->CStr());
    out->Release();
    EXPECT_STREQ(L"C:\\Data\\Report.txt\\", p->GetFullPathWithSlash());

    PathWin* made = PathWin::FromFolderAndShortcutName(L"C:\\Data", L"App");
    EXPECT_STREQ(L"C:\\Data\\App.lnk", made->GetFullPath());
    made->Release();
}

TEST(PathWinParse, RelativeAndAbsolute)
{
    Held folder(L"C:\\a\\b");
    EXPECT_STREQ(L"c\\d.txt", folder->MakeRelative(L"C:\\a\\b\\c\\d.txt", true));
    EXPECT_STREQ(L"..\\x\\y.txt", folder->MakeRelative(L"C:\\a\\x\\y.txt", true));
    EXPECT_STREQ(L"D:\\z.txt", folder->MakeRelative(L"D:\\z.txt", true));
    EXPECT_STREQ(L"C:\\a\\b\\c\\d.txt", folder->MakeAbsolute(L"c\\d.txt", true));
    EXPECT_STREQ(L"C:\\a\\x.txt", folder->MakeAbsolute(L"..\\x.txt", true));
    EXPECT_STREQ(L"C:\\a\\x.txt", folder->MakeAbsolute(L"x.txt", false));
    EXPECT_STREQ(L"D:\\q", folder->MakeAbsolute(L"D:\\q", true));
    EXPECT_STREQ(L"\\\\s\\h\\q", folder->MakeAbsolute(L"\\\\s\\h\\q", true));
}

TEST(PathWinParse, ComparesAndHashesTheFullPath)
{
    Held a(L"C:/Data/x.txt");
    Held b(L"C:\\Data\\x.txt\\");
    Held c(L"c:\\data\\X.TXT");
    EXPECT_TRUE(a->Equals(b.p));
    EXPECT_EQ(0, a->Compare(b.p));
    EXPECT_EQ(a->HashCode(), b->HashCode());
    EXPECT_FALSE(a->Equals(c.p));
    EXPECT_TRUE(a->EqualsIgnoreCase(c.p));
    EXPECT_EQ(a->HashCodeIgnoreCase(), c->HashCodeIgnoreCase());
    EXPECT_NE(0, a->Compare(c.p));
    EXPECT_EQ(PathWin::CLASS_ID, a->ClassId());
}

TEST(PathWinParse, ReleasedPathComesBackEmpty)
{
    PathWin* p = PathWin::FromText(L"C:\\a\\b.txt");
    p->Release();
    PathWin* q = PathWin::Acquire();
    EXPECT_FALSE(q->IsValid());
    EXPECT_STREQ(L"", q->GetFullPath());
    EXPECT_STREQ(L"", q->GetExtensionText());
    q->Release();
}
