// SPDX-License-Identifier: GPL-3.0-or-later
// Command and window ids of the main frame, with the program's fixed values.
#pragma once

/// The framework takes menu, tool and window ids below 0x8000 only: an id
/// keeps its fixed number in the low fifteen bits.
constexpr int CommandId(int fixedId)
{
    return fixedId & 0x7FFF;
}

enum MainFrameCommand {
    ID_CMD_READ = CommandId(32771),
    ID_CMD_FONTS = CommandId(32773),
    ID_CMD_WORKING_DIRECTORY = CommandId(32776),
    ID_CMD_JOURNALS = CommandId(32778),
    ID_CMD_ABOUT = CommandId(57664),
    ID_CMD_README = CommandId(57666),
    ID_CMD_HELP = CommandId(57670),
    ID_CMD_NEW = CommandId(57600),
    ID_CMD_OPEN = CommandId(57601),
    ID_CMD_SAVE = CommandId(57603),
    ID_CMD_NEXT_PANE = CommandId(57680),
    ID_CMD_PREV_PANE = CommandId(57681),
    ID_CMD_TOGGLE_TOOLBAR = CommandId(59392),
    ID_CMD_TOGGLE_STATUS_BAR = CommandId(59393),
};

enum MainFrameWindowId {
    ID_TOOLBAR = CommandId(59392),
    ID_STATUS_BAR = CommandId(59393),
    ID_INDICATOR_CAPS = CommandId(59137),
    ID_INDICATOR_NUM = CommandId(59138),
    ID_INDICATOR_SCROLL = CommandId(59139),
    ID_SPLITTER = CommandId(59648),
};

/// The frame's one timer: applies the stored bar visibility after start.
constexpr int kBarsTimerId = 1;
constexpr int kBarsTimerDelayMs = 50;

/// Makes the symbolic ids of the resources stand for the values above; must
/// run before the resources are loaded.
void RegisterResourceIds();
