// The drop dialog's command 10000 shows the skinned version-information window.
#include <gtest/gtest.h>

#include <windows.h>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/drawer/Skinner.h"
#include "s/reg/RegTestKey.h"

using s::app::win::AppBase;
using s::app::win::AppWindow;
using s::gui::dialogs::About3;
using s::gui::dialogs::dragndrop::Dialog;
using s::gui::win::Window;

TEST(VersionCommand, ShowsTheSkinnedWindowAndANewOneEachTime)
{
    testgui::MessageBoxes::install();
    regtest::TestKey key;
    AppBase* app = AppBase::Acquire();
    ASSERT_TRUE(app->init(nullptr, key.Path().c_str()));
    AppWindow* main = AppWindow::Acquire();
    main->init(app, L"MainWindow", app->getSoftwareType(), 600, 550, Window::ACTION_CLOSE, app->getSkinner(), nullptr);
    Dialog* dialog = Dialog::Acquire();
    dialog->bind(main, L"MainWindow", app->getLocalizer(), app->getSettings(), app->getSkinner());
    ASSERT_TRUE(dialog->buildAndShow());
    HWND mainHandle = dialog->getWindow()->getHandle();

    dialog->runMenuCommand(10000);
    About3* about = dialog->getVersionDialog();
    ASSERT_NE(about, nullptr);
    Window* shown = about->getWindow();
    ASSERT_NE(shown, nullptr);
    testgui::settle(shown->getHandle());
    EXPECT_TRUE(IsWindowVisible(shown->getHandle()));
    EXPECT_FALSE(IsWindowEnabled(mainHandle));
    ASSERT_TRUE(shown->hasSkinner());
    EXPECT_STREQ(shown->getSkinner()->getFamily(), L"ThinWindow");
    EXPECT_STREQ(shown->getSkinner()->getCurrentSchemeName(), L"Classic LG");
    EXPECT_FALSE(dialog->getWindow()->hasSkinner()) << "the main window keeps the platform's look";

    SendMessageW(shown->getHandle(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 300 && !shown->isClosed(); ++i)
        Sleep(10);
    EXPECT_TRUE(IsWindowEnabled(mainHandle));
    HWND first = shown->getHandle();

    dialog->runMenuCommand(10000);
    EXPECT_EQ(dialog->getVersionDialog(), about) << "the dialog object is kept";
    ASSERT_NE(about->getWindow(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindowVisible(about->getWindow()->getHandle()));
    SendMessageW(about->getWindow()->getHandle(), WM_CLOSE, 0, 0);

    dialog->Release();
    main->Release();
    app->Release();
}
