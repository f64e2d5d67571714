// The frame window's OLE drop target. Dragging a file or text over the editor shows the move effect, as
// it always has, although nothing on the face takes drops: a drop changes nothing.
#pragma once

#include <ole2.h>

namespace VSTGUI::win32 {

class DropTarget : public IDropTarget {
public:
    virtual ~DropTarget() = default;

    // OLE calls these on the thread that registered the window.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // The number of items of the drag in progress (one text, or the files), -1 when none is.
    int dragItems() const { return items; }

private:
    long refCount = 0;
    int items = -1;
};

// Number of texts (one) or files offered by a dragged data object.
int countDragItems(IDataObject* data);

} // namespace VSTGUI::win32
