#pragma once
#include <windows.h>
#include <ole2.h>

#include <atomic>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer
{
class StrBuffer;
}
namespace s::gui::events
{
class IEventListener;
}

namespace s::gui::win
{

// The OLE drop target of a box that takes dropped links (internet shortcuts dragged
// from a browser). Dragging data that offers "UniformResourceLocatorW" over the box is
// answered with the link effect, anything else with none; a drop reads that wide URL
// (within the size of its memory block, so a text without its terminating zero is
// never read past the end) and tells the owner: handleEvent(this target, EVENT_DROPPED).
// The 8-bit "UniformResourceLocator" is registered but never read.
//
// Pooled: the box takes one when its native window exists and its flag is on,
// registers it (registerFor, on the window's thread, where OLE was initialised) and
// revokes and releases it when the window goes or the flag is cleared.
class UrlDropTarget : public base::IObject, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_UrlDropTarget")
    S_POOLED(UrlDropTarget)

  public:
    enum
    {
        EVENT_DROPPED = 3
    };

    void Reset() override;

    void setOwner(events::IEventListener* owner) { owner_ = owner; }
    // RegisterDragDrop for `window`; false when OLE refused.
    bool registerFor(HWND window);
    // RevokeDragDrop of the window registered for (nothing when none).
    void revoke();
    // The URL of the last drop (empty before any).
    const wchar_t* getUrl() const;
    // The platform face (what the window has registered).
    IDropTarget* getDropTarget() { return &com_; }

    // The format ids, registered once per process.
    static CLIPFORMAT wideFormat();
    static CLIPFORMAT narrowFormat();
    // Whether `data` offers the wide URL in global memory.
    static bool offersUrl(IDataObject* data);
    // Reads the wide URL of `data` into `out` (cleared first); false when not offered.
    static bool readUrl(IDataObject* data, str::strbuffer::StrBuffer* out);

  protected:
    UrlDropTarget();
    ~UrlDropTarget() override;

  private:
    // The COM face. Its reference count only tracks OLE's references: the object's
    // life is the box's (pool), so the count never deletes anything.
    struct Com : IDropTarget
    {
        UrlDropTarget* outer = nullptr;
        std::atomic<ULONG> refs{0};
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
        ULONG STDMETHODCALLTYPE Release() override { return --refs; }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override;
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
    };

    Com com_;
    bool linkOffered_ = false; // by the data of the drag in progress
    HWND registered_ = nullptr;
    events::IEventListener* owner_ = nullptr;
    str::strbuffer::StrBuffer* url_;
};

} // namespace s::gui::win
