#include "settings/skin_page_texts.h"

#include <gtest/gtest.h>

#include "settings/help_contexts.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

using test::ProgramDir;

// A picked skin's information column: its own texts, the stand-ins for missing ones, and the
// author's note only when the skin asks for it.
TEST(SkinPageTexts, ExternalSkinInformation) {
  ProgramDir dir;
  const auto file = dir.path() / "skin.qsf";
  ProgramDir::writeText(file,
                        "[skin:info]\nname=Осень\nversion=2.1\nauthor=Иван\nmail=ivan@example.org\n"
                        "comment_use=1\n");
  SkinPanelTexts t = externalSkinPanel(FileSkinKeys(IniFile(file)));
  EXPECT_EQ(t.name, "Осень");
  EXPECT_EQ(t.version, "версия: 2.1");
  EXPECT_EQ(t.author, "автор: Иван");
  EXPECT_EQ(t.mail, "ivan@example.org");
  EXPECT_EQ(t.web, " ");
  EXPECT_EQ(t.comment, "Информация от автора темы интерфейса:\n\t«Привет!»");

  ProgramDir::writeText(file, "[skin]\ngeneration=4\n");
  t = externalSkinPanel(FileSkinKeys(IniFile(file)));
  EXPECT_EQ(t.name, "?");
  EXPECT_EQ(t.version, "версия: ?");
  EXPECT_EQ(t.author, "автор: ?");
  EXPECT_TRUE(t.comment.empty());

  EXPECT_EQ(builtinSkinPanel(false).name, "СТАНДАРТНАЯ");
  EXPECT_EQ(builtinSkinPanel(false).version, "версия: 1.1");
  EXPECT_EQ(builtinSkinPanel(true).version, "версия: 1.0");
  EXPECT_EQ(externalSkinName("/home/u/skins/autumn/skin.qsf"), "/home/u/skins/autumn/");
}

TEST(SkinPageTexts, TrackBarWords) {
  EXPECT_EQ(transparencyText(25), "25 %");
  const std::pair<int, const char*> words[] = {
      {10, "(  БЬIСТРОЕ   )"},  {11, "(  НОРМАЛЬНОЕ   )"}, {20, "(  НОРМАЛЬНОЕ   )"},
      {21, "(  УМЕРЕННОЕ   )"}, {30, "(  УМЕРЕННОЕ   )"},  {40, "(  ЗАМЕДЛЕННОЕ   )"},
      {41, "(  МЕДЛЕННОЕ   )"}, {50, "(  МЕДЛЕННОЕ   )"},
  };
  for (const auto& [speed, word] : words) EXPECT_EQ(fadeSpeedWord(speed), word) << speed;
}

// F1 on each page opens its own topic; 10 belongs to no page, and an unknown number opens
// the contents rather than nothing.
TEST(HelpContexts, PagesAndSections) {
  EXPECT_EQ(pageHelpContext(PageId::Stat), 15);
  EXPECT_EQ(pageHelpContext(PageId::Cur), 11);
  EXPECT_EQ(pageHelpContext(PageId::Cfg), 5);
  EXPECT_EQ(pageHelpContext(PageId::Info), 9);
  EXPECT_EQ(helpSection(pageHelpContext(PageId::Tar)), "tabTar");
  EXPECT_EQ(helpSection(kHelpContents), "contents");
  EXPECT_EQ(helpSection(kHelpStart), "start");
  EXPECT_EQ(helpSection(10), "contents");
}

}  // namespace
}  // namespace tarvik
