#include "s/gui/win/StatusBar.h"

#include "s/gui/drawer/IStatusBar.h"
#include "s/gui/drawer/ISkin.h"

#include "s/gui/layout/Arrange.h"

namespace s::gui::win
{

void StatusBar::Reset()
{
    resetContainer(); // the panes go back to their pool with the other children
    panes_.clear();
    contentMinWidth_ = contentMinHeight_ = contentPrefWidth_ = contentPrefHeight_ = 0;
    resetPanel();
}

Label* StatusBar::getPane(int pane)
{
    if (pane < 0)
        return nullptr;
    while (static_cast<int>(panes_.size()) <= pane)
    {
        Label* label = Label::Acquire();
        label->setTransparent(false);
        panes_.push_back(label);
        add(label);
    }
    return panes_[static_cast<size_t>(pane)];
}

void StatusBar::setText(int pane, const wchar_t* text)
{
    if (Label* label = getPane(pane))
        label->setText(text, true);
}

void StatusBar::setTextId(int pane, int textId)
{
    if (Label* label = getPane(pane))
        label->setTextId(textId);
}

const wchar_t* StatusBar::getText(int pane)
{
    if (pane < 0 || pane >= static_cast<int>(panes_.size()))
        return L"";
    return panes_[static_cast<size_t>(pane)]->getText();
}

int StatusBar::getMaxWidth()
{
    if (parent_)
        return std::max(getMinWidth(), parent_->getClientWidth());
    return std::max(contentMinWidth_, contentPrefWidth_) + 2 * INSET_SIDE;
}

void StatusBar::doLayout()
{
    if (carryLayout() || !layoutAllowed())
        return;
    ++depth_;
    contentMinWidth_ = contentMinHeight_ = contentPrefWidth_ = contentPrefHeight_ = 0;
    if (getChildCount() > 0)
        layout::arrangeRow(self(), 0, 1, GAP, &contentMinWidth_, &contentMinHeight_, &contentPrefWidth_,
                           &contentPrefHeight_);
    --depth_;
}

void StatusBar::childChanged()
{
    int oldHeight = getMaxHeight();
    doLayout();
    // A taller pane makes the bar taller: the window places it again.
    if (handle_ && parent_ && getMaxHeight() != oldHeight && !creating_)
        parent_->childChanged();
}

void StatusBar::paintInto(HDC dc)
{
    PanelContainer<IStatusBar>::paintInto(dc);
    RECT client;
    GetClientRect(handle_, &client);
    if (skin_)
    {
        skin_->getStatusBarDrawer()->draw(dc, 0, 0, client.right, client.bottom);
        return;
    }
    DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
}

} // namespace s::gui::win
