// The frame window's OLE drop target: it follows a drag over the view tree and answers with the move
// effect, although no view takes drops.
#pragma once

#include <ole2.h>

namespace VSTGUI {
class CFrame;
}

namespace VSTGUI::win32 {

class CDropTarget : public IDropTarget {
public:
    explicit CDropTarget(CFrame* frame) : frame(frame) {}
    virtual ~CDropTarget() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    long refCount = 0;
    CFrame* frame;
};

// Number of texts (one) or files offered by a dragged data object.
int countDragItems(IDataObject* data);

} // namespace VSTGUI::win32
