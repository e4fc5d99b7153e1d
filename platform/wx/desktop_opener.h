// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a target to the desktop's opener (xdg-open) without waiting for it:
// the window stays responsive while a browser starts, and a failure the
// opener reports reaches the user as a message naming the target.
#pragma once

#include <string>

#include "platform/shell.h"

/// True when the target is neither an absolute path nor an address with a
/// scheme, and so must not be handed over; the main window's status bar
/// then says why.
bool RefuseToHandOver(const platform::shell::HostTarget& target);

/// Starts xdg-open with the target as its one argument (an argument vector,
/// never a shell). When the opener cannot be started or ends with a failure
/// status, a message names the target and the reason.
void OpenWithDesktop(const platform::shell::HostTarget& target);
