// The PNG writer's implementation for targets without the system's stb library (the Windows build).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
