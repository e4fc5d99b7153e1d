#include "platform/wx/wx_text.h"

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
