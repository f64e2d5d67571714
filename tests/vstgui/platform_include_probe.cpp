// Compiled on its own by the include-root checks, with the include directories the platform layer is
// built with: the platform header must resolve there, and with VR58_PROBE_FRAME the frame header must not.
#include "vstgui/platform/platform.h"
#ifdef VR58_PROBE_FRAME
#include "vstgui/cframe.h"
#endif
