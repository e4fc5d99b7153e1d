// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/desktop_setup.h"

#include <clocale>
#include <vector>

#include <gtk/gtk.h>

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>
#include <wx/intl.h>
#include <wx/translation.h>
#include <wx/uilocale.h>
#include <wx/xrc/xmlres.h>

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

wxIconBundle ProgramIcons()
{
    wxIconBundle icons;
    for (const char* name : {"IDI_APP_16", "IDI_APP", "IDI_APP_48", "IDI_APP_64"}) {
        const wxIcon icon = wxXmlResource::Get()->LoadIcon(name);
        if (icon.IsOk())
            icons.AddIcon(icon);
    }
    return icons;
}

void UseAsDefaultWindowIcons(const wxIconBundle& icons)
{
    // The bitmaps own their pixbufs until the toolkit has taken its references.
    std::vector<wxBitmap> bitmaps(icons.GetIconCount());
    GList* pixbufs = nullptr;
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        bitmaps[i].CopyFromIcon(icons.GetIconByIndex(i));
        pixbufs = g_list_append(pixbufs, bitmaps[i].GetPixbuf());
    }
    if (pixbufs)
        gtk_window_set_default_icon_list(pixbufs);
    g_list_free(pixbufs);
}
