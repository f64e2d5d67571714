#include "vstgui/platform/win32/win32_drop_target.h"

#include "vstgui/cdragcontainer.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

#include <shellapi.h>

namespace VSTGUI::win32 {

namespace {

// The drag in progress over a window of this thread: OLE calls a window's target on its own thread.
thread_local CDragContainer* currentDragContainer = nullptr;

bool hasFormat(IDataObject* data, CLIPFORMAT format, STGMEDIUM& medium) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data->GetData(&request, &medium) == S_OK;
}

template <typename Call> void withFrameContext(CFrame* frame, Call call) {
    CDrawContext* context = frame->createDrawContext();
    CPoint where;
    frame->getMouseLocation(context, where);
    call(context, where);
    if (context) context->release();
}

void endDrag() {
    if (currentDragContainer) currentDragContainer->release();
    currentDragContainer = nullptr;
}

} // namespace

int countDragItems(IDataObject* data) {
    STGMEDIUM medium{};
    if (hasFormat(data, CF_TEXT, medium)) {
        ReleaseStgMedium(&medium);
        return 1;
    }
    if (hasFormat(data, CF_HDROP, medium)) {
        const int count =
            static_cast<int>(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0));
        ReleaseStgMedium(&medium);
        return count;
    }
    return 0;
}

HRESULT STDMETHODCALLTYPE CDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDropTarget::Release() {
    const long count = --refCount;
    if (count <= 0) delete this;
    return static_cast<ULONG>(count < 0 ? 0 : count);
}

// The OLE drag callbacks arrive on the GUI thread that registered the window.
HRESULT STDMETHODCALLTYPE CDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!data || !frame) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    endDrag();
    currentDragContainer = new CDragContainer(data, countDragItems(data));
    withFrameContext(frame, [&](CDrawContext* context, const CPoint& where) {
        frame->onDragEnter(context, currentDragContainer, where);
    });
    if (effect) *effect = DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (currentDragContainer && frame) {
        withFrameContext(frame, [&](CDrawContext* context, const CPoint& where) {
            frame->onDragMove(context, currentDragContainer, where);
        });
        if (effect) *effect = DROPEFFECT_MOVE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragLeave() {
    if (currentDragContainer) {
        if (frame)
            withFrameContext(frame, [&](CDrawContext* context, const CPoint& where) {
                frame->onDragLeave(context, currentDragContainer, where);
            });
        endDrag();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD*) {
    if (currentDragContainer) {
        if (frame)
            withFrameContext(frame, [&](CDrawContext* context, const CPoint& where) {
                frame->onDrop(context, currentDragContainer, where);
            });
        endDrag();
    }
    return S_OK;
}

} // namespace VSTGUI::win32
