// SPDX-License-Identifier: GPL-3.0-or-later
// Font choices into styles, and storing the styles.
#include "core/settings/font_selection.h"

#include "platform/host_ui.h"

namespace {

constexpr std::size_t kFaceNameMax = 31;

void Report(platform::HostUi& host, const char* code, const WriteResult& result)
{
    host.ShowMessage(settings::WriteFailureText(code, result.error), "Vestrels", platform::MessageIcon::None,
                     platform::MessageButtons::Ok);
}

void ReportFailures(const settings::StylesWriteResult& result, platform::HostUi& host)
{
    if (result.nameFont == WriteResult::Failed)
        Report(host, "k.t.1", result.nameFont);
    for (const WriteResult& record : result.records)
        if (record == WriteResult::Failed)
            Report(host, "k.t.2", record);
}

}  // namespace

TextStyle ApplyFontChoice(TextStyle style, const FontChoice& choice)
{
    LogFont& font = style.font;
    font.faceName = choice.faceName.substr(0, kFaceNameMax);
    font.height = choice.height;
    font.width = 0;
    font.escapement = 0;
    font.orientation = 0;
    font.weight = choice.weight;
    font.italic = choice.italic ? 1 : 0;
    font.underline = choice.underline ? 1 : 0;
    font.strikeOut = choice.strikeOut ? 1 : 0;
    style.color = choice.color;
    return style;
}

void StoreTextStylesReporting(const TextStyles& styles, platform::HostUi& host)
{
    ReportFailures(settings::StoreTextStyles(styles), host);
}

void StoreChangedTextStylesReporting(const TextStyles& before, const TextStyles& after, platform::HostUi& host)
{
    ReportFailures(settings::StoreChangedTextStyles(before, after), host);
}
