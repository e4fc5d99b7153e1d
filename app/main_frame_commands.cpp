// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's commands: reading, the working directory, the catalogue
// editor, fonts, About and Readme, the document keys and the move between the
// panes.
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/file.h>
#include <wx/stdpaths.h>
#include <wx/stockitem.h>
#include <wx/translation.h>

#include "app/command_rules.h"
#include "config/about_dlg.h"
#include "config/font_selection.h"
#include "app/ids.h"
#include "app/readme_location.h"
#include "app/main_frame.h"
#include "app/quillbox_doc.h"
#include "articles/quillbox_view.h"
#include "leftpane/left_view.h"
#include "library/contents_page.h"
#include "library/discovery.h"
#include "platform/files.h"
#include "platform/wx/close_signals.h"
#include "platform/text1251.h"
#include "platform/wx/wx_host_ui.h"
#include "platform/wx/wx_text.h"
#include "search/search_page.h"
#include "favorites/favorites_page.h"

void CMainFrame::OnUpdateRead(wxUpdateUIEvent& event)
{
    event.Enable(leftPane && ReadCommandEnabled(leftPane->contentsPage.issueChosen,
                                                leftPane->searchPage.resultSelected,
                                                leftPane->favoritesPage.sectionChosen));
}

void CMainFrame::OnRead(wxCommandEvent&)
{
    if (!leftPane || !articleView)
        return;
    CContentsPage& contents = leftPane->contentsPage;
    const bool favourites = leftPane->currentPage == &leftPane->favoritesPage;
    if (listItemChosen && !favourites) {
        contents.OpenArticle("", true);
        return;
    }
    // With a favourites section chosen the index names a section, not an
    // issue: there is no start page, only the article clicked.
    if ((listItemChosen || !articleView->OpenSelected(selectedArticle)) && favourites)
        SetStatusText(wxString::FromUTF8("Щёлкните статью, которую нужно открыть"), 0);
}

void CMainFrame::OnUpdateWorkingDirectory(wxUpdateUIEvent& event)
{
    event.Enable(leftPane && leftPane->currentPage == &leftPane->contentsPage);
}

void CMainFrame::OnWorkingDirectory(wxCommandEvent&)
{
    if (auto key = platform::registry::CreateKey(kSettingsKey)) {
        CContentsPage& contents = leftPane->contentsPage;
        if (ChooseWorkingDirectory(TheHostUi(), catalogue, *key, directoryRequests, true,
                                   contents.library.workPattern) == DiscoveryResult::RequestLimitReached)
            std::exit(1);
        // The folder chosen now is stored; the one given at start is done with.
        workingDirectoryForRun.clear();
    }
    RebuildLibrary();
}

void CMainFrame::RebuildLibrary()
{
    // The window is about to close on a termination signal: building the
    // library again would only ask for a folder that nobody can choose.
    if (!leftPane || TerminationRequested())
        return;
    // A text search reads the library and marks its entries: it ends first,
    // and its rows name issues of the library that goes.
    leftPane->searchPage.CancelSearchAndWait();
    leftPane->searchPage.ForgetResults();
    leftPane->contentsPage.DestroyWindow();
    leftPane->contentsPage.ReleaseLibrary();
    leftPane->RecreateContentsPage();
    leftPane->LayoutPages();
}

void CMainFrame::OnJournals(wxCommandEvent&)
{
    // Changes made before "Отмена" stay in memory; only OK stores and applies.
    if (journalsDlg.DoModal(this) != wxID_OK)
        return;
    StoreCatalogueChanges();
    // The rebuilt list is shown under its own tab, whichever tab was chosen.
    if (leftPane) {
        if (auto* tabs = dynamic_cast<wxBookCtrlBase*>(leftPane->FindWindow(ID_TAB_CONTROL));
            tabs && tabs->GetSelection() != 0)
            tabs->SetSelection(0);
    }
    RebuildLibrary();
}

void CMainFrame::OnFonts(wxCommandEvent&)
{
    const TextStyles before = styles;
    if (fontTargetDlg.DoModal(this) == wxID_OK) {
        if (articleView)
            articleView->Refresh();
        if (leftPane)
            leftPane->Refresh();
    }
    // However the dialog was closed, the fonts chosen in it are in effect.
    // Only they are stored: another running copy's fonts stay as it wrote them.
    StoreChangedTextStylesReporting(before, styles, TheHostUi());
}

void CMainFrame::OnAbout(wxCommandEvent&)
{
    CAboutDlg dialog(this);
    dialog.ShowModal();
}

void CMainFrame::OnReadme(wxCommandEvent&)
{
    // The process's current directory, not the journals' working directory;
    // a missing page is the desktop's to report.
    const std::string program = wxStandardPaths::Get().GetExecutablePath().utf8_string();
    const std::string readme = ReadmeToOpen(platform::files::CurrentDirectory(), program);
    TheHostUi().OpenTarget({platform::shell::TargetKind::File, readme});
}

void CMainFrame::OnNewDocument(wxCommandEvent&)
{
    doc->OnNewDocument();
    UpdateCaption();
}

void CMainFrame::UpdateCaption()
{
    SetTitle(doc->Caption());
}

namespace {

/// The framework's own filter text, translated; its default prompt and
/// filter have no translation, so titles are the stock labels.
wxString AllFilesWildcard()
{
    return wxGetTranslation("All files (*)|*");
}

}  // namespace

void CMainFrame::OnOpenDocument(wxCommandEvent&)
{
    // The document has no content: a chosen file only lends it its name.
    wxFileDialog dialog(this, wxGetStockLabel(wxID_OPEN, wxSTOCK_WITHOUT_ELLIPSIS), wxEmptyString, wxEmptyString,
                        AllFilesWildcard(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return;
    doc->SetFilename(dialog.GetPath(), false);
    doc->SetTitle(wxFileName(dialog.GetPath()).GetFullName());
    UpdateCaption();
}

void CMainFrame::OnSaveDocument(wxCommandEvent&)
{
    // The framework's own translation of its "Save As" title.
    wxFileDialog dialog(this, wxGetTranslation("Save As"), wxEmptyString, wxEmptyString, AllFilesWildcard(),
                        wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    // The document has no content: saving it over a file would only empty
    // that file. A new one is created, never an existing one replaced.
    wxFile file;
    if (wxFileExists(dialog.GetPath()) || !file.Create(dialog.GetPath(), false)) {
        const std::string why = wxFileExists(dialog.GetPath()) ? Cp1251("Такой файл уже есть; он не изменён.")
                                                               : Cp1251("Файл не удалось создать.");
        TheHostUi().ShowMessage(Cp1251("Документ не сохранён в\n") + To1251(dialog.GetPath()) + "\n\n" + why,
                                "Vestrels", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return;
    }
    file.Close();
    doc->SetFilename(dialog.GetPath(), false);
    doc->SetTitle(wxFileName(dialog.GetPath()).GetFullName());
    UpdateCaption();
}

void CMainFrame::OnQuit(wxCommandEvent&)
{
    // As the close box: the close handler stops the search and stores.
    Close();
}

void CMainFrame::OnNextPane(wxCommandEvent&)
{
    MoveFocusToOtherPane();
}

void CMainFrame::MoveFocusToOtherPane()
{
    if (!leftPane || !articleView)
        return;
    wxWindow* focus = wxWindow::FindFocus();
    const bool inArticles = focus == articleView || (focus && focus->GetParent() == articleView);
    if (inArticles)
        leftPane->FocusCurrentPage();
    else
        articleView->SetFocus();
}

void CMainFrame::OnFavoritesChanged(wxCommandEvent&)
{
    if (leftPane)
        leftPane->favoritesPage.RefreshSectionList();
}
