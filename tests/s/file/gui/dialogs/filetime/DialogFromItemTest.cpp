// The Change Multiple method "From the item itself:" through the window: each choice with a
// real drop, times checked on disk, the end status, and its settings kept across a restart.
#include "DialogTestSupport.h"

#include "s/gui/combobox/ComboBoxItem.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/file/meta/ExifFixtures.h"

using namespace s::file::meta::test;

namespace
{
int zoneIndex(const wchar_t* key)
{
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        if (std::wstring(s::time::zoneAt(i)->getKeyName().CStr()) == key)
            return int(i);
    }
    return -1;
}

void writeBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
}
} // namespace

TEST_F(FileTimeDialog, FromTheItemItselfEachChoiceThroughTheWindow)
{
    const int tokyo = zoneIndex(L"Tokyo Standard Time");
    ASSERT_GE(tokyo, 0);
    const std::wstring album = makeFolder(L"album");
    const std::wstring photo = folder + L"\\album\\photo.jpg";
    writeBytes(photo, WithSegments(SmallJpeg(), {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12"}}))}));
    const std::wstring named = makeFile(L"album\\IMG_20230102_030405.png", 3);
    const std::wstring plain = makeFile(L"album\\notes.txt", 3);
    makeFolder(L"album\\empty");
    const Seconds old = Utc(2001, 1, 1);
    for (const std::wstring& p : {album, photo, named, plain})
        setTimes(p, old, old);

    build();
    chooseAction(2);
    click(multi().methods[METHOD_FROM_ITEM]);
    ASSERT_TRUE(checked(multi().methods[METHOD_FROM_ITEM]));
    EXPECT_TRUE(enabled(multi().fromSource));
    EXPECT_FALSE(enabled(multi().specific.year()));
    chooseValue(multi().clockZone.combo(), tokyo);
    for (int k : {TIME_CREATED, TIME_ACCESSED})
        click(multi().fields[k]); // only Modified
    if (!checked(multi().includeContents))
        click(multi().includeContents);
    screenshot("from-item-panel.bmp");

    // Date taken: the photo, read at UTC+9; everything else has no date taken.
    choose(multi().fromSource, 0);
    drop({album});
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(timesOf(photo).modified, Utc(2024, 4, 3, 9, 40, 12));
    EXPECT_EQ(timesOf(named).modified, old);
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"1 changed, 4 without a date, 0 failed");

    // Date in the name.
    choose(multi().fromSource, 1);
    drop({album});
    EXPECT_EQ(timesOf(named).modified, Utc(2023, 1, 1, 18, 4, 5));
    EXPECT_EQ(timesOf(plain).modified, old);
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"1 changed, 4 without a date, 0 failed");

    // Each folder its newest item inside: the photo's time is now the newest.
    choose(multi().fromSource, 2);
    drop({album});
    EXPECT_EQ(timesOf(album).modified, Utc(2024, 4, 3, 9, 40, 12));
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"1 changed, 1 without a date, 0 failed");

    // Saved with the panel's settings and restored at the next start.
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"Mode", L"", nullptr, false)), L"FromItem");
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"FromItem", L"", nullptr, false)), L"NewestInside");
    close();
    build();
    chooseAction(2);
    EXPECT_TRUE(checked(multi().methods[METHOD_FROM_ITEM]));
    EXPECT_EQ(selection(multi().fromSource), 2);
    EXPECT_EQ(selectedValueOf(multi().clockZone.combo()), tokyo);
    EXPECT_TRUE(enabled(multi().clockZone.combo()));
    click(multi().methods[METHOD_SPECIFIC]);
    EXPECT_FALSE(enabled(multi().fromSource));
}
