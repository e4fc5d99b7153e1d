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

#include "core/session/command_rules.h"
#include "gui/config/about_dlg.h"
#include "core/settings/font_selection.h"
#include "gui/frame/ids.h"
#include "core/settings/readme_location.h"
#include "gui/frame/main_frame.h"
#include "gui/frame/quillbox_doc.h"
#include "gui/view/quillbox_view.h"
#include "gui/leftpane/left_view.h"
#include "gui/library/contents_page.h"
#include "core/library/discovery.h"
#include "platform/files.h"
#include "platform/wx/close_signals.h"
#include "platform/text1251.h"
#include "platform/wx/wx_host_ui.h"
#include "platform/wx/wx_text.h"
#include "gui/search/search_page.h"
#include "gui/favorites/favorites_page.h"

void CMainFrame::OnUpdateRead(wxUpdateUIEvent& event)
{
    event.Enable(leftPane_ && ReadCommandEnabled(leftPane_->contentsPage.issueChosen,
                                                leftPane_->searchPage.resultSelected,
                                                leftPane_->favoritesPage.sectionChosen));
}

void CMainFrame::OnRead(wxCommandEvent&)
{
    if (!leftPane_ || !articleView_)
        return;
    const bool favourites = leftPane_->currentPage == &leftPane_->favoritesPage;
    switch (session_->OpenSelection(favourites)) {
    case ReadStep::OpenListItem:
        OpenArticle("", true);
        return;
    case ReadStep::OpenSelectedArticle:
        // A favourite that is gone asks for another, as a section does.
        if (articleView_->OpenSelected(session_->selectedArticle()) || !favourites)
            return;
        break;
    case ReadStep::AskForAnArticle:
        break;
    }
    SetStatusText(wxString::FromUTF8("Щёлкните статью, которую нужно открыть"), 0);
}

void CMainFrame::OnUpdateWorkingDirectory(wxUpdateUIEvent& event)
{
    event.Enable(leftPane_ && leftPane_->currentPage == &leftPane_->contentsPage);
}

void CMainFrame::OnWorkingDirectory(wxCommandEvent&)
{
    if (auto key = platform::registry::CreateKey(kSettingsKey)) {
        if (ChooseWorkingDirectory(TheHostUi(), catalogue, *key, directoryRequests, true,
                                   session_->library().workPattern) == DiscoveryResult::RequestLimitReached)
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
    if (!leftPane_ || TerminationRequested())
        return;
    // A text search reads the library and marks its entries: it ends first,
    // and its rows name issues of the library that goes.
    leftPane_->searchPage.CancelSearchAndWait();
    leftPane_->searchPage.ForgetResults();
    leftPane_->contentsPage.DestroyWindow();
    session_->ReleaseLibrary();
    leftPane_->RecreateContentsPage();
    leftPane_->LayoutPages();
}

void CMainFrame::OnJournals(wxCommandEvent&)
{
    // Changes made before "Отмена" stay in memory; only OK stores and applies.
    if (journalsDlg.DoModal(this) != wxID_OK)
        return;
    StoreCatalogueChanges();
    // The rebuilt list is shown under its own tab, whichever tab was chosen.
    if (leftPane_) {
        if (auto* tabs = dynamic_cast<wxBookCtrlBase*>(leftPane_->FindWindow(ID_TAB_CONTROL));
            tabs && tabs->GetSelection() != 0)
            tabs->SetSelection(0);
    }
    RebuildLibrary();
}

void CMainFrame::OnFonts(wxCommandEvent&)
{
    const TextStyles before = styles;
    if (fontTargetDlg.DoModal(this, styles, [this] { RepaintArticles(false); }) == wxID_OK) {
        if (articleView_)
            articleView_->Refresh();
        if (leftPane_)
            leftPane_->Refresh();
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
    if (!leftPane_ || !articleView_)
        return;
    wxWindow* focus = wxWindow::FindFocus();
    const bool inArticles = focus == articleView_ || (focus && focus->GetParent() == articleView_);
    if (inArticles)
        leftPane_->FocusCurrentPage();
    else
        articleView_->SetFocus();
}


// ----------------------------------------------------------------------------
// what the panes ask of the frame
// ----------------------------------------------------------------------------

void CMainFrame::RepaintArticles(bool focus)
{
    CQuillboxView* view = articleView_;
    if (!view)
        return;
    view->Refresh();
    // The list takes the focus back when its own click or key handling ends,
    // so the view takes it after that.
    if (focus)
        view->CallAfter([view] { view->SetFocus(); });
}

void CMainFrame::ShowFirstFound(bool focus)
{
    CQuillboxView* view = articleView_;
    if (!view)
        return;
    view->ShowFirstFound();
    if (focus)
        view->CallAfter([view] { view->SetFocus(); });
}

void CMainFrame::SectionsChanged()
{
    if (!leftPane_)
        return;
    leftPane_->favoritesPage.ClearSectionList();
    leftPane_->favoritesPage.RefreshSectionList();
}

void CMainFrame::OpenArticle(std::string link, bool relative)
{
    if (const auto refusal = session_->OpenArticle(TheHostUi(), std::move(link), relative))
        SetStatusText(From1251(*refusal), 0);
}

void CMainFrame::BuildLibrary()
{
    const std::string currentDirectory = platform::files::CurrentDirectory();
    // A catalogue whose prefixes match nothing is mended from here, or the
    // user would be asked for folders until the program ends.
    const CatalogueRepair repair = [this] {
        if (journalsDlg.DoModal(this) != wxID_OK)
            return false;
        StoreCatalogueChanges();
        return true;
    };
    // The message that the request limit ends the program has been shown.
    if (DiscoverIssues(TheHostUi(), catalogue, session_->NewLibrary(), currentDirectory, directoryRequests, repair,
                       workingDirectoryForRun) == DiscoveryResult::RequestLimitReached)
        std::exit(1);
    session_->LibraryBuilt();
}
