#include "status/account_display.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/ini_file.h"

namespace tarvik {
namespace {

TEST(AccountDisplay, AccountModeSwitchesToWholeUnitsAndBackLeavesThem) {
  const char* base = std::getenv("TARVIK_TEST_TMP");
  const auto dir =
      std::filesystem::path(base ? base : std::filesystem::temp_directory_path().string()) /
      "account_display";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  ProgramFiles files{dir};
  IniFile config(files.config());

  ASSERT_TRUE(storeAccountDisplay(files, "Provider", true));
  EXPECT_EQ(config.readInt("Provider", "AccountDisplay", -1), 1);
  EXPECT_EQ(config.readInt("Provider", "CurrencyDisplay", -1), 1);
  ASSERT_TRUE(storeAccountDisplay(files, "Provider", false));
  EXPECT_EQ(config.readInt("Provider", "AccountDisplay", -1), 0);
  EXPECT_EQ(config.readInt("Provider", "CurrencyDisplay", -1), 1);
  EXPECT_FALSE(config.hasSection("Default"));

  std::filesystem::remove(files.config());
  std::filesystem::create_directories(files.config());
  EXPECT_FALSE(storeAccountDisplay(files, "Provider", true));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarvik
