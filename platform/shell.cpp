// Targets in the host's form: addresses as UTF-8, file paths mapped.
#include "platform/shell.h"

#include "platform/paths.h"
#include "platform/text1251.h"

namespace platform::shell {

HostTarget ToHostTarget(const Target& target)
{
    if (target.kind == TargetKind::Address)
        return {TargetKind::Address, text::Utf8From1251(target.text)};
    // A "#fragment" or "?query" stays part of the file name, as written.
    return {TargetKind::File, paths::ToHost(target.text)};
}

}  // namespace platform::shell
