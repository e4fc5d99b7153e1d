// SPDX-License-Identifier: GPL-3.0-or-later
// How a target is handed to the desktop: an address goes to the browser as it
// stands, a file path is mapped to the host. Which of the two a target is was
// decided by the rule that built it; its text never decides it here, since a
// folder name may contain anything ("httpdocs").
#pragma once

#include <string>
#include <string_view>

namespace platform::shell {

enum class TargetKind { Address, File };

/// A target as the core builds it: 1251 text; a file path is in the internal
/// form.
struct Target {
    TargetKind kind;
    std::string text;

    bool operator==(const Target&) const = default;
};

struct HostTarget {
    TargetKind kind;
    std::string value;  ///< the address (UTF-8) or the host file path
};

/// An address is handed over as it stands (in UTF-8); a file path is mapped
/// to the host.
HostTarget ToHostTarget(const Target& target);

/// Whether a target may go to the desktop's opener: a file as an absolute
/// path, an address with a scheme ("http:", "mailto:"). Anything else would
/// reach the opener as a relative name or as one of its options ("--help").
bool CanHandOver(const HostTarget& target);

/// Why the opener failed, from its exit status (its documented codes, or
/// the status itself); 1251 text.
std::string OpenerFailureReason(int exitStatus);

}  // namespace platform::shell
