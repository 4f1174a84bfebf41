#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "s/gui/IFont.h"
#include "s/gui/win/ComponentBase.h"
#include "s/gui/win/Font.h"

namespace s::gui::win
{

// Private messages of the widgets, sent to a widget's own native window through
// Toolkit::sendPrivate (numbers in the toolkit's private range, apart from its own: the
// toolkit's window procedures pass on only those this process sent).
enum : UINT
{
    // Sets the text (wParam: const wchar_t*, valid for the time of the send) on the
    // thread that owns the widget's native window.
    MSG_WIDGET_SET_TEXT = WM_APP + 40,
    // A change made by the program with its own notify choice (wParam: the widget's
    // value, lParam: 1 to notify), carried out on the window's thread, so that the
    // notify flag a widget switches off around it is only ever touched by that thread.
    // The text field takes wParam as const wchar_t*, the check box and radio button as
    // the new state.
    MSG_WIDGET_SET_QUIETLY = WM_APP + 43,
};

// What every widget shares on top of ComponentBase: the size rules, a text with its
// language-pack id, and a main font.
//
// Size rules: the measured content size (measureContent: the text extent in the font
// plus the widget's own decoration), a fixed width and height (-1 = none), width and
// height percentages of the parent's client size (-1 = none), and minimum and maximum
// settings (-1 = none). Min = fixed when set (widened to the measured width for widgets
// that fit their text, see fitsText), else the larger of the measured size and
// the minimum setting. Max = fixed when set, else parent client size x percent / 100
// (rounded half away from zero) with a percentage, else the larger of the minimum and
// the maximum setting.
//
// Text: kept with its id (-1 = a literal text). Attached to a window with a language
// pack, a widget with an id fetches its text at attachment and again whenever the
// language changes. A text set from another thread than the one owning the native
// window is carried over to that thread (MSG_WIDGET_SET_TEXT). A changed text or font
// measures the widget again and asks the parent to lay out when the size changed.
//
// The main font is made on first use (getFont) and belongs to the widget.
// Base is ComponentBase<I>, or ContainerBase<I> for widgets that hold children (a group
// box, the status bar).
//
// No member here is marked override: whether the size, text and font members override
// depends on I (a label's interface has them, a combo box's not), and a class that marks
// some of its overriders must mark them all.
template <class I, class Base = ComponentBase<I>> class WidgetBase : public Base
{
  public:
    // --- size rules ------------------------------------------------------------
    // Fixed, minimum and maximum settings are stated in 96-DPI pixels (Toolkit::scale).
    int getMinWidth()
    {
        return fixedWidth_ >= 0 ? stated(fixedWidth_) : std::max(measuredWidth(), this->scaled(minWidthSetting_));
    }
    int getMinHeight()
    {
        return fixedHeight_ >= 0 ? this->scaled(fixedHeight_)
                                 : std::max(measuredHeight(), this->scaled(minHeightSetting_));
    }
    int getMaxWidth()
    {
        if (fixedWidth_ >= 0)
            return stated(fixedWidth_);
        if (widthPercent_ >= 0 && this->parent_)
            return percentOf(this->parent_->getClientWidth(), widthPercent_);
        return std::max(this->getMinWidth(), this->scaled(maxWidthSetting_));
    }
    int getMaxHeight()
    {
        if (fixedHeight_ >= 0)
            return this->scaled(fixedHeight_);
        if (heightPercent_ >= 0 && this->parent_)
            return percentOf(this->parent_->getClientHeight(), heightPercent_);
        return std::max(this->getMinHeight(), this->scaled(maxHeightSetting_));
    }

    // Each clears the percentage of its axis (-1 = none).
    void setFixedWidth(int pixels)
    {
        fixedWidth_ = pixels;
        if (pixels >= 0)
            widthPercent_ = -1;
        sizeRulesChanged();
    }
    void setFixedHeight(int pixels)
    {
        fixedHeight_ = pixels;
        if (pixels >= 0)
            heightPercent_ = -1;
        sizeRulesChanged();
    }
    // Each clears the fixed size of its axis (-1 = none).
    void setWidthPercent(int percent)
    {
        widthPercent_ = percent;
        if (percent >= 0)
            fixedWidth_ = -1;
        sizeRulesChanged();
    }
    void setHeightPercent(int percent)
    {
        heightPercent_ = percent;
        if (percent >= 0)
            fixedHeight_ = -1;
        sizeRulesChanged();
    }
    // -1 = none.
    void setMinimumSize(int width, int height)
    {
        minWidthSetting_ = width;
        minHeightSetting_ = height;
        sizeRulesChanged();
    }
    void setMaximumSize(int width, int height)
    {
        maxWidthSetting_ = width;
        maxHeightSetting_ = height;
        sizeRulesChanged();
    }
    int getFixedWidth() const { return fixedWidth_; }
    int getFixedHeight() const { return fixedHeight_; }
    int getWidthPercent() const { return widthPercent_; }
    int getHeightPercent() const { return heightPercent_; }

    // --- text ------------------------------------------------------------------
    // The shown text; valid until the next change of text.
    virtual const wchar_t* getText() { return text_.c_str(); }
    virtual int getTextId() { return textId_; }
    // Takes the text by id from the window's language pack (at once when attached,
    // else at attachment); -1 keeps the current text as a literal one.
    virtual void setTextId(int textId)
    {
        textId_ = textId;
        if (textId != -1)
        {
            if (lang::Localizer* pack = localizer())
                applyText(pack->getText(textId));
        }
    }

    // --- main font -------------------------------------------------------------
    virtual Font* getFont()
    {
        if (!font_)
        {
            font_ = Font::Acquire();
            font_->setDpi(dpi());
            font_->setOwner(this->self());
        }
        return font_;
    }
    virtual void setFontSize(int code) { getFont()->applySizeCode(code); }
    virtual void setBold(bool on) { getFont()->setBold(on); }
    virtual void setItalic(bool on) { getFont()->setItalic(on); }
    virtual void setUnderline(bool on) { getFont()->setUnderline(on); }
    virtual void setStrikeOut(bool on) { getFont()->setStrikeOut(on); }
    virtual void setFace(const wchar_t* face) { getFont()->setFace(face); }
    virtual void setTextColour(int r, int g, int b) { getFont()->setTextColour(r, g, b); }

    // The language pack (re-text) and the fonts (re-measure) tell the widget here.
    void handleEvent(void* source, int kind)
    {
        (void)kind;
        if (!source || this->takeSkinEvent(source))
            return;
        if (isOwnFont(source))
        {
            fontChanged();
            return;
        }
        lang::Localizer* pack = localizer();
        if (pack && source == static_cast<void*>(pack))
            languageChanged(pack);
    }

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message)
        {
        case MSG_WIDGET_SET_TEXT:
            applyText(reinterpret_cast<const wchar_t*>(wParam));
            *result = 0;
            return true;
        case WM_DESTROY:
            this->handle_ = nullptr;
            return false;
        case MSG_DESTROY_NATIVE:
            if (this->handle_)
                DestroyWindow(this->handle_);
            *result = 0;
            return true;
        default:
            break;
        }
        if (wrapsControl())
            return false; // the platform control paints itself
        return Base::handleMessage(result, message, wParam, lParam);
    }

    // Half away from zero, as boxes round their percentages.
    static int percentOf(int size, int percent)
    {
        double v = static_cast<double>(size) * percent / 100.0;
        return static_cast<int>(v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
    }

  protected:
    ~WidgetBase()
    {
        if (font_)
            font_->Release();
        if (brush_)
            DeleteObject(brush_);
    }

    // The pool reset shared by the widgets (concrete classes call it from Reset).
    void resetWidget()
    {
        this->resetComponent();
        fixedWidth_ = fixedHeight_ = widthPercent_ = heightPercent_ = -1;
        minWidthSetting_ = minHeightSetting_ = maxWidthSetting_ = maxHeightSetting_ = -1;
        text_.clear();
        textId_ = -1;
        if (font_)
        {
            font_->Release();
            font_ = nullptr;
        }
        if (brush_)
        {
            DeleteObject(brush_);
            brush_ = nullptr;
        }
        measureDirty_ = true;
    }

    // True for widgets that wrap a platform control (it paints itself).
    virtual bool wrapsControl() const { return false; }
    // True for widgets whose measured width is the room their text needs (a label, a
    // button, a check box): for them a stated width is the least width, and a text that
    // needs more (a longer word of another language) widens them instead of being cut.
    // A stated width of 0 (a collapsed widget) stays 0.
    virtual bool fitsText() const { return false; }
    // A stated width in the widget's pixels, widened to the text where it fits its text.
    int stated(int width)
    {
        int pixels = this->scaled(width);
        return fitsText() && pixels > 0 ? std::max(pixels, measuredWidth()) : pixels;
    }

    lang::Localizer* localizer()
    {
        IWindow* w = this->window_;
        return (w && w->hasLocalizer()) ? w->getLocalizer() : nullptr;
    }

    bool onOwnThread()
    {
        return !this->handle_ || GetWindowThreadProcessId(this->handle_, nullptr) == GetCurrentThreadId();
    }

    virtual bool isOwnFont(void* source) { return font_ && source == static_cast<void*>(static_cast<IFont*>(font_)); }

    // Stores a new text (carried over to the native window's thread when needed);
    // nothing happens when it is unchanged. Answers whether it changed.
    bool applyText(const wchar_t* text)
    {
        if (!text)
            text = L"";
        if (passTextToOwnThread(text))
            return true;
        if (text_ == text)
            return false;
        text_ = text;
        textChanged();
        remeasure();
        return true;
    }
    // Carries a text set on another thread than the one owning the native window over to
    // that thread; answers whether it did (the text is then stored there).
    virtual bool passTextToOwnThread(const wchar_t* text)
    {
        if (!this->handle_ || onOwnThread())
            return false;
        Toolkit::sendPrivate(this->handle_, MSG_WIDGET_SET_TEXT, reinterpret_cast<WPARAM>(text), 0);
        return true;
    }
    // Whether the widget takes room in a window: its own native window exists (a widget
    // drawn in its host's says so too). Only then does a new size make the parent lay out.
    virtual bool hasPlaceInWindow() { return this->handle_ != nullptr; }
    // Shows the stored text. Every widget's native window carries it as its window text:
    // a wrapped control shows that; a widget that draws its text itself (a label, a group
    // box's caption) keeps it there for assistive tools (screen readers, UI automation
    // and outside drivers read the window text) and paints it anew.
    virtual void textChanged()
    {
        if (!this->handle_)
            return;
        SetWindowTextW(this->handle_, text_.c_str());
        if (!wrapsControl())
            this->redraw();
    }
    virtual void languageChanged(lang::Localizer* pack)
    {
        if (textId_ != -1)
            applyText(pack->getText(textId_));
    }
    // A property of a font changed: the control takes the new platform font.
    virtual void fontChanged()
    {
        // Sent at once: the control must not paint with the font just deleted.
        if (this->handle_ && wrapsControl() && font_)
            SendMessageW(this->handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->getHandle()), TRUE);
        remeasure();
        this->redraw();
    }
    // The content size: the text in the main font; widgets add their decoration.
    virtual void measureContent(int* width, int* height) { getFont()->measure(text_.c_str(), width, height); }

    // Measures again; when the size changed and the widget is in a tree, the parent
    // lays out again.
    void remeasure()
    {
        int w = 0, h = 0;
        measureContent(&w, &h);
        bool changed = measureDirty_ || w != measuredWidth_ || h != measuredHeight_;
        measuredWidth_ = w;
        measuredHeight_ = h;
        measureDirty_ = false;
        if (changed && hasPlaceInWindow() && this->parent_)
            this->parent_->childChanged();
    }
    void sizeRulesChanged()
    {
        if (hasPlaceInWindow() && this->parent_)
            this->parent_->childChanged();
    }
    int measuredWidth()
    {
        if (measureDirty_)
            remeasureQuietly();
        return measuredWidth_;
    }
    int measuredHeight()
    {
        if (measureDirty_)
            remeasureQuietly();
        return measuredHeight_;
    }
    void remeasureQuietly()
    {
        measureContent(&measuredWidth_, &measuredHeight_);
        measureDirty_ = false;
    }
    void markMeasureDirty() { measureDirty_ = true; }

    // The window's DPI changed: the fonts are made again for it (a change measures again
    // through fontChanged; the variants copy the main font) and the decoration, stated in
    // 96-DPI pixels, is measured again.
    void dpiChanged() { followDpi(); }
    void followDpi()
    {
        if (font_)
            font_->setDpi(dpi());
        markMeasureDirty();
    }
    // The DPI of the widget's window; the screen's while it is in no window.
    int dpi()
    {
        static const int screen = Toolkit::dpiOf(nullptr);
        return this->window_ ? this->window_->getDpi() : screen;
    }
    // A pixel value stated for 96 DPI in the widget's physical pixels (−1 stays none).
    int scaled(int pixels) { return pixels <= 0 ? pixels : Toolkit::scale(pixels, dpi()); }

    // Fetches the text of the id from the pack of the window just joined and takes the
    // window's DPI.
    void attached()
    {
        followDpi();
        if (textId_ != -1)
        {
            if (lang::Localizer* pack = localizer())
                applyText(pack->getText(textId_));
        }
    }

    // Gives a wrapped control its font once it exists (after the base's own step: a
    // container attaches its children there).
    void nativeCreated()
    {
        Base::nativeCreated();
        if (wrapsControl())
            SendMessageW(this->handle_, WM_SETFONT, reinterpret_cast<WPARAM>(getFont()->getHandle()), FALSE);
        else if (!text_.empty())
            SetWindowTextW(this->handle_, text_.c_str()); // made with an empty title
    }

    // The answer to a reflected WM_CTLCOLOR...: the text colour of the main font and a
    // brush of `colour` (kept by the widget); transparent paints without background.
    LRESULT colourAnswer(HDC dc, uint32_t colour, bool transparentText)
    {
        SetTextColor(dc, getFont()->getTextColour());
        if (transparentText)
            SetBkMode(dc, TRANSPARENT);
        else
        {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, colour);
        }
        if (!brush_ || brushColour_ != colour)
        {
            if (brush_)
                DeleteObject(brush_);
            brush_ = CreateSolidBrush(colour);
            brushColour_ = colour;
        }
        return reinterpret_cast<LRESULT>(brush_);
    }
    // The common WM_CTLCOLOR answer: a transparent widget takes its parent's background
    // colour (the hollow brush without a parent), else its own background colour.
    LRESULT defaultColourAnswer(HDC dc)
    {
        if (this->transparent_)
        {
            if (!this->parent_)
            {
                SetTextColor(dc, getFont()->getTextColour());
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
            }
            return colourAnswer(dc, this->parent_->getBackgroundColour(), true);
        }
        return colourAnswer(dc, this->shownBackground(), false);
    }

    std::wstring text_;
    int textId_ = -1;
    Font* font_ = nullptr; // owned
    int fixedWidth_ = -1, fixedHeight_ = -1, widthPercent_ = -1, heightPercent_ = -1;
    int minWidthSetting_ = -1, minHeightSetting_ = -1, maxWidthSetting_ = -1, maxHeightSetting_ = -1;
    int measuredWidth_ = 0, measuredHeight_ = 0;
    bool measureDirty_ = true;
    HBRUSH brush_ = nullptr; // the WM_CTLCOLOR brush, owned
    uint32_t brushColour_ = 0;
};

} // namespace s::gui::win
