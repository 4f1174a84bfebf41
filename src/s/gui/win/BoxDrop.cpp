// The drops of a box: files from the shell (WM_DROPFILES) and links through OLE.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "s/gui/win/Box.h"
#include "s/gui/win/UrlDropTarget.h"
#include "s/str/strarray/StrArray.h"

namespace s::gui::win
{

void Box::clearDrops()
{
    if (urlTarget_)
        urlTarget_->Release();
    urlTarget_ = nullptr;
    if (droppedFiles_)
        droppedFiles_->Release();
    droppedFiles_ = nullptr;
    if (droppedUrls_)
        droppedUrls_->Release();
    droppedUrls_ = nullptr;
}

void Box::setAcceptFiles(bool on)
{
    acceptFiles_ = on;
    if (handle_)
        DragAcceptFiles(handle_, on ? TRUE : FALSE);
}

void Box::setDropTarget(bool on)
{
    dropTarget_ = on;
    if (onOtherThread())
        Toolkit::sendPrivate(handle_, MSG_UPDATE_DROP_TARGET, 0, 0);
    else
        updateDropTarget();
}

void Box::updateDropTarget()
{
    if (dropTarget_ && handle_ && !urlTarget_)
    {
        urlTarget_ = UrlDropTarget::Acquire();
        urlTarget_->setOwner(self());
        if (!urlTarget_->registerFor(handle_))
        {
            urlTarget_->Release();
            urlTarget_ = nullptr;
        }
    }
    else if (!dropTarget_ && urlTarget_)
    {
        urlTarget_->Release(); // revokes the registration
        urlTarget_ = nullptr;
    }
}

void Box::handleEvent(void* source, int kind)
{
    if (urlTarget_ && source == static_cast<void*>(urlTarget_) && kind == UrlDropTarget::EVENT_DROPPED)
    {
        // Through the box's own message handling, so the listeners always run inside it.
        Toolkit::sendPrivate(handle_, MSG_URL_DROPPED, 0, 0);
        return;
    }
    PanelContainer<IBox>::handleEvent(source, kind);
}

void Box::onUrlDropped()
{
    if (!urlTarget_)
        return;
    if (!droppedUrls_)
        droppedUrls_ = str::strarray::StrArray::Acquire();
    droppedUrls_->RemoveAll();
    droppedUrls_->Add(urlTarget_->getUrl());
    urlDropListeners_.fire(self(), EVENT_URLS_DROPPED);
}

void Box::onDropFiles(HDROP__* drop)
{
    if (!drop)
        return;
    if (!droppedFiles_)
        droppedFiles_ = str::strarray::StrArray::Acquire();
    droppedFiles_->RemoveAll();
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<wchar_t> path;
    for (UINT i = 0; i < count; ++i)
    {
        // Each path is taken whole, whatever its length: a cut path would name
        // another item, or none.
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        path.assign(static_cast<size_t>(length) + 1, L'\0');
        UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        droppedFiles_->Add(path.data(), static_cast<int32_t>(copied));
    }
    dropListeners_.fire(self(), EVENT_FILES_DROPPED);
    DragFinish(drop);
}

} // namespace s::gui::win
