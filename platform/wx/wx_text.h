// Conversion between the core's 1251 bytes and wxString, at the window edge.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

wxString From1251(std::string_view bytes);
std::string To1251(const wxString& text);
