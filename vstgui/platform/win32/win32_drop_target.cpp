#include "vstgui/platform/win32/win32_drop_target.h"

#include <shellapi.h>

namespace VSTGUI::win32 {

namespace {

bool hasFormat(IDataObject* data, CLIPFORMAT format, STGMEDIUM& medium) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data->GetData(&request, &medium) == S_OK;
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

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const long count = --refCount;
    if (count <= 0) delete this;
    return static_cast<ULONG>(count < 0 ? 0 : count);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!data) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    items = countDragItems(data);
    if (effect) *effect = DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (items >= 0 && effect) *effect = DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
    items = -1;
    return S_OK;
}

// Nothing takes the drop; the effect is left as the system passed it.
HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD*) {
    items = -1;
    return S_OK;
}

} // namespace VSTGUI::win32
