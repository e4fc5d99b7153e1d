// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry point: its own help and version texts need no display;
// the application object does everything else.
#include <cstdio>

#include "app/program_arguments.h"
#include "app/quillbox_app.h"

wxIMPLEMENT_APP_NO_MAIN(CQuillboxApp);

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const std::optional<std::string> info = InfoRequestedBy(args)) {
        std::fputs(info->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return wxEntry(argc, argv);
}
