// SPDX-License-Identifier: GPL-3.0-or-later
// Control ids of the configuration dialogs, with the program's fixed values.
#pragma once

/// "Отмена": the desktop would write its own word on a button with the
/// framework's cancel id, so the button keeps the program's fixed id.
enum DialogButtonId { ID_CANCEL_BUTTON = 2 };

enum JournalsDlgId {
    ID_KIND_LIST = 1026,
    ID_ADD_KIND = 1003,
    ID_DELETE_KIND = 1027,
    ID_CONTENTS_PATH = 1025,
    ID_DISPLAY_NAME = 1023,
    ID_APPLY_KIND = 1029,
};

enum FolderNameDlgId { ID_FOLDER_NAME = 1023 };

enum FontTargetDlgId {
    ID_FONT_PLAIN_TITLE = 1013,
    ID_FONT_SELECTED_TITLE = 1019,
    ID_FONT_FOUND_TITLE = 1020,
    ID_FONT_ANNOTATION = 1014,
    ID_FONT_HEADING = 1015,
};

enum FontChooserId {
    ID_FONT_FACE = 1101,
    ID_FONT_SLANT,
    ID_FONT_WEIGHT,
    ID_FONT_SIZE,
    ID_FONT_UNDERLINE,
    ID_FONT_STRIKEOUT,
    ID_FONT_COLOUR,
    ID_FONT_PREVIEW,
};

enum AboutDlgId { ID_AUTHOR_EMAIL = 1003, ID_ABOUT_ICON = 1004 };

/// Name and value of every id above, for the resources.
struct ConfigResourceId {
    const char* name;
    int value;
};
inline constexpr ConfigResourceId kConfigResourceIds[] = {
    {"ID_CANCEL_BUTTON", ID_CANCEL_BUTTON},
    {"ID_KIND_LIST", ID_KIND_LIST},
    {"ID_ADD_KIND", ID_ADD_KIND},
    {"ID_DELETE_KIND", ID_DELETE_KIND},
    {"ID_CONTENTS_PATH", ID_CONTENTS_PATH},
    {"ID_DISPLAY_NAME", ID_DISPLAY_NAME},
    {"ID_APPLY_KIND", ID_APPLY_KIND},
    {"ID_FOLDER_NAME", ID_FOLDER_NAME},
    {"ID_FONT_PLAIN_TITLE", ID_FONT_PLAIN_TITLE},
    {"ID_FONT_SELECTED_TITLE", ID_FONT_SELECTED_TITLE},
    {"ID_FONT_FOUND_TITLE", ID_FONT_FOUND_TITLE},
    {"ID_FONT_ANNOTATION", ID_FONT_ANNOTATION},
    {"ID_FONT_HEADING", ID_FONT_HEADING},
    {"ID_FONT_FACE", ID_FONT_FACE},
    {"ID_FONT_SLANT", ID_FONT_SLANT},
    {"ID_FONT_WEIGHT", ID_FONT_WEIGHT},
    {"ID_FONT_SIZE", ID_FONT_SIZE},
    {"ID_FONT_UNDERLINE", ID_FONT_UNDERLINE},
    {"ID_FONT_STRIKEOUT", ID_FONT_STRIKEOUT},
    {"ID_FONT_COLOUR", ID_FONT_COLOUR},
    {"ID_FONT_PREVIEW", ID_FONT_PREVIEW},
    {"ID_AUTHOR_EMAIL", ID_AUTHOR_EMAIL},
    {"ID_ABOUT_ICON", ID_ABOUT_ICON},
};
