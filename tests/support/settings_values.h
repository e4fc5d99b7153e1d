// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing single settings values in a test's private hive.
#pragma once

#include <string>

#include "core/settings/settings_store.h"
#include "platform/registry.h"

/// Writes a value under the settings key, creating the key.
inline bool StoreSetting(const std::string& name, platform::registry::ValueType type, const std::string& data)
{
    auto key = platform::registry::CreateKey(kSettingsKey);
    return key && platform::registry::SetValue(*key, name, type, data);
}

/// A value's bytes, or "<missing>".
inline std::string StoredSetting(const std::string& name)
{
    auto key = platform::registry::OpenKey(kSettingsKey);
    std::string data;
    if (!key || platform::registry::QueryValue(*key, name, 1 << 20, data) != platform::registry::QueryResult::Ok)
        return "<missing>";
    return data;
}
