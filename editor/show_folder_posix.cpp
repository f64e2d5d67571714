#include "editor/user_presets.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace vr58 {

bool showFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // xdg-open hands the folder to the file manager and returns at once; waiting reaps it, so no zombie
    // child stays in the host.
    const std::string path = folder.string();
    char open[] = "xdg-open";
    char* arguments[] = {open, const_cast<char*>(path.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, open, nullptr, nullptr, arguments, environ) != 0) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace vr58
