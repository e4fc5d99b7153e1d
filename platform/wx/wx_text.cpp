// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/wx_text.h"

#include <wx/msgdlg.h>

#include "platform/text1251.h"

wxString From1251(std::string_view bytes)
{
    return wxString::FromUTF8(platform::text::Utf8From1251(bytes));
}

std::string To1251(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return platform::text::To1251FromUtf8(std::string_view(utf8.data(), utf8.length()));
}

bool AcceptOnly1251(const wxString& text, wxWindow* parent)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    const std::vector<std::string> misfits =
        platform::text::CharactersOutside1251(std::string_view(utf8.data(), utf8.length()));
    if (misfits.empty())
        return true;
    wxString named;
    for (const std::string& character : misfits)
        named += (named.empty() ? "" : " ") + wxString::FromUTF8(character);
    // Stored as "?", such a text would never match again: nothing is stored.
    const wxString message = wxString::FromUTF8("Эти символы нельзя сохранить в кодировке Windows-1251:\n") +
                             named + wxString::FromUTF8("\n\nУберите или замените их.");
    wxMessageDialog dialog(parent, message, "Vestrels", wxOK | wxICON_WARNING);
    dialog.ShowModal();
    return false;
}
