// SPDX-License-Identifier: GPL-3.0-or-later
// The right-click flows: the hit test over what the view shows, the modal
// dialogs, the store operations of the core, the save that follows every
// change, and the refresh tick that gives the view its focus back.
#include "favorites/favorites_flows.h"

#include <memory>

#include "app/main_frame.h"
#include "articles/quillbox_view.h"
#include "articles/view_selection.h"
#include "favorites/delete_confirm_dlg.h"
#include "favorites/favorites_ops.h"
#include "favorites/section_dlg.h"
#include "leftpane/left_view.h"
#include "platform/text1251.h"
#include "platform/wx/wx_host_ui.h"

namespace {

MemHooks DiagnosticBoxes()
{
    MemHooks hooks;
    hooks.report = [](const std::string& text) {
        TheHostUi().ShowMessage(text, "Vestrels", platform::MessageIcon::None, platform::MessageButtons::Ok);
    };
    return hooks;
}

/// Removes the article from the file as it is now; the view stays on its
/// section and the selection on its article, wherever the reload put them.
void RemoveAndFollow(CMainFrame& frame, CContentsPage& contents, std::size_t section, std::size_t article)
{
    const FavoritesStore before = contents.favorites;
    const TSelectedFolder& folder = before.sections[section];
    const auto sectionRemoved = std::make_shared<bool>(false);
    contents.ChangeFavorites(RemoveChange(folder.name, folder.articles[article].title, folder.articles[article].link,
                                          DiagnosticBoxes(), sectionRemoved));
    const int follow = SameSectionIn(before, static_cast<int>(section), contents.favorites);
    // A section gone, or another copy's sections: the list is built again.
    if (follow < 0 || *sectionRemoved || !SameSectionNames(before, contents.favorites)) {
        frame.leftPane->favoritesPage.ClearSectionList();
        wxCommandEvent changed(UM_FAVORITES_CHANGED);
        frame.GetEventHandler()->ProcessEvent(changed);
        return;
    }
    contents.selectedIssue = follow;
    frame.selectedArticle = SelectedArticleOf(contents.favorites, follow);
}

}  // namespace

bool AddArticleAt(CMainFrame& frame, CQuillboxView& view, CSectionDlg& sectionDlg, int x, int y)
{
    if (!frame.leftPane)
        return true;
    CContentsPage& contents = frame.leftPane->contentsPage;
    const int issue = contents.selectedIssue;
    if (issue < 0)
        return true;
    const ArticleData data{&contents.library.issues, &contents.favorites};
    const EntryRange range = CurrentEntryRange(true, issue, data);
    const std::optional<int> hit = FirstEntryAt(range, x, y);
    // The terminating entry has no article to add, as beside all entries.
    if (hit && !range.entries[*hit].title->empty() &&
        sectionDlg.DoModal(&view, contents.favorites) == wxID_OK) {
        const EntryRef& entry = range.entries[*hit];
        // Applied to the file as it is now, so a favourite another copy added
        // meanwhile is kept, and saved at once, so it survives a crash.
        const auto result = std::make_shared<AddResult>();
        const bool kept = contents.ChangeFavorites(AddChange(
            sectionDlg.chosenName, *entry.title, StoredLinkFor(contents.library, issue, *entry.link),
            DiagnosticBoxes(), result));
        if (result->outcome == AddOutcome::Duplicate) {
            TheHostUi().ShowMessage(platform::text::To1251FromUtf8("Выбранная статья уже имеется в этой папке!"),
                                    platform::text::To1251FromUtf8("Предупреждение"),
                                    platform::MessageIcon::Warning, platform::MessageButtons::Ok);
            view.ArmRefreshTick();
            return false;
        }
        if (kept && result->outcome == AddOutcome::Added)
            entry.SetMark(kMarkSelected);
    }
    view.ArmRefreshTick();
    view.Refresh();
    return true;
}

void RemoveFavoriteAt(CMainFrame& frame, CQuillboxView& view, int x, int y)
{
    if (!frame.leftPane)
        return;
    CContentsPage& contents = frame.leftPane->contentsPage;
    const int current = contents.selectedIssue;
    if (current < 0)
        return;
    const auto section = static_cast<std::size_t>(current);
    if (section < contents.favorites.sections.size()) {
        const TSelectedFolder& folder = contents.favorites.sections[section];
        for (std::size_t i = 0; i < folder.articles.size(); ++i) {
            const TSelected& article = folder.articles[i];
            if (article.hitRect.Contains(x, y)) {
                CDeleteConfirmDlg confirm;
                confirm.title = article.title;
                if (confirm.DoModal(&view) == wxID_OK) {
                    RemoveAndFollow(frame, contents, section, i);
                    break;
                }
            }
            view.Refresh();
        }
    }
    view.ArmRefreshTick();
}
