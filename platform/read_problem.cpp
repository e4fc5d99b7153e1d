// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/read_problem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform::files {

std::optional<std::string> ReadProblem(std::string_view internalPath)
{
    const std::string hostPath = paths::ToHost(internalPath);
    struct stat st;
    if (stat(hostPath.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? std::nullopt : std::optional<std::string>(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return "it is a folder";
    if (!S_ISREG(st.st_mode))
        return "it is not a regular file";
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxReadBytes)
        return "it is larger than " + std::to_string(kMaxReadBytes >> 20) + " MiB";
    const int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    char byte;
    const bool readable = read(fd, &byte, 1) >= 0;
    const int readError = errno;
    close(fd);
    return readable ? std::string("a read failed") : std::strerror(readError);
}

}  // namespace platform::files
