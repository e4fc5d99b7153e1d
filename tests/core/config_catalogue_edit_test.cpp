// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue editor's rules: growing the catalogue, and the edits of its
// buttons on the edge cases the editor is known for.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "core/catalogue/catalogue_edit.h"
#include "core/settings/font_selection.h"
#include "platform/registry.h"
#include "platform/text1251.h"
#include "support/failing_save_calls.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"
#include "support/discovery_fake_host.h"

namespace {

JournalCatalogue ThreeKinds()
{
    return {{
        {"izone", ".\\frame\\left.htm", "InternetZone"},
        {"gold", ".\\gold\\toc.htm", "Gold"},
        {"release", ".\\pages\\materials.htm", "Release"},
    }};
}

std::vector<std::string> Prefixes(const JournalCatalogue& catalogue)
{
    std::vector<std::string> prefixes;
    for (const JournalKind& kind : catalogue.entries)
        prefixes.push_back(kind.prefix);
    return prefixes;
}

}  // namespace

TEST(GrowCatalogue, CopiesTheEntriesAndAddsAnEmptyOne)
{
    FakeHost host;
    JournalCatalogue catalogue = ThreeKinds();
    GrowCatalogue(catalogue, 4, host);
    ASSERT_EQ(catalogue.kindCount(), 4);
    EXPECT_EQ(catalogue.entries[2].contentsPath, ".\\pages\\materials.htm");
    EXPECT_EQ(catalogue.entries[3].prefix, "");
    EXPECT_EQ(catalogue.entries[3].displayName, "");

    JournalCatalogue empty;
    GrowCatalogue(empty, 1, host);
    EXPECT_EQ(empty.kindCount(), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST(GrowCatalogue, FailedCopyIsReportedAndLeavesTheRestEmpty)
{
    FakeHost host;
    JournalCatalogue catalogue = ThreeKinds();
    int copies = 0;
    GrowCatalogue(catalogue, 4, host, [&](const JournalKind& kind) {
        if (++copies == 2)
            throw std::bad_alloc();
        return kind;
    });
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, platform::text::To1251FromUtf8("Ошибка   i = 1  n = 3"));
    EXPECT_EQ(host.messages[0].caption, "Vestrels");
    EXPECT_EQ(copies, 2) << "copying stops at the failure";
    ASSERT_EQ(catalogue.kindCount(), 4);
    EXPECT_EQ(catalogue.entries[0].prefix, "izone");
    EXPECT_EQ(catalogue.entries[1].prefix, "");
    EXPECT_EQ(catalogue.entries[2].contentsPath, "");
}

namespace {

/// One press in the editor: select a row, add a folder name, delete, or
/// apply (OK applies the same way) with the texts the edits hold.
struct Step {
    enum Kind { Select, Add, Delete, Apply };
    Step(Kind kind, int row = 0, std::string text = {}) : kind(kind), row(row), text(std::move(text)) {}
    Kind kind;
    int row;
    std::string text;
};

struct EditCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> prefixes;
    int checkedRow;  ///< whose path and name are checked
    std::string path, name_;
    bool current;  ///< whether an entry is current afterwards
};

}  // namespace

// Apply and OK take what the edits show: after Add the edits still show the
// texts of the entry selected before, so they are those of the steps' Apply.
TEST(CatalogueEditor, EditsOfTheButtons)
{
    const EditCase cases[] = {
        {"delete gold",
         {{Step::Select, 1}, {Step::Delete}},
         {"izone", "release"}, 1, ".\\pages\\materials.htm", "Release", false},
        {"add right after selecting izone, then OK untouched",
         {{Step::Select, 0}, {Step::Add, 0, "protoplex"}, {Step::Apply, 0, ".\\frame\\left.htm|InternetZone"}},
         {"izone", "gold", "release", "protoplex"}, 3, ".\\frame\\left.htm", "InternetZone", true},
        {"OK right after a delete changes no entry",
         {{Step::Select, 0}, {Step::Delete}, {Step::Apply, 0, "|"}},
         {"gold", "release"}, 0, ".\\gold\\toc.htm", "Gold", false},
        {"add, then cancel: the entry stays, empty",
         {{Step::Select, 2}, {Step::Add, 0, "Hacker "}},
         {"izone", "gold", "release", "Hacker "}, 3, "", "", true},
        {"an empty folder name adds nothing",
         {{Step::Select, 1}, {Step::Add, 0, ""}, {Step::Apply, 0, ".\\new.htm|New"}},
         {"izone", "gold", "release"}, 1, ".\\new.htm", "New", true},
        {"apply with no entry current",
         {{Step::Apply, 0, ".\\x.htm|X"}, {Step::Delete}},
         {"izone", "gold", "release"}, 0, ".\\frame\\left.htm", "InternetZone", false},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        JournalCatalogue catalogue = ThreeKinds();
        CatalogueEditor editor(catalogue, host);
        for (const Step& step : c.steps) {
            switch (step.kind) {
            case Step::Select: editor.Select(step.row); break;
            case Step::Add: editor.Add(step.text); break;
            case Step::Delete: editor.Delete(); break;
            case Step::Apply: {
                const auto bar = step.text.find('|');
                editor.Apply(step.text.substr(0, bar), step.text.substr(bar + 1));
                break;
            }
            }
        }
        EXPECT_EQ(Prefixes(catalogue), c.prefixes);
        ASSERT_LT(c.checkedRow, catalogue.kindCount());
        EXPECT_EQ(catalogue.entries[static_cast<std::size_t>(c.checkedRow)].contentsPath, c.path);
        EXPECT_EQ(catalogue.entries[static_cast<std::size_t>(c.checkedRow)].displayName, c.name_);
        EXPECT_EQ(editor.HasCurrent(), c.current);
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(CatalogueEditor, DeletionEmptiesTheTextsAndSelectionFillsThem)
{
    FakeHost host;
    JournalCatalogue catalogue = ThreeKinds();
    CatalogueEditor editor(catalogue, host);
    EXPECT_FALSE(editor.Delete()) << "nothing is current before a selection";
    editor.Select(2);
    EXPECT_EQ(editor.pathText, ".\\pages\\materials.htm");
    EXPECT_EQ(editor.nameText, "Release");
    EXPECT_EQ(editor.Delete(), 2);
    EXPECT_EQ(editor.pathText, "");
    EXPECT_EQ(editor.nameText, "");
}

TEST(FontSelection, EveryFailingWriteIsReportedAndTheOthersGoOn)
{
    PrivateProfile profile;
    TextStyles styles = DefaultTextStyles();
    styles[kStyleFoundTitle].color = 0x00123456;
    FakeHost host;
    StoreTextStylesReporting(styles, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(StoredSetting("LogFont_5"), EncodeFontRecord(styles[kStyleFoundTitle]));

    {
        FailingHiveWrites failing;
        StoreTextStylesReporting(styles, host);
    }
    std::vector<std::string> texts;
    for (const auto& message : host.messages) {
        texts.push_back(message.text.substr(0, message.text.find('\n')));
        EXPECT_EQ(message.caption, "Vestrels");
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"k.t.1", "k.t.2", "k.t.2", "k.t.2", "k.t.2", "k.t.2"}));
}

TEST(FontSelection, AChoiceSetsTheChosenFieldsAndKeepsTheRest)
{
    TextStyle style = DefaultTextStyles()[kStyleHeading];
    style.font.width = 7;
    FontChoice choice;
    choice.faceName = "DejaVu Serif with a name longer than a LOGFONT holds";
    choice.height = -21;
    choice.weight = 300;
    choice.strikeOut = true;
    choice.color = 0x00008000;
    const TextStyle chosen = ApplyFontChoice(style, choice);
    EXPECT_EQ(chosen.font.faceName, choice.faceName.substr(0, 31));
    EXPECT_EQ(chosen.font.height, -21);
    EXPECT_EQ(chosen.font.width, 0);
    EXPECT_EQ(chosen.font.weight, 300);
    EXPECT_EQ(chosen.font.italic, 0);
    EXPECT_EQ(chosen.font.underline, 0);
    EXPECT_EQ(chosen.font.strikeOut, 1);
    EXPECT_EQ(chosen.font.charSet, style.font.charSet);
    EXPECT_EQ(chosen.font.pitchAndFamily, style.font.pitchAndFamily);
    EXPECT_EQ(chosen.color, 0x00008000u);
}
