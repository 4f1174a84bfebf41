#include "s/gui/win/GroupBox.h"

#include "s/gui/drawer/IGroupBox.h"
#include "s/gui/drawer/ISkin.h"

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
    contentOriginOf_ = nullptr;
}

int GroupBox::captionHeight()
{
    return std::max(measuredHeight(), bottom()) + scaled(2);
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
    // The caption's height and the margins follow the font and the DPI: the content's
    // place inside the frame is taken anew each time.
    IComponent* content = getChild(0);
    if (content != contentOriginOf_ || contentOriginX_ != childOriginX() || contentOriginY_ != childOriginY())
    {
        contentOriginOf_ = content;
        contentOriginX_ = childOriginX();
        contentOriginY_ = childOriginY();
        content->setOrigin(contentOriginX_, contentOriginY_);
    }
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
        return scaled(fixedWidth_);
    IComponent* content = getChild(0);
    int inner = content ? content->getMinWidth() : 0;
    return std::max(measuredWidth() + 2 * (scaled(CAPTION_LEFT) + scaled(CAPTION_PAD)), inner + 2 * side());
}

int GroupBox::getMinHeight()
{
    if (fixedHeight_ >= 0)
        return scaled(fixedHeight_);
    IComponent* content = getChild(0);
    return captionHeight() + bottom() + (content ? content->getMinHeight() : 0);
}

int GroupBox::getMaxWidth()
{
    if (fixedWidth_ >= 0)
        return scaled(fixedWidth_);
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
    return std::max(getMinWidth(), inner + 2 * side());
}

int GroupBox::getMaxHeight()
{
    if (fixedHeight_ >= 0)
        return scaled(fixedHeight_);
    if (heightPercent_ >= 0 && parent_)
        return percentOf(parent_->getClientHeight(), heightPercent_);
    IComponent* content = getChild(0);
    int inner = 0;
    if (Box* box = dynamic_cast<Box*>(content))
        inner = std::max(box->getContentMinHeight(), box->getContentPrefHeight()) + box->getHeight() -
                box->getClientHeight();
    else if (content)
        inner = content->getMaxHeight();
    return std::max(getMinHeight(), captionHeight() + bottom() + inner);
}

void GroupBox::paintInto(HDC dc)
{
    WidgetBase::paintInto(dc); // background, or the parent's backdrop when transparent
    RECT client;
    GetClientRect(handle_, &client);
    int caption = captionHeight();
    if (skin_)
    {
        unsigned flags = IsWindowEnabled(handle_) ? 0u : drawer::IDrawer::FLAG_DISABLED;
        skin_->getGroupBoxDrawer()->draw(dc, 0, 0, client.right, client.bottom, text_.c_str(),
                                         getFont()->getHandle(), flags, drawer::IDrawer::DEFAULT_COLOUR);
        return;
    }
    RECT frame{0, caption / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (text_.empty())
        return;
    int w = measuredWidth();
    const int captionLeft = scaled(CAPTION_LEFT), pad = scaled(CAPTION_PAD);
    RECT behind{captionLeft, 0, std::min<LONG>(client.right, captionLeft + w + 2 * pad), caption};
    uint32_t colour = transparent_ && parent_ ? parent_->getBackgroundColour() : shownBackground();
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &behind, brush);
    DeleteObject(brush);
    GdiText::Shared()->drawText(dc, behind.left + pad, 0, behind.right, caption - 2, text_.c_str(),
                                getFont(), drawer::IText::ALIGN_LEFT);
}

} // namespace s::gui::win
