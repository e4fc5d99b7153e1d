// SPDX-License-Identifier: GPL-3.0-or-later
// Targets in the host's form: addresses as UTF-8, file paths mapped.
#include "platform/shell.h"

#include <string>

#include "platform/paths.h"
#include "platform/text1251.h"

namespace platform::shell {

HostTarget ToHostTarget(const Target& target)
{
    if (target.kind == TargetKind::Address)
        return {TargetKind::Address, text::Utf8From1251(target.text)};
    // A "#fragment" or "?query" stays part of the file name, as written.
    return {TargetKind::File, paths::ToHost(target.text)};
}

bool CanHandOver(const HostTarget& target)
{
    const std::string& value = target.value;
    if (target.kind == TargetKind::File)
        return !value.empty() && value.front() == '/';
    // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (value.empty() || !isLetter(value.front()))
        return false;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ':')
            return true;
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

std::string OpenerFailureReason(int exitStatus)
{
    switch (exitStatus) {
    case 1: return Cp1251("программа открытия не приняла эту ссылку (код 1)");
    case 2: return Cp1251("файл не найден (код 2)");
    case 3: return Cp1251("нет программы, которая открывает такие файлы (код 3)");
    case 4: return Cp1251("программа, которой передан файл, сообщила об ошибке (код 4)");
    default:
        return Cp1251("программа открытия завершилась с кодом ") + std::to_string(exitStatus);
    }
}

}  // namespace platform::shell
