#pragma once

#include <span>
#include <string>
#include <string_view>

#include "config/ini_file.h"

namespace tarvik {

// A new user sees a tray icon and no window: the first start says where the settings are.
inline constexpr std::string_view kFirstRunTitle = "Первый запуск";
inline constexpr std::string_view kFirstRunText =
    "Правый щелчок по значку → «Настройки».\n"
    "Там задаются тариф, валюта\n"
    "и счёт записи соединения.";
// The tray's tooltip until an entry's settings are saved: the same in one line.
inline constexpr std::string_view kSetupHint =
    "Tarvik v4.0\nПравый щелчок → Настройки: тариф, валюта и счёт записи";

// No entry, "Default" included, has had its settings saved yet.
bool nothingConfigured(const IniFile& config, std::span<const std::string> phonebookEntries);

}  // namespace tarvik
