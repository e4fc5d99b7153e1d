// SPDX-License-Identifier: GPL-3.0-or-later
// What the panes, the pages and the commands may ask of the main window:
// the reader's session and the few things only the frame can do. The frame
// implements it; nothing below the frame reaches the frame's fields.
#pragma once

#include <string>

#include <wx/event.h>

class ReaderSession;

/// Sent synchronously by the left pane to the frame on every size change;
/// the int is the new width.
wxDECLARE_EVENT(UM_LEFT_PANE_WIDTH, wxCommandEvent);

class ReaderFrame {
public:
    virtual ReaderSession& session() = 0;

    /// Repaints the article view; with `focus` the view takes the focus once
    /// the list's own click or key handling has ended.
    virtual void RepaintArticles(bool focus) = 0;
    /// A search result was chosen: the view scrolls its first found article
    /// into sight, and takes the focus as RepaintArticles does.
    virtual void ShowFirstFound(bool focus) = 0;
    /// The favourites file's sections changed: their list is built again.
    virtual void SectionsChanged() = 0;
    /// Opens `link` of the current issue, or a complete link (favourites).
    virtual void OpenArticle(std::string link, bool relative) = 0;
    /// Builds the library from the working directory, asking for what is
    /// missing (the catalogue, the folder).
    virtual void BuildLibrary() = 0;

protected:
    ~ReaderFrame() = default;
};
