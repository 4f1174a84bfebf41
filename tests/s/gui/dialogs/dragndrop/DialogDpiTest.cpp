// The main window at the prefix's DPI: it opens at its 96-DPI size scaled, keeps its layout
// inside the window, and a size it saved comes back as it was. MainWindowDpiEnv (its own
// ctest entry, run alone) runs MainWindowAtDpiEnv at 96 and then at 144 DPI in processes
// of this program; each writes main-window-<dpi>dpi.bmp into the build folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "s/gui/DpiTestSupport.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/WindowShot.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/reg/MappedData.h"

using s::gui::dialogs::dragndrop::Dialog;
using s::gui::win::Toolkit;

namespace
{

constexpr wchar_t STORE_PATH[] = L"Software\\KaironTests\\MainWindowDpi";
constexpr wchar_t VIEW[] = L"MainWindow\\View";
// Where the run at 96 DPI leaves the size it measured for the run at 144 DPI.
constexpr wchar_t MEASURED[] = L"Measured";

class PlainDialog : public Dialog
{
    S_CLASS_ID(L"tests_PlainDialog")
    S_POOLED(PlainDialog)

  public:
    bool getDefaultCompactView() override { return false; }
};

// Every visible native window under `parent` lies inside `area` (client coordinates of
// `top`); the first one that does not is named in *outside.
bool allInside(HWND top, HWND parent, const RECT& area, std::wstring* outside)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (!IsWindowVisible(child))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
        if (r.left < area.left || r.top < area.top || r.right > area.right || r.bottom > area.bottom)
        {
            wchar_t text[128] = {};
            GetWindowTextW(child, text, 128);
            *outside = std::wstring(text) + L" at " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
                       std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top);
            return false;
        }
        if (!allInside(top, child, area, outside))
            return false;
    }
    return true;
}

struct Opened
{
    PlainDialog* dialog = nullptr;
    explicit Opened(s::map::IMappedData* store, s::lang::Localizer* localizer)
    {
        dialog = PlainDialog::Acquire();
        dialog->bind(nullptr, L"MainWindow", localizer, store, nullptr);
        ok = dialog->buildAndShow();
        if (ok)
            testgui::settle(dialog->getWindow()->getHandle());
    }
    ~Opened() { dialog->Release(); }
    s::gui::win::Window* window() { return dialog->getWindow(); }
    bool ok = false;
};

} // namespace

TEST(MainWindowDpiEnv, OpensAt96And144Dpi)
{
    if (testgui::childDpi() != 0)
        GTEST_SKIP() << "the runs it starts";
    RegDeleteTreeW(HKEY_CURRENT_USER, STORE_PATH);
    EXPECT_EQ(0, testgui::runAtDpi(96, L"MainWindowAtDpiEnv.*"));
    EXPECT_EQ(0, testgui::runAtDpi(144, L"MainWindowAtDpiEnv.*"));
    RegDeleteTreeW(HKEY_CURRENT_USER, STORE_PATH);
}

TEST(MainWindowAtDpiEnv, OpensAtItsSizeScaledWithEverythingInsideAndKeepsItsSavedSize)
{
    const int dpi = testgui::childDpi();
    if (dpi == 0)
        GTEST_SKIP() << "started by MainWindowDpiEnv";
    testgui::MessageBoxes::install();
    ASSERT_EQ(dpi, Toolkit::dpiOf(nullptr)) << "the prefix's LogPixels did not take";
    s::reg::MappedData* store = s::reg::openRegistryStore((std::wstring(STORE_PATH) + L"\\" + std::to_wstring(dpi)).c_str());
    store->removeSection(L"");
    s::lang::Localizer* localizer = s::lang::Localizer::loadFromResource(nullptr);
    localizer->selectLanguage(L"English");
    s::reg::MappedData* measured = s::reg::openRegistryStore(STORE_PATH);

    int width = 0, height = 0;
    {
        Opened opened(store, localizer);
        ASSERT_TRUE(opened.ok);
        s::gui::win::Window* window = opened.window();
        HWND h = window->getHandle();
        EXPECT_EQ(dpi, window->getDpi());
        width = window->getWidth();
        height = window->getHeight();
        RECT client;
        GetClientRect(h, &client);
        std::wstring outside;
        EXPECT_TRUE(allInside(h, h, client, &outside)) << "clipped: " << std::string(outside.begin(), outside.end());
        std::string shot = "main-window-" + std::to_string(dpi) + "dpi.bmp";
        EXPECT_TRUE(testgui::saveWindowShot(h, shot.c_str()));
        if (dpi == 96)
        {
            measured->setS32(MEASURED, L"Width", width);
            measured->setS32(MEASURED, L"Height", height);
        }
        else
        {
            // The view's stated size scaled, or the content's minimum where that is larger;
            // the content's text is measured in fonts of the same points, whose pixels grow
            // by about the factor, not exactly.
            const int width96 = measured->getS32(MEASURED, L"Width", -1);
            const int height96 = measured->getS32(MEASURED, L"Height", -1);
            ASSERT_GT(width96, 0) << "the run at 96 DPI left no size";
            EXPECT_GE(width, Toolkit::scale(450, dpi));
            EXPECT_GE(height, Toolkit::scale(450, dpi));
            EXPECT_NEAR(width96 * dpi / 96.0, width, width96 * dpi / 96.0 * 0.04);
            EXPECT_NEAR(height96 * dpi / 96.0, height, height96 * dpi / 96.0 * 0.04);
        }
        // Closing saves the size in the window's own pixels.
        SendMessageW(h, WM_CLOSE, 0, 0);
        EXPECT_EQ(width, store->getS32(VIEW, L"LargeWidth", -1));
        EXPECT_EQ(height, store->getS32(VIEW, L"LargeHeight", -1));
    }
    {
        // Opened again on the same screen, the saved size means what it meant.
        Opened again(store, localizer);
        ASSERT_TRUE(again.ok);
        EXPECT_EQ(width, again.window()->getWidth());
        EXPECT_EQ(height, again.window()->getHeight());
    }
    store->removeSection(L"");
    store->Release();
    measured->Release();
    localizer->Release();
}
