// SPDX-License-Identifier: GPL-3.0-or-later
// Paths: the core builds them with "\" separators by its own rules; the
// platform maps them to host paths when they touch the disk.
//
// Mapping to the host: "\" becomes "/", empty segments collapse, a segment "."
// is dropped and trailing dots of a segment are ignored (as Windows does);
// each segment that does not exist under its exact name is matched
// case-insensitively (journals come from case-insensitive volumes). Names are
// 1251 inside the program and UTF-8 on disk; a name on disk that is not valid
// UTF-8 is used as raw bytes.
#pragma once

#include <string>
#include <string_view>

namespace platform::paths {

/// Internal (1251, "\"-joined) path to a host path. Existing segments are
/// found case-insensitively; the rest are mapped as written.
std::string ToHost(std::string_view internalPath);

/// The host path as written, without looking at the disk: what ToHost gives
/// when every segment exists under its exact name. Opening this first spares
/// a look-up for each of the many paths that name their files exactly.
std::string ToHostAsWritten(std::string_view internalPath);

/// Host path (UTF-8, "/"-joined) to the internal form: "/home/u/j" gives
/// "\home\u\j". A path without any "/" is returned unchanged apart from the
/// text conversion.
std::string FromHost(std::string_view hostPath);

/// One file name from disk (UTF-8 or raw bytes) to 1251, and back.
std::string NameFromHost(std::string_view hostName);
std::string NameToHost(std::string_view name1251);

}  // namespace platform::paths
