// SPDX-License-Identifier: GPL-3.0-or-later
// What makes the program behave like the other programs of the user's
// desktop: the framework's own texts in the user's language, and the
// program's icon on every window.
#pragma once

class wxIconBundle;

/// The framework's own dialogs (the folder browser, the file dialogs, the
/// font chooser) speak the user's language, found as the desktop finds it
/// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). Numbers keep the C form.
void UseUserLanguage();

/// The program's icon in every size compiled into it, for the desktop to
/// pick from (title bar, task switcher, panel).
wxIconBundle ProgramIcons();

/// Every window without an icon of its own, the toolkit's own dialogs
/// included, shows these.
void UseAsDefaultWindowIcons(const wxIconBundle& icons);
