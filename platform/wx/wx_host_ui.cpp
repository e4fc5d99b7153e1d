// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/wx_host_ui.h"

#include <algorithm>
#include <climits>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/utils.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/text1251.h"
#include "platform/wx/desktop_opener.h"
#include "platform/wx/wx_text.h"

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

namespace {

timespec Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

/// Removes `hostPath` when it is an empty folder born at or after `since`
/// (a folder the chooser made of a typed name); true then. rmdir never
/// removes a folder with anything in it.
bool RemoveFolderMadeSince(const std::string& hostPath, const timespec& since)
{
    struct statx st {};
    if (statx(AT_FDCWD, hostPath.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_BTIME | STATX_CTIME, &st) != 0 ||
        !S_ISDIR(st.stx_mode))
        return false;
    // Without a birth time the last change of the folder's entry stands in.
    const statx_timestamp born = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_ctime;
    const bool madeSince = born.tv_sec > since.tv_sec || (born.tv_sec == since.tv_sec && born.tv_nsec >= since.tv_nsec);
    return madeSince && rmdir(hostPath.c_str()) == 0;
}

long DialogStyle(MessageIcon icon, MessageButtons buttons)
{
    long style = 0;
    switch (buttons) {
    case MessageButtons::Ok: style |= wxOK; break;
    case MessageButtons::OkCancel: style |= wxOK | wxCANCEL; break;
    case MessageButtons::YesNo: style |= wxYES_NO; break;
    }
    switch (icon) {
    case MessageIcon::None: style |= wxICON_NONE; break;
    case MessageIcon::Error: style |= wxICON_ERROR; break;
    case MessageIcon::Warning: style |= wxICON_WARNING; break;
    case MessageIcon::Information: style |= wxICON_INFORMATION; break;
    case MessageIcon::Question: style |= wxICON_QUESTION; break;
    }
    return style;
}

MessageAnswer AnswerFor(int id)
{
    switch (id) {
    case wxID_OK: return MessageAnswer::Ok;
    case wxID_YES: return MessageAnswer::Yes;
    case wxID_NO: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

// A modal dialog the user is in owns what it asks (the catalogue editor's
// own messages stay above it); otherwise the main window does.
wxWindow* DialogParent()
{
    if (wxWindow* focus = wxWindow::FindFocus()) {
        if (auto* dialog = dynamic_cast<wxDialog*>(wxGetTopLevelParent(focus)); dialog && dialog->IsModal())
            return dialog;
    }
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

}  // namespace

MessageAnswer WxHostUi::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                                    MessageButtons buttons)
{
    wxMessageDialog dialog(DialogParent(), From1251(text), From1251(caption), DialogStyle(icon, buttons));
    return AnswerFor(dialog.ShowModal());
}

std::optional<std::string> WxHostUi::BrowseForFolder(const std::string& title)
{
    return BrowseForFolderAt(title, std::string());
}

std::optional<std::string> WxHostUi::BrowseForFolderAt(const std::string& title, const std::string& startFolder)
{
    wxString start = startFolder.empty() ? wxString() : wxString::FromUTF8(platform::paths::ToHost(startFolder));
    for (;;) {
        CFolderBrowser browser(DialogParent(), From1251(title), start);
        const timespec opened = Now();
        if (browser.ShowModal() != wxID_OK)
            return std::nullopt;
        const wxString path = browser.GetPath();
        if (path.empty())
            return std::nullopt;
        const wxScopedCharBuffer utf8 = path.utf8_str();
        const std::string host(utf8.data(), utf8.length());
        // GTK's chooser makes a folder of a typed name that does not exist,
        // whatever it is told: such a folder is taken away again, and the
        // user is told and asked once more.
        if (!RemoveFolderMadeSince(host, opened))
            return platform::paths::FromHost(host);
        ShowMessage(platform::text::To1251FromUtf8("Папка\n" + host + "\nне найдена."), "Vestrels",
                    MessageIcon::Warning, MessageButtons::Ok);
        start = wxString::FromUTF8(std::filesystem::path(host).parent_path().string());
    }
}

bool WxHostUi::SetClipboardText(const std::string& text)
{
    wxClipboardLocker locker;
    if (!locker)
        return false;
    return wxTheClipboard->SetData(new wxTextDataObject(From1251(text)));
}

void WxHostUi::OpenTarget(const platform::shell::Target& target)
{
    const platform::shell::HostTarget host = platform::shell::ToHostTarget(target);
    if (RefuseToHandOver(host))
        return;
    if (opener_) {
        opener_(host);
        return;
    }
    OpenWithDesktop(host);
}

WxHostUi::~WxHostUi() = default;

bool WxHostUi::ShowProgress(const platform::Progress& progress)
{
    const int total = static_cast<int>(std::clamp<std::size_t>(progress.total, 1, INT_MAX));
    const int done = static_cast<int>(std::min<std::size_t>(progress.done, static_cast<std::size_t>(total)));
    if (!progress_) {
        // Before the main window is on screen the dialog stands on its own.
        wxWindow* parent = DialogParent();
        progress_ = std::make_unique<wxProgressDialog>(
            From1251(progress.caption), From1251(progress.text), total, parent && parent->IsShown() ? parent : nullptr,
            wxPD_CAN_ABORT | wxPD_APP_MODAL | wxPD_AUTO_HIDE | wxPD_ELAPSED_TIME | wxPD_REMAINING_TIME);
    } else if (progress_->GetRange() != total) {
        progress_->SetRange(total);
    }
    return progress_->Update(done, From1251(progress.text));
}

void WxHostUi::EndProgress()
{
    progress_.reset();
}

WxHostUi& TheHostUi()
{
    static WxHostUi host;
    return host;
}

CFolderBrowser::CFolderBrowser(wxWindow* parent, const wxString& title, const wxString& startFolder)
    // Without a starting folder the chooser opens on its list of recent
    // files, where no folder can be chosen.
    : wxDirDialog(parent, title, wxDirExists(startFolder) ? startFolder : wxGetHomeDir(),
                  wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST)
{
}

void CFolderBrowser::SetPath(const wxString& path)
{
    assignedPath_ = path;
    wxDirDialog::SetPath(path);
}

wxString CFolderBrowser::GetPath() const
{
    const wxString chosen = wxDirDialog::GetPath();
    return chosen.empty() ? assignedPath_ : chosen;
}
