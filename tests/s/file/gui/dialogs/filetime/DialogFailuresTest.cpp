// The file-time dialog and items it cannot read or reach, through real shell drops on the
// drop box (fixture in DialogTestSupport.h): a name with a colon is changed from its own
// times; dropped items that cannot be found are named in the end status instead of "Ready";
// the views show "unknown" for times they could not read; a vanished dropped folder gets a
// message about the dropped item.
#include "DialogTestSupport.h"

#include "s/sys/SystemError.h"

namespace
{

std::wstring reasonOf(uint32_t code)
{
    s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::Acquire();
    s::sys::AppendSystemErrorText(code, text);
    std::wstring words = text->CStr();
    text->Release();
    return words;
}

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

} // namespace

// "x:y" under Wine is a file of its own; "By Offset:" Add 1 Hour moves its times by an hour,
// not to 1970-01-01 01:00:00.
TEST_F(FileTimeDialog, AnOffsetOnANameWithAColonStartsFromItsOwnTimes)
{
    const std::wstring item = makeFile(L"x:y", 4);
    const Seconds modified = Utc(2011, 6, 7, 8, 9, 10), accessed = Utc(2011, 6, 8, 8, 9, 10);
    setTimes(item, modified, accessed);
    ASSERT_EQ(timesOf(item).modified, modified);
    build();
    chooseAddOneHour();
    chooseFields(true, true, true);
    drop({item});
    EXPECT_EQ(timesOf(item).modified, modified + 3600);
    EXPECT_EQ(timesOf(item).accessed, accessed + 3600);
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"Ready");

    // View & Copy shows its times, not 1970.
    chooseAction(0);
    drop({item});
    EXPECT_EQ(textOf(hwnd(copy().times[TIME_MODIFIED * 3 + 2])), L"2011-06-07 09:09:10 UTC");
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"Ready");
}

// a.txt, an item deleted after the drop, names the system cannot reach, c.txt: a and c
// change, the others are named with their reason; a hidden folder the boxes leave out is no
// failure.
TEST_F(FileTimeDialog, DroppedItemsThatCannotBeFoundAreNamedInTheStatus)
{
    const std::wstring a = makeFile(L"a.txt", 1), c = makeFile(L"c.txt", 1);
    const std::wstring hidden = makeFolder(L"hidden");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    const std::wstring gone = makeFile(L"gone.txt", 1);
    const std::wstring question = folder + L"\\q?.txt", star = folder + L"\\star*.txt";
    const Seconds before = Utc(2008, 2, 3, 4, 5, 6);
    for (const std::wstring& f : {a, c})
        setTimes(f, before, before);
    build();
    chooseAddOneHour();
    if (checked(multi().attributes[ATTR_HIDDEN]))
        click(multi().attributes[ATTR_HIDDEN]);
    ASSERT_TRUE(DeleteFileW(gone.c_str())); // gone between the drop and its run
    drop({a, gone, question, star, c, hidden});
    EXPECT_EQ(timesOf(a).modified, before + 3600);
    EXPECT_EQ(timesOf(c).modified, before + 3600);
    const std::wstring status = dialog->getStatusText();
    EXPECT_TRUE(contains(status, L"Done, but 3 item(s) could not be changed. ")) << status.c_str();
    EXPECT_TRUE(contains(status, gone + L": " + reasonOf(ERROR_FILE_NOT_FOUND))) << status.c_str();
    EXPECT_TRUE(contains(status, question + L": " + reasonOf(ERROR_INVALID_NAME))) << status.c_str();
    EXPECT_TRUE(contains(status, star + L": " + reasonOf(ERROR_INVALID_NAME))) << status.c_str();
    EXPECT_FALSE(contains(status, hidden)) << status.c_str();
    EXPECT_FALSE(contains(status, L"Ready")) << status.c_str();
    EXPECT_TRUE(boxes().empty());
    screenshot("filetime-failures.bmp");

    // Only the filtered folder: what the user asked for, "Ready".
    drop({hidden});
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"Ready");
}

// The views cannot read an item that is gone: they show "unknown" where its times would be,
// View & Edit offers nothing to apply, and the status names the item.
TEST_F(FileTimeDialog, TheViewsShowUnknownForAnItemTheyCannotRead)
{
    const std::wstring known = makeFile(L"known.txt", 1);
    setTimes(known, Utc(2010, 1, 1), Utc(2010, 1, 1));
    const std::wstring gone = folder + L"\\gone.txt";
    build();
    for (int action : {0, 1})
    {
        SCOPED_TRACE(action);
        chooseAction(action);
        drop({known});
        drop({gone});
        for (s::gui::win::TextField* field : copy().times)
            EXPECT_EQ(textOf(hwnd(field)), L"unknown");
        EXPECT_EQ(textOf(hwnd(copy().name)), L"gone.txt");
        EXPECT_EQ(textOf(hwnd(edit().name)), L"gone.txt (unknown)");
        for (s::gui::win::CheckBox* row : edit().rows)
            EXPECT_FALSE(enabled(row));
        EXPECT_FALSE(enabled(edit().apply));
        const std::wstring status = dialog->getStatusText();
        EXPECT_EQ(status, L"Done, but 1 item(s) could not be read. " + gone + L": " + reasonOf(ERROR_FILE_NOT_FOUND));
        screenshot(action == 0 ? "filetime-unknown-copy.bmp" : "filetime-unknown-edit.bmp");
    }
    // The item is read again once it is there.
    drop({known});
    EXPECT_EQ(textOf(hwnd(copy().times[TIME_MODIFIED * 3 + 2])), L"2010-01-01 00:00:00 UTC");
    EXPECT_TRUE(enabled(edit().rows[TIME_MODIFIED]));
    EXPECT_EQ(std::wstring(dialog->getStatusText()), L"Ready");
}

// A dropped folder that vanished with the folder it was in: the message is about the dropped
// item, and nothing changes (the other item dropped with it keeps its times).
TEST_F(FileTimeDialog, AVanishedDroppedFolderIsToldAsSuch)
{
    const std::wstring kept = makeFile(L"kept.txt", 1);
    setTimes(kept, Utc(2007, 7, 7), Utc(2007, 7, 7));
    const std::wstring parent = makeFolder(L"parent");
    const std::wstring inner = makeFolder(L"parent\\inner");
    const std::wstring dropped = makeFolder(L"parent\\inner\\dropped");
    build();
    chooseAction(2);
    removeTree(parent);
    drop({dropped, kept});
    const std::vector<std::wstring> shownBoxes = boxes();
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_TRUE(contains(shownBoxes[0], L"The dropped item can no longer be found")) << shownBoxes[0].c_str();
    EXPECT_TRUE(contains(shownBoxes[0], L"\"" + dropped + L"\"")) << shownBoxes[0].c_str();
    EXPECT_TRUE(contains(shownBoxes[0], reasonOf(ERROR_PATH_NOT_FOUND))) << shownBoxes[0].c_str();
    EXPECT_FALSE(contains(shownBoxes[0], L"output folder")) << shownBoxes[0].c_str();
    EXPECT_EQ(timesOf(kept).modified, Utc(2007, 7, 7));
    (void)inner;
}
