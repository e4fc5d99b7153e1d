// Command and window ids of the main frame, with the program's fixed values.
#pragma once

enum MainFrameId {
    ID_CMD_READ = 32771,
    ID_CMD_FONTS = 32773,
    ID_CMD_WORKING_DIRECTORY = 32776,
    ID_CMD_JOURNALS = 32778,
    ID_CMD_ABOUT = 57664,
    ID_CMD_README = 57666,
    ID_CMD_HELP = 57670,
    ID_CMD_NEW = 57600,
    ID_CMD_OPEN = 57601,
    ID_CMD_SAVE = 57603,
    ID_CMD_NEXT_PANE = 57680,
    ID_CMD_PREV_PANE = 57681,
    ID_CMD_TOGGLE_TOOLBAR = 59392,
    ID_CMD_TOGGLE_STATUS_BAR = 59393,
    ID_TOOLBAR = 59392,
    ID_STATUS_BAR = 59393,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCROLL = 59139,
    ID_SPLITTER = 59648,
};

/// The frame's one timer: applies the stored bar visibility after start.
constexpr int kBarsTimerId = 1;
constexpr int kBarsTimerDelayMs = 50;

/// Makes the symbolic ids of the resources stand for the values above; must
/// run before the resources are loaded.
void RegisterResourceIds();
