// Termination signals handled inside the desktop's main loop, so that a
// logout or a `kill` ends the program as its close box would.
#pragma once

#include <functional>

/// Calls `onSignal(signal)` from the main loop on SIGTERM, SIGINT and SIGHUP.
void HandleTerminationSignals(std::function<void(int)> onSignal);
