#include "s/gui/win/UrlDropTarget.h"

#include "s/gui/events/IEventListener.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::win
{

UrlDropTarget::UrlDropTarget() : url_(str::strbuffer::StrBuffer::Acquire())
{
    com_.outer = this;
}

UrlDropTarget::~UrlDropTarget()
{
    revoke();
    url_->Release();
}

void UrlDropTarget::Reset()
{
    revoke();
    owner_ = nullptr;
    linkOffered_ = false;
    url_->Clear();
}

CLIPFORMAT UrlDropTarget::wideFormat()
{
    static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocatorW"));
    return format;
}

CLIPFORMAT UrlDropTarget::narrowFormat()
{
    static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocator"));
    return format;
}

bool UrlDropTarget::registerFor(HWND window)
{
    revoke();
    narrowFormat(); // both formats are known from the first target on
    if (!window || FAILED(RegisterDragDrop(window, &com_)))
        return false;
    registered_ = window;
    return true;
}

void UrlDropTarget::revoke()
{
    if (!registered_)
        return;
    RevokeDragDrop(registered_);
    registered_ = nullptr;
}

const wchar_t* UrlDropTarget::getUrl() const
{
    return url_->CStr();
}

bool UrlDropTarget::offersUrl(IDataObject* data)
{
    if (!data)
        return false;
    FORMATETC format{wideFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data->QueryGetData(&format) == S_OK;
}

bool UrlDropTarget::readUrl(IDataObject* data, str::strbuffer::StrBuffer* out)
{
    out->Clear();
    if (!data)
        return false;
    FORMATETC format{wideFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK)
        return false;
    bool read = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
    {
        // Up to the terminating zero, but never past the block: a sender may leave
        // the zero out.
        SIZE_T units = GlobalSize(medium.hGlobal) / sizeof(wchar_t);
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal)))
        {
            SIZE_T length = 0;
            while (length < units && text[length] != L'\0')
                ++length;
            out->Append(text, static_cast<int32_t>(length));
            GlobalUnlock(medium.hGlobal);
            read = true;
        }
    }
    ReleaseStgMedium(&medium);
    return read;
}

HRESULT STDMETHODCALLTYPE UrlDropTarget::Com::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget))
    {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE UrlDropTarget::Com::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    outer->linkOffered_ = offersUrl(data);
    if (effect)
        *effect = outer->linkOffered_ ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UrlDropTarget::Com::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = outer->linkOffered_ ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UrlDropTarget::Com::DragLeave()
{
    outer->linkOffered_ = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UrlDropTarget::Com::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    outer->linkOffered_ = false;
    bool read = readUrl(data, outer->url_);
    if (effect)
        *effect = read ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    if (read && outer->owner_)
        outer->owner_->handleEvent(outer, EVENT_DROPPED);
    return S_OK;
}

} // namespace s::gui::win
