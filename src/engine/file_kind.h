// What kind of file a mode names that is not a regular file, for messages.
#pragma once

#include <sys/stat.h>

#include <string>

namespace engine {

inline std::string specialFileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

}  // namespace engine
