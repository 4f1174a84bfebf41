// Dropped files (a real HDROP posted as WM_DROPFILES) and dropped links (through the
// IDropTarget the box registered, with data objects made here) reaching a box.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/UrlDropTarget.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::gui::win::Box;
using s::gui::win::UrlDropTarget;
using testgui::makeDrop;
using testgui::Recorder;
using testgui::TestWindow;

namespace
{

std::vector<std::wstring> dropped(Box* box)
{
    std::vector<std::wstring> out;
    if (s::str::strarray::StrArray* list = box->getDroppedFiles())
    {
        for (uint32_t i = 0; i < list->Count(); ++i)
            out.push_back(list->Get(i)->CStr());
    }
    return out;
}

// A data object offering one format in global memory (`bytes` as given).
struct OneFormat : IDataObject
{
    CLIPFORMAT format;
    std::string bytes;
    ULONG refs = 1;
    OneFormat(CLIPFORMAT f, const void* data, size_t size) : format(f), bytes(static_cast<const char*>(data), size)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject))
        {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override
    {
        if (QueryGetData(f) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override
    {
        return f && f->cfFormat == format && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

struct DropBox
{
    TestWindow w;
    Box* box = Box::Acquire();
    DropBox()
    {
        box->setFixedWidth(200);
        box->setFixedHeight(100);
        w->add(box);
    }
};

void waitFor(const Recorder& rec, size_t count)
{
    for (int i = 0; i < 1000 && rec.kinds.size() < count; ++i)
        Sleep(10);
}

} // namespace

TEST(FileDrop, ThreeFilesFireOnceInOrderAndASecondDropReplacesThem)
{
    DropBox d;
    d.box->setAcceptFiles(true);
    EXPECT_TRUE(GetWindowLongPtrW(d.box->getHandle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    Recorder drops;
    d.box->addDropListener(&drops);
    const std::vector<std::wstring> first{L"C:\\b.txt", L"C:\\a folder", L"D:\\z\\y.bin"};
    PostMessageW(d.box->getHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(first)), 0);
    waitFor(drops, 1);
    testgui::settle(d.w.handle());
    ASSERT_EQ(1u, drops.kinds.size());
    EXPECT_EQ(Box::EVENT_FILES_DROPPED, drops.kinds[0]);
    EXPECT_EQ(static_cast<s::gui::IComponent*>(d.box), drops.lastSource);
    EXPECT_EQ(GetWindowThreadProcessId(d.w.handle(), nullptr), drops.threads[0]);
    EXPECT_EQ(first, dropped(d.box));

    const std::vector<std::wstring> second{L"E:\\only.txt"};
    PostMessageW(d.box->getHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(second)), 0);
    waitFor(drops, 2);
    testgui::settle(d.w.handle());
    EXPECT_EQ(2u, drops.kinds.size());
    EXPECT_EQ(second, dropped(d.box));
}

TEST(FileDrop, APathLongerThanThePlatformLimitArrivesWhole)
{
    DropBox d;
    d.box->setAcceptFiles(true);
    Recorder drops;
    d.box->addDropListener(&drops);
    std::wstring longPath = L"\\\\?\\C:\\deep";
    while (longPath.size() < 320)
        longPath += L"\\folder with a long name";
    longPath += L"\\end.txt";
    const std::vector<std::wstring> paths{L"C:\\short.txt", longPath};
    PostMessageW(d.box->getHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(paths)), 0);
    waitFor(drops, 1);
    testgui::settle(d.w.handle());
    ASSERT_EQ(1u, drops.kinds.size());
    EXPECT_EQ(paths, dropped(d.box));
}

TEST(LinkDrop, TheRegisteredTargetTakesOnlyTheWideUrl)
{
    DropBox d;
    d.box->setDropTarget(true);
    UrlDropTarget* target = d.box->getUrlDropTarget();
    ASSERT_NE(nullptr, target);
    // The target OLE knows for the box's window is ours.
    HANDLE registered = GetPropW(d.box->getHandle(), L"OleDropTargetInterface");
    if (registered)
    {
        EXPECT_EQ(static_cast<IDropTarget*>(target->getDropTarget()), registered);
    }
    Recorder links;
    d.box->addUrlDropListener(&links);
    IDropTarget* drop = target->getDropTarget();

    const wchar_t url[] = L"https://example.org/page";
    const char narrow[] = "https://example.org/page";
    CLIPFORMAT wide = UrlDropTarget::wideFormat();
    struct Case
    {
        const char* name;
        CLIPFORMAT format;
        const void* data;
        size_t size;
        DWORD effect;
    };
    const Case cases[] = {
        {"wide URL", wide, url, sizeof(url), DROPEFFECT_LINK},
        {"plain text", CF_UNICODETEXT, url, sizeof(url), DROPEFFECT_NONE},
        {"8-bit URL only", UrlDropTarget::narrowFormat(), narrow, sizeof(narrow), DROPEFFECT_NONE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OneFormat data(c.format, c.data, c.size);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, drop->DragEnter(&data, 0, POINTL{10, 10}, &effect));
        EXPECT_EQ(c.effect, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        drop->DragOver(0, POINTL{12, 12}, &effect);
        EXPECT_EQ(c.effect, effect);
        drop->DragLeave();
        // A drop without the wide URL is accepted and ignored.
        effect = DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, drop->Drop(&data, 0, POINTL{12, 12}, &effect));
    }
    testgui::settle(d.w.handle());
    ASSERT_EQ(1u, links.kinds.size());
    EXPECT_EQ(Box::EVENT_URLS_DROPPED, links.kinds[0]);
    EXPECT_EQ(GetWindowThreadProcessId(d.w.handle(), nullptr), links.threads[0]);
    ASSERT_NE(nullptr, d.box->getDroppedUrls());
    ASSERT_EQ(1u, d.box->getDroppedUrls()->Count());
    EXPECT_STREQ(url, d.box->getDroppedUrls()->Get(0)->CStr());

    // A URL without its terminating zero is read within its block, never past it.
    const wchar_t unterminated[] = {L'h', L't', L't', L'p', L':', L'/', L'/', L'x'};
    OneFormat cut(wide, unterminated, sizeof(unterminated));
    DWORD effect = DROPEFFECT_LINK;
    drop->Drop(&cut, 0, POINTL{1, 1}, &effect);
    testgui::settle(d.w.handle());
    ASSERT_EQ(2u, links.kinds.size());
    std::wstring got = d.box->getDroppedUrls()->Get(0)->CStr();
    EXPECT_EQ(0u, got.rfind(L"http://x", 0)) << got; // the block may be rounded up with zeros
    EXPECT_LE(got.size(), 8u + 8u);

    // Cleared, the box's window has no drop target any more.
    d.box->setDropTarget(false);
    EXPECT_EQ(nullptr, d.box->getUrlDropTarget());
    EXPECT_EQ(nullptr, GetPropW(d.box->getHandle(), L"OleDropTargetInterface"));
}
