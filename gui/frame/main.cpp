// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry point: its own help and version texts, and a wrong
// command line, need no display; the application object does everything else.
#include <cstdio>

#include "core/settings/program_arguments.h"
#include "gui/frame/quillbox_app.h"

wxIMPLEMENT_APP_NO_MAIN(CQuillboxApp);

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ProgramRequest request = ReadProgramArguments(args);
    if (request.kind == ProgramRequest::Mistake) {
        std::fputs(request.text.c_str(), stderr);
        return 2;
    }
    if (request.kind == ProgramRequest::Print) {
        std::fputs(request.text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return wxEntry(argc, argv);
}
