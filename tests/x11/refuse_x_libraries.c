/* Preloaded into a test: dlopen refuses libX11 and libXext while vr58_refuse_x_libraries(1) holds (from the
   start), as on a server without X libraries; everything else loads as usual. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <string.h>

static int refusing = 1;
static int refused = 0;

__attribute__((visibility("default"))) void vr58_refuse_x_libraries(int refuse) {
    refusing = refuse;
}

__attribute__((visibility("default"))) int vr58_refused_x_libraries(void) {
    return refused;
}

__attribute__((visibility("default"))) void* dlopen(const char* file, int mode) {
    static void* (*real)(const char*, int) = 0;
    if (!real) real = (void* (*)(const char*, int))dlsym(RTLD_NEXT, "dlopen");
    if (refusing && file && (strstr(file, "libX11.so") || strstr(file, "libXext.so"))) {
        ++refused;
        return 0;
    }
    return real(file, mode);
}
