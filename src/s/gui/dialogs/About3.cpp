#include "s/gui/dialogs/About3.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "s/app/IAppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/IFont.h"
#include "s/app/win/AppBase.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/Image.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Toolkit.h"
#include "s/gui/win/Window.h"
#include "s/image/Image.h"
#include "s/lang/Localizer.h"

namespace s::gui::dialogs
{

using win::Box;
using win::Button;
using win::Label;
using win::Window;

namespace
{

// Insets of the window's column, the donation box, its frame and its panel, and the
// widths of the information rows' key column and spacers.
constexpr int WINDOW_INSET = 2;
constexpr int ROW_INSET = 7;
constexpr int FRAME_INSET = 2;
constexpr int PANEL_INSET = 3;
constexpr int KEY_WIDTH = 140;
constexpr int ROW_HEIGHT = 20;

Box* box(bool row)
{
    Box* b = Box::Acquire();
    if (row)
        b->setRowMode();
    else
        b->setColumnMode();
    return b;
}

// A gap: an empty box of a fixed size that shows what lies behind it.
Box* gap(int width, int height)
{
    Box* b = Box::Acquire();
    if (width >= 0)
        b->setFixedWidth(width);
    if (height >= 0)
        b->setFixedHeight(height);
    b->setTransparent(false);
    return b;
}

void colour(s::gui::IComponent* c, const int rgb[3])
{
    c->setBackgroundColour(rgb[0], rgb[1], rgb[2], false);
}

const int WHITE[3] = {255, 255, 255};

Label* label(const wchar_t* text, int sizeCode, const int background[3])
{
    Label* l = Label::Acquire();
    l->setText(text, false);
    if (sizeCode != 0)
        l->setFontSize(sizeCode);
    if (background)
        colour(l, background);
    else
        l->setTransparent(false);
    return l;
}

// `text` with line feeds before the words that would make a line wider than `width`.
std::wstring wrapped(s::gui::IFont* font, const wchar_t* text, int width)
{
    std::wstring out, line;
    std::wstring all = text ? text : L"";
    size_t at = 0;
    while (at < all.size())
    {
        size_t end = all.find(L' ', at);
        std::wstring word = all.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
        at = end == std::wstring::npos ? all.size() : end + 1;
        std::wstring tried = line.empty() ? word : line + L" " + word;
        int w = 0, h = 0;
        font->measure(tried.c_str(), &w, &h);
        if (w > width && !line.empty())
        {
            out += line + L"\n";
            line = word;
        }
        else
        {
            line = tried;
        }
    }
    return out + line;
}

} // namespace

About3::About3() = default;

About3::~About3()
{
    releaseWindow();
}

void About3::Reset()
{
    releaseWindow();
    owner_ = nullptr;
    appWindow_ = nullptr;
    localizer_ = nullptr;
    donationPage_ = -1;
}

void About3::releaseWindow()
{
    if (window_)
        window_->Release();
    window_ = nullptr;
    closeButton_ = xButton_ = nullptr;
    addressLink_ = donationLink_ = nullptr;
}

void About3::bind(app::win::AppWindow* appWindow)
{
    appWindow_ = appWindow;
    localizer_ = appWindow ? appWindow->getLocalizer() : nullptr;
}

const wchar_t* About3::text(int32_t id)
{
    return localizer_ ? localizer_->getText(id) : L"";
}

bool About3::show(gui::IWindow* owner)
{
    if (!appWindow_)
        return false;
    releaseWindow();
    owner_ = owner;
    window_ = Window::Acquire();
    if (!window_ || !window_->getHandle())
    {
        releaseWindow();
        return false;
    }
    window_->setResizable(false);
    window_->setClientEdge(false);
    window_->setMaximizeBox(false);
    window_->setMinimizeBox(false);
    window_->setLocalizer(localizer_);
    // The skin first: every component takes its drawer when it is attached.
    appWindow_->attachSkinner(window_);
    window_->setSettingsObject(appWindow_);
    window_->setTitleIds(TEXT_TITLE, -1);
    window_->addListener(IWindow::EVENT_CLOSE, this);
    build();

    for (int i = 0; i < 3; ++i)
        window_->doLayout();
    window_->setSize(std::max(window_->getWidth(), window_->getMinWidth()),
                     std::max(window_->getHeight(), window_->getMinHeight()));
    window_->moveIntoScreen();
    // The owner is disabled before the window can be closed (its close enables the owner
    // again): a close at once must not leave the owner disabled for good.
    if (HWND ownerHandle = owner_ ? win::Toolkit::handleOf(owner_) : nullptr)
        EnableWindow(ownerHandle, FALSE);
    window_->setVisible(true, false);
    window_->setSize(std::max(window_->getWidth(), window_->getMinWidth()),
                     std::max(window_->getHeight(), window_->getMinHeight()));
    return true;
}

void About3::build()
{
    const int32_t base = appWindow_->getTextBase();
    app::IAppBase* app = appWindow_->getAppBase();
    drawer::ISkin* skin = window_->hasSkinner() ? window_->getSkinner()->getCurrentSkin() : nullptr;

    Box* column = box(false);
    column->fillParent();
    column->setInsets(WINDOW_INSET);
    column->setTransparent(false);

    // Title row: the heading centred in the room left by the spacer and the "#X" button.
    Box* title = box(true);
    title->setWidthPercent(100);
    title->alignLeft();
    title->alignMiddle();
    title->setInsetTop(1);
    title->setInsetBottom(1);
    title->setTransparent(false);
    title->add(gap(54, 1));
    Box* headingRow = box(true);
    headingRow->setWidthPercent(100);
    headingRow->alignCentre();
    headingRow->alignMiddle();
    headingRow->setTransparent(false);
    Label* heading = label(L"", -104, nullptr);
    heading->setTextId(TEXT_TITLE);
    heading->setText(text(TEXT_TITLE), false);
    if (skin)
    {
        uint32_t ink = skin->getTextColour();
        heading->setTextColour(ink & 0xFF, (ink >> 8) & 0xFF, (ink >> 16) & 0xFF);
    }
    headingRow->add(heading);
    title->add(headingRow);
    title->add(gap(4, 1));
    xButton_ = Button::Acquire();
    xButton_->setImage(L"#X");
    xButton_->setFixedWidth(50);
    xButton_->setFixedHeight(14);
    xButton_->addClickListener(this);
    title->add(xButton_);
    column->add(title);
    column->add(gap(-1, 4));

    // The white panel: picture, icon and name, the information rows.
    Box* panel = box(false);
    panel->setWidthPercent(100);
    panel->setHeightPercent(100);
    panel->alignLeft();
    panel->alignTop();
    colour(panel, WHITE);
    s::image::Image* wide = app ? app->getWidePictureImage() : nullptr;
    win::Image* picture = win::Image::newImage(wide ? wide->getBitmap() : nullptr, 100);
    colour(picture, WHITE);
    panel->add(picture);

    Box* nameRow = box(true);
    nameRow->setFixedHeight(22);
    nameRow->setWidthPercent(100);
    nameRow->alignCentre();
    nameRow->alignMiddle();
    nameRow->setInsetsHorizontal(ROW_INSET);
    colour(nameRow, WHITE);
    HICON icon = app ? app->getHugeIcon() : nullptr;
    if (!icon && app)
        icon = app->getLargeIcon();
    win::Image* iconImage = win::Image::newIcon(icon, 16, 16);
    colour(iconImage, WHITE);
    nameRow->add(iconImage);
    Box* nameGap = gap(5, 1);
    colour(nameGap, WHITE);
    nameRow->add(nameGap);
    Label* name = label(L"", -103, WHITE);
    name->setTextId(base + BASE_NAME);
    name->setText(text(base + BASE_NAME), false);
    nameRow->add(name);
    panel->add(nameRow);
    Box* nameAfter = gap(-1, 3);
    colour(nameAfter, WHITE);
    panel->add(nameAfter);

    Box* info = box(false);
    info->setWidthPercent(100);
    info->setHeightPercent(100);
    info->alignCentre();
    info->alignTop();
    colour(info, WHITE);
    auto addRow = [&](int32_t keyId, Label* value) {
        Box* row = box(true);
        row->setFixedHeight(ROW_HEIGHT);
        row->setWidthPercent(100);
        row->alignLeft();
        row->alignMiddle();
        row->setInsetsHorizontal(ROW_INSET);
        colour(row, WHITE);
        Label* key = label(text(keyId), 0, WHITE);
        key->setTextId(keyId);
        key->setFixedWidth(KEY_WIDTH);
        row->add(key);
        row->add(value);
        info->add(row);
    };
    Label* version = label(text(base + BASE_VERSION), 0, WHITE);
    version->setTextId(base + BASE_VERSION);
    addRow(TEXT_VERSION, version);
    Label* updated = label(text(base + BASE_UPDATED), 0, WHITE);
    updated->setTextId(base + BASE_UPDATED);
    addRow(TEXT_LAST_UPDATED, updated);
    addressLink_ = label(text(TEXT_MAKER_PAGE), 0, WHITE);
    addressLink_->setTextId(TEXT_MAKER_PAGE);
    addressLink_->setTextColour(LINK_RGB[0], LINK_RGB[1], LINK_RGB[2]);
    addressLink_->setHoverTextColour(LINK_HOVER_RGB[0], LINK_HOVER_RGB[1], LINK_HOVER_RGB[2]);
    addressLink_->setHoverEffect(true);
    addressLink_->addClickListener(this);
    addRow(TEXT_URL, addressLink_);

    Box* afterRows = gap(-1, ROW_INSET);
    colour(afterRows, WHITE);
    info->add(afterRows);
    if (appWindow_->getSoftwareType() == app::IAppBase::SOFTWARE_FREEWARE)
    {
        donationPage_ = base + BASE_DONATION_PAGE;
        Box* holder = box(false);
        holder->setWidthPercent(100);
        holder->setInsetsHorizontal(ROW_INSET);
        colour(holder, WHITE);
        Box* frame = box(false);
        frame->setWidthPercent(100);
        frame->setInsets(FRAME_INSET);
        colour(frame, DONATION_FRAME_RGB);
        Box* inner = box(false);
        inner->setWidthPercent(100);
        inner->setInsets(PANEL_INSET);
        inner->setVerticalGap(2);
        colour(inner, DONATION_PANEL_RGB);
        Label* plea = label(L"", -1, DONATION_PANEL_RGB);
        plea->getFont()->setSmooth(true);
        int room = window_->getClientWidth() - 2 * (WINDOW_INSET + ROW_INSET + FRAME_INSET + PANEL_INSET);
        plea->setText(wrapped(plea->getFont(), text(base + BASE_DONATION_TEXT), std::max(120, room)).c_str(), false);
        inner->add(plea);
        donationLink_ = label(text(base + BASE_DONATION_LINK), -103, DONATION_PANEL_RGB);
        donationLink_->getFont()->setSmooth(true);
        donationLink_->setTextId(base + BASE_DONATION_LINK);
        donationLink_->setTextColour(LINK_RGB[0], LINK_RGB[1], LINK_RGB[2]);
        donationLink_->setHoverTextColour(LINK_HOVER_RGB[0], LINK_HOVER_RGB[1], LINK_HOVER_RGB[2]);
        donationLink_->setHoverEffect(true);
        donationLink_->addClickListener(this);
        inner->add(donationLink_);
        frame->add(inner);
        holder->add(frame);
        info->add(holder);
        Box* afterBox = gap(-1, ROW_INSET);
        colour(afterBox, WHITE);
        info->add(afterBox);
    }
    panel->add(info);
    column->add(panel);
    column->add(gap(-1, 3));

    Box* closeRow = box(true);
    closeRow->setWidthPercent(100);
    closeRow->alignCentre();
    closeRow->setTransparent(false);
    closeButton_ = Button::Acquire();
    closeButton_->setTextId(TEXT_CLOSE);
    closeButton_->setText(text(TEXT_CLOSE));
    closeButton_->setFixedWidth(100);
    closeButton_->setFixedHeight(20);
    closeButton_->addClickListener(this);
    closeRow->add(closeButton_);
    column->add(closeRow);

    window_->add(column);
}

void About3::handleEvent(void* source, int kind)
{
    if (!window_ || !source)
        return;
    if (source == static_cast<void*>(static_cast<gui::IWindow*>(window_)))
    {
        if (kind == IWindow::EVENT_CLOSE)
        {
            if (HWND ownerHandle = owner_ ? win::Toolkit::handleOf(owner_) : nullptr)
                EnableWindow(ownerHandle, TRUE);
        }
        return;
    }
    if ((closeButton_ && source == closeButton_->self()) || (xButton_ && source == xButton_->self()))
    {
        window_->close();
        return;
    }
    if (addressLink_ && source == addressLink_->self())
    {
        s::app::win::AppBase::openAddress(addressLink_->getText());
        return;
    }
    if (donationLink_ && source == donationLink_->self())
        s::app::win::AppBase::openAddress(text(donationPage_));
}

} // namespace s::gui::dialogs
