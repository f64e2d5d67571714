// Describes something dragged over the frame's window: the system's data object and how many items
// (texts or files) it offers. No view of this toolkit reads the items.
#pragma once

#include "vstgui/creferencecounter.h"

namespace VSTGUI {

class CDragContainer : public CReferenceCounter {
public:
    CDragContainer(void* platformDrag, int32_t itemCount) : platformDrag(platformDrag), nbItems(itemCount) {}

    void* getPlatformDrag() const { return platformDrag; }
    int32_t getCount() const { return nbItems; }

private:
    void* platformDrag;
    int32_t nbItems;
};

} // namespace VSTGUI
