// Which targets go to the browser as addresses and which are files.
#include "platform/shell.h"

#include "platform/paths.h"
#include "platform/text1251.h"

namespace platform::shell {

HostTarget ToHostTarget(std::string_view target1251)
{
    // "mailto:" is the About box's address; as a file path it could not open.
    const bool address = target1251.find("http") != std::string_view::npos ||
                         target1251.find("file:") != std::string_view::npos ||
                         text::LowerAscii(target1251).starts_with("mailto:");
    if (address)
        return {TargetKind::Address, text::Utf8From1251(target1251)};
    // A "#fragment" or "?query" stays part of the file name, as written.
    return {TargetKind::File, paths::ToHost(target1251)};
}

}  // namespace platform::shell
