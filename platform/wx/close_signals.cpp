#include "platform/wx/close_signals.h"

#include <csignal>

#include <glib-unix.h>

namespace {

struct SignalHandler {
    int signal;
    std::function<void(int)>* onSignal;
};

std::function<void(int)> g_onSignal;

gboolean Dispatch(gpointer data)
{
    const auto* handler = static_cast<SignalHandler*>(data);
    if (*handler->onSignal)
        (*handler->onSignal)(handler->signal);
    return G_SOURCE_CONTINUE;
}

}  // namespace

void HandleTerminationSignals(std::function<void(int)> onSignal)
{
    g_onSignal = std::move(onSignal);
    // GLib turns the signal into a main-loop event; nothing runs in the
    // signal handler itself.
    static SignalHandler handlers[] = {{SIGTERM, &g_onSignal}, {SIGINT, &g_onSignal}, {SIGHUP, &g_onSignal}};
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (SignalHandler& handler : handlers)
        g_unix_signal_add(handler.signal, Dispatch, &handler);
}
