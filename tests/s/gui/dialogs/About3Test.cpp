// The version-information window driven as a user drives it: shown from the main window,
// closed with its buttons or its close box, links clicked; and pictures of it in three
// schemes for a person to look at.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Toolkit.h"
#include "s/reg/RegTestKey.h"

using s::app::IAppBase;
using s::app::win::AppBase;
using s::app::win::AppWindow;
using s::gui::dialogs::About3;
using s::gui::drawer::Skinner;
using s::gui::win::Window;

namespace
{

std::vector<std::wstring>& openedPages()
{
    static std::vector<std::wstring> pages;
    return pages;
}

bool recordPage(const wchar_t* address)
{
    openedPages().push_back(address);
    return true;
}

// The application services, the "AboutWindow" settings with a skin manager of their own,
// a main window to own the version window, and the dialog.
struct AboutFixture
{
    regtest::TestKey key;
    AppBase* app = AppBase::Acquire();
    AppWindow* settings = AppWindow::Acquire();
    Skinner* skinner = Skinner::newSkinSet(Skinner::FAMILY_THIN_WINDOW);
    testgui::TestWindow owner;
    About3* about = About3::Acquire();

    explicit AboutFixture(const wchar_t* softwareType = IAppBase::SOFTWARE_FREEWARE)
    {
        EXPECT_TRUE(app->init(nullptr, key.Path().c_str()));
        settings->init(app, L"AboutWindow", softwareType, 340, 285, Window::ACTION_CLOSE, skinner, L"Classic LG");
        about->bind(settings);
        owner->setBounds(60, 60, 300, 200);
        owner->setVisible(true, false);
        testgui::settle(owner.handle());
        s::app::win::AppBase::setShellOpenFunction(&recordPage);
        openedPages().clear();
    }
    ~AboutFixture()
    {
        about->Release();
        s::app::win::AppBase::setShellOpenFunction(nullptr);
        settings->Release();
        skinner->Release();
        app->Release();
    }
    HWND shownHandle() { return about->getWindow() ? about->getWindow()->getHandle() : nullptr; }
    bool waitClosed()
    {
        for (int i = 0; i < 300 && !about->getWindow()->isClosed(); ++i)
            Sleep(10);
        return about->getWindow()->isClosed();
    }
};

HWND handleOf(s::gui::IComponent* c)
{
    return s::gui::win::Toolkit::handleOf(c);
}

void click(HWND h)
{
    RECT r;
    GetClientRect(h, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(h, WM_MOUSEMOVE, 0, at);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
}

// Paints a window's client area and its visible children into dc (origin: the top
// window's client origin), as WM_PRINTCLIENT has each of them paint itself.
void printTree(HWND top, HWND window, HDC dc)
{
    POINT origin{0, 0};
    MapWindowPoints(window, top, &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, origin.x, origin.y, &old);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            printTree(top, child, dc);
}

// The window rendered into a 24-bit BMP file; answers the colours at the given points.
bool saveWindow(HWND window, const char* path, const std::vector<POINT>& points, std::vector<COLORREF>* colours)
{
    RECT client;
    GetClientRect(window, &client);
    int w = client.right, h = client.bottom;
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    printTree(window, window, mem);
    GdiFlush();
    for (const POINT& p : points)
        colours->push_back(GetPixel(mem, p.x, p.y));
    SelectObject(mem, old);
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * h;
    bool ok = false;
    if (FILE* f = std::fopen(path, "wb"))
    {
        ok = std::fwrite(&file, sizeof(file), 1, f) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, static_cast<size_t>(stride) * h, 1, f) == 1;
        std::fclose(f);
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    return ok;
}

} // namespace

TEST(About3, TheOwnerIsDisabledWhileShownAndEveryShowingMakesANewWindow)
{
    AboutFixture f;
    ASSERT_TRUE(f.about->show(f.owner.window));
    HWND first = f.shownHandle();
    ASSERT_NE(first, nullptr);
    testgui::settle(first);
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_FALSE(IsWindowEnabled(f.owner.handle()));
    EXPECT_STREQ(f.about->getWindow()->getTitle(), L"Version Information");
    EXPECT_GE(f.about->getWindow()->getWidth(), 340);

    // "Close" closes it and gives the owner back.
    SendMessageW(handleOf(f.about->getCloseButton()), BM_CLICK, 0, 0);
    ASSERT_TRUE(f.waitClosed());
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_TRUE(IsWindowEnabled(f.owner.handle()));

    // Showing again releases the earlier window and builds another.
    ASSERT_TRUE(f.about->show(f.owner.window));
    HWND second = f.shownHandle();
    testgui::settle(second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsWindowEnabled(f.owner.handle()));
    // The "#X" button closes it too.
    SendMessageW(handleOf(f.about->getXButton()), BM_CLICK, 0, 0);
    ASSERT_TRUE(f.waitClosed());
    EXPECT_TRUE(IsWindowEnabled(f.owner.handle()));

    // And the close box (WM_CLOSE) as well.
    ASSERT_TRUE(f.about->show(f.owner.window));
    EXPECT_FALSE(IsWindowEnabled(f.owner.handle()));
    SendMessageW(f.shownHandle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(f.waitClosed());
    EXPECT_TRUE(IsWindowEnabled(f.owner.handle()));
}

TEST(About3, TheDonationBoxIsShownForFreewareOnly)
{
    struct Case
    {
        const wchar_t* type;
        bool donation;
    };
    const Case cases[] = {{IAppBase::SOFTWARE_FREEWARE, true}, {IAppBase::SOFTWARE_SP, false},
                          {IAppBase::SOFTWARE_PRO, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(c.type));
        AboutFixture f(c.type);
        ASSERT_TRUE(f.about->show(f.owner.window));
        testgui::settle(f.shownHandle());
        EXPECT_EQ(f.about->getDonationLink() != nullptr, c.donation);
        if (c.donation)
        {
            EXPECT_TRUE(IsWindowVisible(handleOf(f.about->getDonationLink())));
        }
        SendMessageW(f.shownHandle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(f.waitClosed());
    }
}

TEST(About3, LinksOpenTheirPages)
{
    AboutFixture f;
    ASSERT_TRUE(f.about->show(f.owner.window));
    testgui::settle(f.shownHandle());
    click(handleOf(f.about->getAddressLink()));
    click(handleOf(f.about->getDonationLink()));
    testgui::settle(f.shownHandle());
    ASSERT_EQ(openedPages().size(), 2u);
    EXPECT_EQ(openedPages()[0], L"https://vesk.example.org/");
    EXPECT_EQ(openedPages()[1], L"https://kairon.example.org/donate");
    SendMessageW(f.shownHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.waitClosed());
}

TEST(About3, PicturesInThreeSchemes)
{
    struct Case
    {
        const wchar_t* scheme;
        const char* file;
        COLORREF background, frame;
    };
    const Case cases[] = {
        {L"Classic LG", "about-classic-lg.bmp", RGB(0x74, 0x74, 0x74), RGB(0x11, 0x11, 0x11)},
        {L"White", "about-white.bmp", RGB(0xFF, 0xFF, 0xFF), RGB(0x44, 0x44, 0x44)},
        {L"Khaki", "about-khaki.bmp", RGB(0x3E, 0x5C, 0x00), RGB(0x92, 0xB9, 0x41)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        AboutFixture f;
        f.settings->setSavedSkin(c.scheme);
        ASSERT_TRUE(f.about->show(f.owner.window));
        HWND h = f.shownHandle();
        testgui::settle(h);
        Sleep(200);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testgui::settle(h);
        EXPECT_STREQ(f.skinner->getCurrentSchemeName(), c.scheme);
        std::vector<COLORREF> colours;
        ASSERT_TRUE(saveWindow(h, c.file, {{0, 0}, {20, 8}}, &colours));
        EXPECT_EQ(colours[0], c.frame) << "the frame line";
        EXPECT_EQ(colours[1], c.background) << "the window background left of the heading";
        SendMessageW(h, WM_CLOSE, 0, 0);
        EXPECT_TRUE(f.waitClosed());
    }
}
