// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a program and waiting for it, never through a shell.
#pragma once

#include <string>
#include <vector>

namespace platform::process {

/// Runs `hostProgram` with `args` (args[0] is the program's own name) and
/// waits for it to end. Returns its exit status, or -1 when it could not start.
int RunAndWait(const std::string& hostProgram, const std::vector<std::string>& args);

/// Whether `hostPath` names an executable regular file.
bool IsExecutable(const std::string& hostPath);

/// The executable `program` in the folders of `searchPath` (PATH's form,
/// ":"-separated), as a host path; empty when none holds it.
std::string FindOnPath(const std::string& program, const std::string& searchPath);

}  // namespace platform::process
