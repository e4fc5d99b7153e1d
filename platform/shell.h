// How a target is handed to the desktop: an address goes to the browser as it
// stands, anything else is a file path mapped to the host.
#pragma once

#include <string>
#include <string_view>

namespace platform::shell {

enum class TargetKind { Address, File };

struct HostTarget {
    TargetKind kind;
    std::string value;  ///< the address (UTF-8) or the host file path
};

/// A target containing "http" or "file:", or starting with "mailto:", is an
/// address, handed over as it stands (in UTF-8); anything else is a file path
/// mapped to the host.
HostTarget ToHostTarget(std::string_view target1251);

}  // namespace platform::shell
