// SPDX-License-Identifier: GPL-3.0-or-later
// The text scale read from GTK's font resolution, which follows both
// GDK_DPI_SCALE and the desktop settings' text scaling.
#include "platform/wx/text_scale.h"

#include <gdk/gdk.h>

double DesktopTextScale()
{
    constexpr double kUsualResolution = 96.0;
    GdkScreen* screen = gdk_screen_get_default();
    const double resolution = screen ? gdk_screen_get_resolution(screen) : -1.0;
    return resolution > 0 ? resolution / kUsualResolution : 1.0;
}
