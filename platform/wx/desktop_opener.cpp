// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wx/desktop_opener.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/process.h>
#include <wx/utils.h>

#include "platform/process.h"
#include "platform/wx/wx_text.h"

namespace {

wxWindow* MainWindow()
{
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

void ReportOpenFailure(const wxString& target, const wxString& reason)
{
    wxMessageDialog dialog(MainWindow(), wxString::FromUTF8("Не удалось открыть\n") + target + "\n\n" + reason,
                           "Vestrels", wxOK | wxICON_ERROR);
    dialog.ShowModal();
}

void ShowRefusalInStatusBar(const wxString& target)
{
    const wxString text = wxString::FromUTF8("Не открыто: «") + target +
                          wxString::FromUTF8("» — не полный путь к файлу и не адрес");
    auto* frame = dynamic_cast<wxFrame*>(MainWindow());
    if (frame && frame->GetStatusBar())
        frame->SetStatusText(text, 0);
}

// Lives until the opener ends, then reports a failure and deletes itself.
class OpenerProcess : public wxProcess {
public:
    explicit OpenerProcess(const wxString& target) : target_(target) {}

    void OnTerminate(int, int status) override
    {
        if (status != 0 && wxTheApp) {
            // Shown from the event loop, not from inside the child's reaping.
            const wxString target = target_;
            wxTheApp->CallAfter([target, status] {
                ReportOpenFailure(target, From1251(platform::shell::OpenerFailureReason(status)));
            });
        }
        delete this;
    }

private:
    wxString target_;
};

}  // namespace

bool RefuseToHandOver(const platform::shell::HostTarget& target)
{
    if (platform::shell::CanHandOver(target))
        return false;
    ShowRefusalInStatusBar(wxString::FromUTF8(target.value));
    return true;
}

void OpenWithDesktop(const platform::shell::HostTarget& target)
{
    if (RefuseToHandOver(target))
        return;
    const wxString shown = wxString::FromUTF8(target.value);
    wxString searchPath;
    wxGetEnv("PATH", &searchPath);
    const std::string opener = platform::process::FindOnPath("xdg-open", searchPath.utf8_string());
    if (opener.empty()) {
        ReportOpenFailure(shown,
                          wxString::FromUTF8("не установлена программа открытия xdg-open (пакет xdg-utils)"));
        return;
    }
    const wxString program = wxString::FromUTF8(opener);
    const wchar_t* argv[] = {program.wc_str(), shown.wc_str(), nullptr};
    auto* process = new OpenerProcess(shown);
    if (wxExecute(argv, wxEXEC_ASYNC, process) == 0) {
        delete process;
        ReportOpenFailure(shown, wxString::FromUTF8("не удалось запустить ") + program);
    }
}
