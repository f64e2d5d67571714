// The module handle of the loaded plug-in library. The Windows load notification stores it; the GUI
// toolkit uses it for its window class and to find the skin resources. Null where no loader sets it.
#pragma once

namespace vr58 {
extern void* moduleHandle;
}
