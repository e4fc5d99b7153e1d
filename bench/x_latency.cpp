// SPDX-License-Identifier: GPL-3.0-or-later
// How long a window takes to answer, seen from the X server: the time from a
// click until the window next draws (the Damage extension reports drawing),
// and a close request as the window manager's close box sends it.
//
//   x_latency click WINDOW X Y [TIMEOUT_MS]   prints the milliseconds from
//                                             the click's release to the next
//                                             drawing in WINDOW, or "timeout"
//   x_latency close WINDOW                    sends WM_DELETE_WINDOW
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

/// Drops the damage reported so far.
void Drain(Display* display, Damage damage)
{
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
    XDamageSubtract(display, damage, None, None);
    XSync(display, False);
}

/// Waits for the next drawing; the milliseconds since `since`, or -1.
double WaitForDamage(Display* display, int damageEvent, Clock::time_point since, int timeoutMs)
{
    const Clock::time_point end = since + std::chrono::milliseconds(timeoutMs);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify)
                return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return -1;
        poll(&fd, 1, static_cast<int>(left));
    }
}

int Click(Display* display, Window window, int x, int y, int timeoutMs)
{
    int damageEvent = 0, damageError = 0, major = 0, minor = 0, ignored = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &ignored, &ignored, &major, &minor)) {
        std::fprintf(stderr, "x_latency: the X server lacks Damage or XTest\n");
        return 1;
    }
    Window child = 0;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
    // Hovering draws too: let it settle before the click.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
    Drain(display, damage);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    const double ms = WaitForDamage(display, damageEvent, Clock::now(), timeoutMs);
    if (ms < 0)
        std::printf("timeout\n");
    else
        std::printf("%.1f\n", ms);
    XDamageDestroy(display, damage);
    return 0;
}

int Close(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool click = argc >= 5 && std::strcmp(argv[1], "click") == 0;
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    if (!click && !close) {
        std::fprintf(stderr, "usage: x_latency click WINDOW X Y [TIMEOUT_MS] | x_latency close WINDOW\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x_latency: no display\n");
        return 1;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    const int status = click ? Click(display, window, std::atoi(argv[3]), std::atoi(argv[4]),
                                     argc > 5 ? std::atoi(argv[5]) : 60000)
                             : Close(display, window);
    XCloseDisplay(display);
    return status;
}
