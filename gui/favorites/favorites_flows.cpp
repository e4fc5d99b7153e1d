// SPDX-License-Identifier: GPL-3.0-or-later
// The right-click flows: the hit test over what the view shows, the modal
// dialogs and the session's favourites operations, which save every change.
#include "gui/favorites/favorites_flows.h"

#include "core/view/article_layout.h"
#include "core/view/view_selection.h"
#include "gui/favorites/delete_confirm_dlg.h"
#include "core/favorites/favorites_ops.h"
#include "gui/favorites/section_dlg.h"
#include "core/session/reader_session.h"
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

}  // namespace

FavoritesFlowOutcome AddArticleAt(ReaderSession& session, wxWindow* parent, CSectionDlg& sectionDlg, int x, int y)
{
    FavoritesFlowOutcome outcome;
    const int issue = session.currentIndex();
    if (issue < 0)
        return outcome;
    const ArticleData data{&session.library().issues, &session.favorites()};
    const EntryRange range = CurrentEntryRange(true, issue, data);
    const std::optional<int> hit = FirstEntryAt(range, x, y);
    outcome.refreshTick = true;
    // The terminating entry has no article to add, as beside all entries.
    if (hit && !range.entries[*hit].title->empty() && sectionDlg.DoModal(parent, session.favorites()) == wxID_OK) {
        const EntryRef& entry = range.entries[*hit];
        const FavoriteAdded added =
            session.AddFavorite(sectionDlg.chosenName, *entry.title, *entry.link, DiagnosticBoxes());
        if (added.outcome == AddOutcome::Duplicate) {
            TheHostUi().ShowMessage(platform::text::To1251FromUtf8("Выбранная статья уже имеется в этой папке!"),
                                    platform::text::To1251FromUtf8("Предупреждение"),
                                    platform::MessageIcon::Warning, platform::MessageButtons::Ok);
            outcome.passOn = false;
            return outcome;
        }
        if (!added.change.refused && added.outcome == AddOutcome::Added)
            entry.SetMark(kMarkSelected);
    }
    outcome.repaint = true;
    return outcome;
}

FavoritesFlowOutcome RemoveFavoriteAt(ReaderSession& session, wxWindow* parent, int x, int y)
{
    FavoritesFlowOutcome outcome;
    const int current = session.currentIndex();
    if (current < 0)
        return outcome;
    outcome.refreshTick = true;
    const auto section = static_cast<std::size_t>(current);
    if (section >= session.favorites().sections.size())
        return outcome;
    // A copy: the store may be replaced while the question is asked.
    const TSelectedFolder folder = session.favorites().sections[section];
    for (std::size_t i = 0; i < folder.articles.size(); ++i) {
        const TSelected& article = folder.articles[i];
        if (article.hitRect.Contains(x, y)) {
            CDeleteConfirmDlg confirm;
            confirm.title = article.title;
            if (confirm.DoModal(parent) == wxID_OK) {
                // The place follows its section and article wherever the
                // file put them; a section gone rebuilds the list.
                outcome.sectionsChanged = session.RemoveFavorite(section, i, DiagnosticBoxes()).sectionsChanged;
                break;
            }
        }
        outcome.repaint = true;
    }
    return outcome;
}
