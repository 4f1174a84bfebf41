#include "s/gui/win/GroupBox.h"

#include "s/gui/layout/Arrange.h"
#include "s/gui/win/GdiText.h"

namespace s::gui::win
{

namespace
{
// The caption's distance from the frame's left edge and the room around its text.
constexpr int CAPTION_LEFT = 8;
constexpr int CAPTION_PAD = 3;
} // namespace

void GroupBox::Reset()
{
    resetContainer();
    resetWidget();
    resetPanel();
}

int GroupBox::captionHeight()
{
    return std::max(measuredHeight(), BOTTOM) + 2;
}

void GroupBox::setContent(IBox* content)
{
    if (IComponent* old = getChild(0))
    {
        if (old == content)
            return;
        remove(old, true);
    }
    if (content)
        add(content);
}

IBox* GroupBox::getContent()
{
    return dynamic_cast<IBox*>(getChild(0));
}

void GroupBox::doLayout()
{
    if (carryLayout() || !layoutAllowed() || getChildCount() == 0)
        return;
    ++depth_;
    layout::arrangeColumn(self(), 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    --depth_;
}

void GroupBox::childChanged()
{
    doLayout();
    if (handle_ && parent_ && !creating_)
        parent_->childChanged();
}

int GroupBox::getMinWidth()
{
    if (fixedWidth_ >= 0)
        return fixedWidth_;
    IComponent* content = getChild(0);
    int inner = content ? content->getMinWidth() : 0;
    return std::max(measuredWidth() + 2 * (CAPTION_LEFT + CAPTION_PAD), inner + 2 * SIDE);
}

int GroupBox::getMinHeight()
{
    if (fixedHeight_ >= 0)
        return fixedHeight_;
    IComponent* content = getChild(0);
    return captionHeight() + BOTTOM + (content ? content->getMinHeight() : 0);
}

int GroupBox::getMaxWidth()
{
    if (fixedWidth_ >= 0)
        return fixedWidth_;
    if (widthPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientWidth(), widthPercent_);
    IComponent* content = getChild(0);
    // A content that fills its parent would follow the group box's own width: its
    // measured size counts instead.
    int inner = 0;
    if (Box* box = dynamic_cast<Box*>(content))
        inner = std::max(box->getContentMinWidth(), box->getContentPrefWidth()) + box->getWidth() -
                box->getClientWidth();
    else if (content)
        inner = content->getMaxWidth();
    return std::max(getMinWidth(), inner + 2 * SIDE);
}

int GroupBox::getMaxHeight()
{
    if (fixedHeight_ >= 0)
        return fixedHeight_;
    if (heightPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientHeight(), heightPercent_);
    IComponent* content = getChild(0);
    int inner = 0;
    if (Box* box = dynamic_cast<Box*>(content))
        inner = std::max(box->getContentMinHeight(), box->getContentPrefHeight()) + box->getHeight() -
                box->getClientHeight();
    else if (content)
        inner = content->getMaxHeight();
    return std::max(getMinHeight(), captionHeight() + BOTTOM + inner);
}

void GroupBox::paintInto(HDC dc)
{
    WidgetBase::paintInto(dc); // background, or the parent's backdrop when transparent
    RECT client;
    GetClientRect(handle_, &client);
    int caption = captionHeight();
    RECT frame{0, caption / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (text_.empty())
        return;
    int w = measuredWidth();
    RECT behind{CAPTION_LEFT, 0, std::min<LONG>(client.right, CAPTION_LEFT + w + 2 * CAPTION_PAD), caption};
    uint32_t colour = transparent_ && parent_ ? parent_->getBackgroundColour() : background_;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &behind, brush);
    DeleteObject(brush);
    GdiText::Shared()->drawText(dc, behind.left + CAPTION_PAD, 0, behind.right, caption - 2, text_.c_str(),
                                getFont(), drawer::IText::ALIGN_LEFT);
}

} // namespace s::gui::win
