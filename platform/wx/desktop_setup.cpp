#include "platform/wx/desktop_setup.h"

#include <clocale>

#include <gtk/gtk.h>

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/intl.h>
#include <wx/translation.h>
#include <wx/uilocale.h>

void UseUserLanguage()
{
    // The toolkit already took the user's locale when it started; the
    // framework needs to be told as well.
    wxUILocale::UseDefault();
    // "." stays the decimal point of whatever the program prints.
    std::setlocale(LC_NUMERIC, "C");
    auto* translations = new wxTranslations;
    translations->SetLanguage(wxLANGUAGE_DEFAULT);
    translations->AddStdCatalog();
    wxTranslations::Set(translations);
}

void UseAsDefaultWindowIcon(const wxIcon& icon)
{
    if (!icon.IsOk())
        return;
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    gtk_window_set_default_icon(bitmap.GetPixbuf());
}
