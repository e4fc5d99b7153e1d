// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's text scale: how much larger than usual the desktop wants
// text drawn (its font resolution against the usual 96 dots per inch).
#pragma once

/// 1 when the desktop asks for no scaling or says nothing.
double DesktopTextScale();
