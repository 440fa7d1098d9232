#include "status/skin_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/ini_file.h"
#include "support/program_dir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using test::ProgramDir;

TEST(SkinWriterTest, BorderPointsUseIntegerQuarters) {
  const auto p = borderPoints(101, 61);
  EXPECT_EQ(p[0], (SkinPoint{0, 0}));
  EXPECT_EQ(p[2], (SkinPoint{0, 30}));
  EXPECT_EQ(p[6], (SkinPoint{50, 61}));
  EXPECT_EQ(p[8], (SkinPoint{101, 61}));
  EXPECT_EQ(p[12], (SkinPoint{101, 0}));
  EXPECT_EQ(p[15], (SkinPoint{25, 0}));
  EXPECT_TRUE(isSkinFileName("/a/SKIN.QSF"));
  EXPECT_TRUE(isSkinFileName("Skin.Qsf"));
  EXPECT_FALSE(isSkinFileName("/a/other.qsf"));
  EXPECT_FALSE(isSkinFileName("/a/skin.qsf.bak"));
}

// A saved skin is the draft with the finished [skin] keys, its pictures under their skin
// names, and the opened skin's other files where the folder lacks them; whatever could not be
// copied is listed instead of being passed over.
TEST(SkinWriterTest, SaveCopiesCheckedAndListsFailures) {
  ProgramDir dir;
  const SkinDraft draft(dir.files().skinDraft());
  const fs::path pics = dir.path() / "pics";
  const fs::path opened = dir.path() / "opened";
  const fs::path target = dir.path() / "out";
  for (const fs::path& p : {pics, opened, target}) fs::create_directories(p);
  ProgramDir::writeText(pics / "face.bmp", "FACE");
  ProgramDir::writeText(opened / "face_c.bmp", "OLD FACE");
  ProgramDir::writeText(opened / "ind_on_c.bmp", "OLD IND");
  draft.writeSeparated(true);
  draft.markCreated(SkinMode::Compact);
  draft.writeImagePath("face", SkinMode::Compact, (pics / "face.bmp").string(), true);
  draft.writeImagePath("ind_on", SkinMode::Full, (pics / "missing.bmp").string(), true);

  const SkinSaveResult result = saveSkinDraft(draft, target / "skin.qsf", true, opened);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_NE(result.failures[0].find("missing.bmp"), std::string::npos);
  EXPECT_EQ(ProgramDir::readText(target / "face_c.bmp"), "FACE");
  EXPECT_EQ(ProgramDir::readText(target / "ind_on_c.bmp"), "OLD IND");
  const IniFile skin(target / "skin.qsf");
  EXPECT_EQ(skin.readInt("skin", "double", 0), 1);
  EXPECT_EQ(skin.readInt("skin", "separated", 0), 1);
  EXPECT_EQ(skin.readInt("skin", "generation", 0), 4);
  EXPECT_FALSE(skin.hasSection("skin:img"));
  EXPECT_FALSE(skin.hasSection("skin:temp"));
  EXPECT_TRUE(draft.exists());
  EXPECT_EQ(draft.loadedCount(true), 2);

  // A folder that takes no files fails as a whole.
  const SkinSaveResult nowhere = saveSkinDraft(draft, dir.path() / "no" / "skin.qsf", false, {});
  EXPECT_FALSE(nowhere.ok());
}

// The largest font the editor's picker offers goes through the working file and the saved skin
// unchanged; only a hand-made skin beyond it is cut down.
TEST(SkinWriterTest, LargestEditorFontSurvivesTheRoundTrip) {
  ProgramDir dir;
  const SkinDraft draft(dir.files().skinDraft());
  draft.markCreated(SkinMode::Full);
  SkinLayout layout = draft.layout(SkinMode::Full);
  layout.texts[static_cast<std::size_t>(SkinTextId::Time)].pointSize = 100;
  layout.texts[static_cast<std::size_t>(SkinTextId::Tariff)].pointSize = 97;
  draft.writeTexts(layout);
  EXPECT_EQ(draft.layout(SkinMode::Full).text(SkinTextId::Time).pointSize, 100);

  const fs::path target = dir.path() / "big" / "skin.qsf";
  fs::create_directories(target.parent_path());
  ASSERT_TRUE(saveSkinDraft(draft, target, true, {}).ok());
  IniFile skin(target);
  const SkinLayout saved = readSkinLayout(FileSkinKeys(skin), SkinMode::Full);
  EXPECT_EQ(saved.text(SkinTextId::Time).pointSize, 100);
  EXPECT_EQ(saved.text(SkinTextId::Tariff).pointSize, 97);
  skin.writeString("skin:full:time", "s", "101");
  EXPECT_EQ(readSkinLayout(FileSkinKeys(IniFile(target)), SkinMode::Full)
                .text(SkinTextId::Time)
                .pointSize,
            100);
}

}  // namespace
}  // namespace tarvik
