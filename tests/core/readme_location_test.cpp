// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide is found in the folder the program runs in first, then
// where it was installed with the program.
#include <gtest/gtest.h>

#include "core/settings/readme_location.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

TEST(ReadmeLocation, CurrentFolderFirstThenTheInstalledGuide)
{
    TempDir prefix;
    prefix.Write("bin/vestrels", "");
    const std::string program = prefix.Join("bin/vestrels");
    const std::string installed = platform::paths::FromHost(prefix.Join("share/doc/vestrels/Readme.htm"));
    TempDir withGuide;
    withGuide.Write("Readme.htm", "<html></html>");
    TempDir withoutGuide;
    const std::string here = platform::paths::FromHost(withGuide.path());
    const std::string empty = platform::paths::FromHost(withoutGuide.path());

    // Nothing installed: the current folder's name, for the desktop to report.
    EXPECT_EQ(ReadmeToOpen(empty, program), empty + "\\Readme.htm");
    prefix.Write("share/doc/vestrels/Readme.htm", "<html></html>");
    EXPECT_EQ(ReadmeToOpen(here, program), here + "\\Readme.htm");
    EXPECT_EQ(ReadmeToOpen(empty, program), installed);
}
