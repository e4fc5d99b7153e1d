// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the core's 1251 bytes and wxString, at the window edge.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

wxString From1251(std::string_view bytes);
std::string To1251(const wxString& text);

class wxWindow;

/// Whether `text` can be stored in Windows-1251, as every stored text is.
/// When it cannot, a message over `parent` names the characters it cannot
/// hold, and the caller stores nothing.
bool AcceptOnly1251(const wxString& text, wxWindow* parent);
