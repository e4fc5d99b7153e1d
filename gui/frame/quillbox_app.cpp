// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/frame/quillbox_app.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include <wx/menu.h>

#include <wx/cmdline.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/docview.h>
#include <wx/xrc/xmlres.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "gui/frame/quillbox_doc.h"
#include "core/settings/settings_store.h"
#include "core/settings/config_ids.h"
#include "platform/wx/close_signals.h"
#include "platform/paths.h"
#include "platform/wx/desktop_setup.h"
#include "platform/text1251.h"
#include "platform/wx/wx_host_ui.h"

extern void InitVestrelsResources();

void RegisterResourceIds()
{
    const std::pair<const char*, int> ids[] = {
        {"ID_CMD_READ", ID_CMD_READ},
        {"ID_CMD_FONTS", ID_CMD_FONTS},
        {"ID_CMD_WORKING_DIRECTORY", ID_CMD_WORKING_DIRECTORY},
        {"ID_CMD_JOURNALS", ID_CMD_JOURNALS},
        {"ID_CMD_ABOUT", ID_CMD_ABOUT},
        {"ID_CMD_README", ID_CMD_README},
        {"ID_CMD_HELP", ID_CMD_HELP},
        {"ID_CMD_NEW", ID_CMD_NEW},
        {"ID_CMD_OPEN", ID_CMD_OPEN},
        {"ID_CMD_SAVE", ID_CMD_SAVE},
        {"ID_CMD_NEXT_PANE", ID_CMD_NEXT_PANE},
        {"ID_CMD_PREV_PANE", ID_CMD_PREV_PANE},
        {"ID_CMD_TOGGLE_TOOLBAR", ID_CMD_TOGGLE_TOOLBAR},
        {"ID_CMD_TOGGLE_STATUS_BAR", ID_CMD_TOGGLE_STATUS_BAR},
        {"ID_TOOLBAR", ID_TOOLBAR},
        {"ID_ISSUE_LIST", 1001},
    };
    for (const auto& [name, value] : ids)
        wxXmlResource::GetXRCID(name, value);
    for (const auto& [name, value] : kConfigResourceIds)
        wxXmlResource::GetXRCID(name, value);
}

void InitProgramResources()
{
    // The framework keeps no profile of its own for this program.
    wxConfigBase::DontCreateOnDemand();
    RegisterResourceIds();
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitVestrelsResources();
    UseAsDefaultWindowIcons(ProgramIcons());
}

namespace {

wxAcceleratorTable LoadAccelerators()
{
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu("IDR_ACCELERATORS"));
    std::vector<wxAcceleratorEntry> entries;
    if (menu) {
        for (wxMenuItem* item : menu->GetMenuItems()) {
            std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
            if (accel)
                entries.emplace_back(accel->GetFlags(), accel->GetKeyCode(), item->GetId());
        }
    }
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

}  // namespace

CMainFrame* CreateMainWindow(wxDocManager&, const std::string& workingDirectoryForRun)
{
    // The frame owns the document: it has no data and ends with the window.
    auto* frame = new CMainFrame(new CQuillboxDoc);
    frame->UseWorkingDirectoryForRun(workingDirectoryForRun);
    if (!frame->Create()) {
        frame->Destroy();
        return nullptr;
    }
    frame->SetAcceleratorTable(LoadAccelerators());
    frame->document()->OnNewDocument();
    frame->UpdateCaption();
    frame->Show();
    return frame;
}

bool CQuillboxApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;
    SetAppName("Vestrels");
    SetVendorName("Vestrels");
    UseUserLanguage();
    InitProgramResources();
    closeOnSignals = std::make_unique<CloseOnSignals>([this]() -> wxWindow* { return mainWindow.get(); });
    // Before any value is read: a settings file that cannot be read goes
    // aside, and the user learns where.
    if (const std::string setAside = settings::SetAsideUnreadableSettings(); !setAside.empty())
        TheHostUi().ShowMessage(setAside, "Vestrels", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    docManager = new wxDocManager;
    CMainFrame* frame = CreateMainWindow(*docManager, workingDirectoryForRun);
    if (!frame)
        return false;
    SetTopWindow(frame);
    mainWindow = frame;
    return true;
}

void CQuillboxApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    // Only the folder: "--help" and "--version" were answered before the
    // display was opened, and the framework's own options are not ours.
    parser.AddParam("DIR", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CQuillboxApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    if (parser.GetParamCount() == 0)
        return true;
    wxFileName folder = wxFileName::DirName(parser.GetParam(0));
    folder.MakeAbsolute();
    workingDirectoryForRun = platform::paths::FromHost(folder.GetPath().utf8_string());
    return true;
}

int CQuillboxApp::OnExit()
{
    closeOnSignals.reset();
    delete docManager;
    return wxApp::OnExit();
}

bool CQuillboxApp::OnExceptionInMainLoop()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        TheHostUi().ShowMessage(Cp1251("Недостаточно памяти: действие прервано."), Cp1251("Ошибка"),
                                platform::MessageIcon::Error, platform::MessageButtons::Ok);
        return true;
    }
}

void CQuillboxApp::OnUnhandledException()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        std::fputs("vestrels: out of memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vestrels: %s\n", error.what());
    } catch (...) {
        std::fputs("vestrels: unexpected error\n", stderr);
    }
}
