// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/gui_support.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/evtloop.h>
#include <wx/listbox.h>
#include <wx/notebook.h>

#include "gui/frame/main_frame.h"
#include "gui/frame/quillbox_app.h"
#include "gui/leftpane/left_view.h"
#include "core/settings/settings_store.h"
#include "support/settings_values.h"

void Pump(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([end] { return std::chrono::steady_clock::now() >= end; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, kHangMs));
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        wxMilliSleep(5);
    }
    return done();
}

wxListBox* IssueListOf(CMainFrame* frame)
{
    wxWindow* page = frame->leftPane()->contentsPage.window();
    return page ? dynamic_cast<wxListBox*>(page->FindWindow(ID_ISSUE_LIST)) : nullptr;
}

void ChooseIssue(CMainFrame* frame, int row, wxEventType type)
{
    wxListBox* list = IssueListOf(frame);
    list->SetSelection(row);
    wxCommandEvent event(type, ID_ISSUE_LIST);
    event.SetInt(row);
    event.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(event);
}

void ChooseTab(CMainFrame* frame, int index)
{
    dynamic_cast<wxNotebook*>(frame->FindWindow(ID_TAB_CONTROL))->SetSelection(index);
    Pump(20);
}

void SendCommand(CMainFrame* frame, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    frame->GetEventHandler()->ProcessEvent(event);
    Pump(50);
}

void WriteIssue(const TempDir& dir, const std::string& folder, const std::string& contentsPath, int entries)
{
    std::string page = "<html><body><ul>\r\n";
    for (int i = 1; i <= entries; ++i)
        page += "<li><a href=\"a" + std::to_string(i) + ".htm\">Article " + std::to_string(i) + "</a></li>\r\n";
    page += "</ul></body></html>\r\n";
    std::string relative = contentsPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    dir.Write(folder + "/" + relative, page);
    dir.Write(folder + "/index.htm", "<html></html>");
}

GuiEnvironment::GuiEnvironment()
{
    savedCwd = std::filesystem::current_path().string();
    std::filesystem::create_directories(profile.dir().Join("cwd"));
    std::filesystem::current_path(profile.dir().Join("cwd"));
    TheHostUi().SetOpenerForTesting([this](const platform::shell::HostTarget& t) { opened.push_back(t); });
}

GuiEnvironment::~GuiEnvironment()
{
    CloseMainWindow();
    TheHostUi().SetOpenerForTesting(nullptr);
    std::filesystem::current_path(savedCwd);
}

void GuiEnvironment::StoreWorkingDirectory(const std::string& folder)
{
    StoreValue("Journals", folder + "/*");
}

void GuiEnvironment::StoreValue(const std::string& name, const std::string& bytes)
{
    StoreSetting(name, platform::registry::ValueType::Sz, bytes);
}

std::string GuiEnvironment::Value(const std::string& name) const
{
    return StoredSetting(name);
}

CMainFrame* GuiEnvironment::OpenMainWindow()
{
    docManager = new wxDocManager;
    frame = CreateMainWindow(*docManager);
    if (frame)
        wxTheApp->SetTopWindow(frame);
    Pump(150);
    return frame;
}

void GuiEnvironment::CloseMainWindow()
{
    if (frame) {
        frame->Close(true);
        frame = nullptr;
        Pump(50);
    }
    delete docManager;
    docManager = nullptr;
}
