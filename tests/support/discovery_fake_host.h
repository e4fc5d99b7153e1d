// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for the library's tests: records what the core shows and answers
// the folder browser from a queue.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/host_ui.h"

class FakeHost : public platform::HostUi {
public:
    struct Message {
        std::string text, caption;
        platform::MessageIcon icon;
    };

    std::vector<Message> messages;
    std::deque<std::optional<std::string>> folderAnswers;  ///< internal paths; an empty queue cancels
    std::vector<std::string> browserTitles;
    std::vector<std::string> browserStarts;  ///< where each browser opened
    platform::MessageAnswer questionAnswer = platform::MessageAnswer::No;
    std::vector<std::string> clipboardTexts;
    bool clipboardWorks = true;
    std::vector<platform::shell::Target> openedTargets;

    platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                        platform::MessageIcon icon, platform::MessageButtons buttons) override
    {
        messages.push_back({text, caption, icon});
        return buttons == platform::MessageButtons::YesNo ? questionAnswer : platform::MessageAnswer::Ok;
    }

    std::optional<std::string> BrowseForFolderAt(const std::string& title, const std::string& startFolder) override
    {
        browserStarts.push_back(startFolder);
        return BrowseForFolder(title);
    }

    std::optional<std::string> BrowseForFolder(const std::string& title) override
    {
        browserTitles.push_back(title);
        if (folderAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }

    bool SetClipboardText(const std::string& text) override
    {
        if (!clipboardWorks)
            return false;
        clipboardTexts.push_back(text);
        return true;
    }

    void OpenTarget(const platform::shell::Target& target) override { openedTargets.push_back(target); }
};
