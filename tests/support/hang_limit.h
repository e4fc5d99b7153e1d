// SPDX-License-Identifier: GPL-3.0-or-later
// How long a test waits for what should come at once before it calls it a hang.
#pragma once

constexpr int kHangMs = 60000;
