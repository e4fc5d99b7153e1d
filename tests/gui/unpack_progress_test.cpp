// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking a compiled-help issue shows a progress dialog that names the
// archive and counts its objects; its cancel button stops that archive only.
#include <gtest/gtest.h>

#include <wx/progdlg.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "gui/gui_support.h"
#include "core/library/compiled_help.h"
#include "core/library/discovery.h"
#include "platform/paths.h"

namespace {

// The program's desktop, whose user presses Cancel once the first object of
// izone70.chm is written.
class CancellingHost : public WxHostUi {
public:
    std::string shownAtClick, messages;

    platform::MessageAnswer ShowMessage(const std::string& text, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        messages += text;
        return platform::MessageAnswer::Ok;
    }

    bool ShowProgress(const platform::Progress& progress) override
    {
        bool goOn = WxHostUi::ShowProgress(progress);
        if (!shownAtClick.empty() || progress.done != 1 || progress.text.find("izone70.chm") == std::string::npos)
            return goOn;
        shownAtClick = ProgressDialogForTesting()->GetMessage().utf8_string();
        for (const int ms : {500, kHangMs}) {  // on screen where it was placed, then clicked until it took it
            if (ms == kHangMs) {
                const wxWindow* cancel = ProgressDialogForTesting()->FindWindow(wxID_CANCEL);
                wxUIActionSimulator sim;
                sim.MouseMove(cancel->GetScreenRect().GetPosition() + cancel->GetSize() / 2);
                sim.MouseClick();
            }
            for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
                 goOn && std::chrono::steady_clock::now() < end; goOn = WxHostUi::ShowProgress(progress))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return goOn;
    }
};

void CompileIssue(const TempDir& work, const std::string& name)
{
    TempDir project;
    for (const char* page : {"index.htm", "a.htm", "b.htm"})
        project.Write(page, std::string("<p>") + page + "</p>\n");
    project.Write("a.hhp", "[OPTIONS]\nCompiled file=a.chm\n\n[FILES]\nindex.htm\na.htm\nb.htm\n");
    ASSERT_EQ(std::system(("cd '" + project.path() + "' && chmcmd a.hhp >/dev/null 2>&1").c_str()), 0);
    std::filesystem::copy_file(project.Join("a.chm"), work.Join(name));
}

}  // namespace

TEST(UnpackProgress, CancelLeavesThatIssueOutAndTheNextArchiveIsUnpacked)
{
    TempDir work;
    CompileIssue(work, "izone70.chm");
    CompileIssue(work, "izone71.chm");
    CancellingHost host;

    PrepareCompiledHelpIssues(host, platform::paths::FromHost(work.path()) + "\\*");

    EXPECT_FALSE(std::filesystem::exists(work.Join("izone70")));
    EXPECT_EQ(work.Read("izone71/a.htm"), "<p>a.htm</p>\n");
    EXPECT_EQ(host.messages, "");
    EXPECT_NE(host.shownAtClick.find(work.Join("izone70.chm") + "\n\nФайлов: 1 из "), std::string::npos)
        << host.shownAtClick;
}
