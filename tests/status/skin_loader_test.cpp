#include "status/skin_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "config/ini_file.h"
#include "platform/virtual_clock.h"
#include "support/fake_user.h"

namespace tarvik {
namespace {

// Records which pictures were asked for; files load when they exist.
class FakePictures : public SkinPictures {
 public:
  std::vector<std::string> resources;
  std::vector<std::string> files;
  void clear() override {
    resources.clear();
    files.clear();
  }
  bool loadResource(SkinBitmap, const std::string& name) override {
    resources.push_back(name);
    return true;
  }
  bool loadFile(SkinBitmap, const std::filesystem::path& file) override {
    files.push_back(file.filename().string());
    return std::filesystem::exists(file);
  }
};

class SkinLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("TARVIK_TEST_TMP");
    dir = std::filesystem::path(base ? base : std::filesystem::temp_directory_path().string()) /
          ("skin_loader_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "skin");
    files.dir = dir;
    log = std::make_unique<EventLog>(files.eventLog(), clock);
    loader = std::make_unique<SkinLoader>(files, *log, user);
  }
  void TearDown() override {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
  }
  std::string logText() {
    std::ifstream in(files.eventLog(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }
  void writeSkin(const std::string& text) { std::ofstream(dir / "skin" / "skin.qsf") << text; }
  void writeBitmaps(const std::string& suffix) {
    for (const char* name : kSkinBitmapNames) std::ofstream(dir / "skin" / (name + suffix)) << "x";
  }
  SkinChoice external(bool full) { return {true, (dir / "skin").string() + "/", full}; }

  VirtualClock clock;
  test::FakeUser user;
  ProgramFiles files;
  std::filesystem::path dir;
  std::unique_ptr<EventLog> log;
  std::unique_ptr<SkinLoader> loader;
  FakePictures pictures;
};

TEST_F(SkinLoaderTest, BuiltinSkinLoadsFromMemoryWithoutTemporaryFile) {
  std::filesystem::permissions(
      dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const SkinLoadResult r = loader->load({false, "Advanced", true}, pictures);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.layout.mode, SkinMode::Full);
  EXPECT_EQ(r.layout.width, 99);
  EXPECT_EQ(r.layout.height, 50);
  EXPECT_TRUE(r.header.doubleMode);
  ASSERT_EQ(pictures.resources.size(), 12u);
  EXPECT_EQ(pictures.resources.front(), "A_FACE");
  EXPECT_EQ(pictures.resources[3], "A_IND_AU");
  EXPECT_EQ(pictures.resources.back(), "A_SWITCH_DN");
  EXPECT_FALSE(std::filesystem::exists(files.skinTmp()));
  EXPECT_TRUE(user.messages.empty());

  const SkinLoadResult d = loader->load({false, "advanced", false}, pictures);
  EXPECT_EQ(d.layout.width, 75);
  EXPECT_EQ(d.layout.height, 20);
  EXPECT_EQ(pictures.resources.front(), "D_FACE");
}

TEST_F(SkinLoaderTest, LogsEachLoad) {
  loader->load({false, "Default", false}, pictures);
  std::string text = logText();
  EXPECT_NE(
      text.find(
          " Loading skin...\r\n Skin type: Internal\r\n Skin name: Default\r\n Skin mode: Compact"),
      std::string::npos);
  loader->load(external(true), pictures);
  text = logText();
  EXPECT_NE(text.find(" Skin type: External\r\n Skin path: " + (dir / "skin").string() +
                      "/\r\n Skin mode: Full"),
            std::string::npos);
}

TEST_F(SkinLoaderTest, OneModeSkinShowsCompactMode) {
  writeSkin("[skin]\ndouble=0\n[skin:compact:points]\nmax_count=4\n2x=40\n3x=40\n3y=12\n");
  writeBitmaps(".bmp");
  const SkinLoadResult r = loader->load(external(true), pictures);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.layout.mode, SkinMode::Compact);
  EXPECT_EQ(r.layout.width, 40);
  EXPECT_EQ(r.layout.height, 12);
  EXPECT_FALSE(r.header.doubleMode);
  EXPECT_NE(
      logText().find(
          " Failed. Skin has one mode settings only.\r\n Compact mode parameters will be loaded."),
      std::string::npos);
}

TEST_F(SkinLoaderTest, SeparatedSkinReadsModeBitmaps) {
  writeSkin("[skin]\ndouble=1\nseparated=1\n");
  writeBitmaps("_f.bmp");
  ASSERT_TRUE(loader->load(external(true), pictures).ok);
  EXPECT_EQ(pictures.files.front(), "face_f.bmp");
  EXPECT_EQ(pictures.files.back(), "switch_dn_f.bmp");
}

TEST_F(SkinLoaderTest, MissingBitmapFallsBackToStandardSkin) {
  writeSkin("[skin]\ndouble=1\nseparated=1\n");
  writeBitmaps("_c.bmp");
  std::filesystem::remove(dir / "skin" / "switch_dn_c.bmp");
  IniFile(files.config()).writeString("Olm:TK:Skin", "SkinName", (dir / "skin").string() + "/");
  IniFile(files.config()).writeInt("Olm:TK:Skin", "SkinExternal", 1);
  // The start-up loads the configured skin, and once more when that failed: the failed run
  // has rewritten the choice.
  SkinLoadResult r = loader->load(readSkinChoice(files), pictures);
  if (!r.ok) r = loader->load(readSkinChoice(files), pictures);
  ASSERT_TRUE(r.ok);  // the second run loaded the standard skin
  EXPECT_EQ(r.layout.width, 75);
  EXPECT_EQ(r.layout.height, 20);
  EXPECT_EQ(pictures.resources.front(), "D_FACE");
  IniFile config(files.config());
  EXPECT_EQ(config.readInt("Olm:TK:Skin", "SkinExternal", -1), 0);
  EXPECT_EQ(config.readString("Olm:TK:Skin", "SkinName"), "Default");
  EXPECT_EQ(config.readInt("Olm:TK:Skin", "SkinSize", -1), 0);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(
      user.messages[0],
      "Произошла ошибка во время загрузки темы.\nСтандартная тема интерфейса будет загружена.");
  EXPECT_NE(logText().find(" Failed. Bitmap file not found.\r\n Default skin will be set."),
            std::string::npos);
}

TEST_F(SkinLoaderTest, UnwritableSettingsEndTheProgram) {
  writeSkin("[skin]\ndouble=1\n");                      // no bitmaps at all
  std::filesystem::create_directories(files.config());  // the settings file cannot be replaced
  const SkinLoadResult e = loader->load(external(false), pictures);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(user.terminated, 1);
  const std::string text = logText();
  EXPECT_NE(text.find(" Failed. Unable to write settings.\r\n Application will be Terminated."),
            std::string::npos);

  // The caller's second try does not run into the same failure and message again.
  EXPECT_FALSE(loader->load(external(false), pictures).ok);
  EXPECT_EQ(user.terminated, 1);
  EXPECT_EQ(user.messages.size(), 2u);
}

TEST_F(SkinLoaderTest, TooManyPointsIsReportedAndLoadingGoesOn) {
  std::string skin = "[skin]\ndouble=0\n[skin:compact:points]\nmax_count=51\n";
  for (int n = 1; n <= 51; ++n) skin += std::to_string(n) + "x=" + std::to_string(n) + "\n";
  writeSkin(skin);
  writeBitmaps(".bmp");
  const SkinLoadResult r = loader->load(external(false), pictures);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.layout.pointsOutOfRange);
  EXPECT_EQ(r.layout.width, 50);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_NE(user.messages[0].find("(max = 50)"), std::string::npos);
  EXPECT_NE(logText().find(
                " Failed loading shape points data.\r\n Points count is out of range (max = 50)"),
            std::string::npos);
}

TEST_F(SkinLoaderTest, ModeSwitchStoresModeAndReloads) {
  const SkinLoadResult r = loader->switchMode(true, pictures);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.layout.mode, SkinMode::Full);
  EXPECT_EQ(IniFile(files.config()).readInt("Olm:TK:Skin", "SkinSize", 0), 1);
  std::filesystem::remove(files.config());
  std::filesystem::create_directories(files.config());
  EXPECT_FALSE(loader->switchMode(false, pictures).ok);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0],
            "Возникла ошибка при попытке записать файл на диск.\nСмена режима отображения темы "
            "интерфейса невозможна.");
  EXPECT_NE(logText().find(" Failed switching between skin modes."), std::string::npos);
}

TEST_F(SkinLoaderTest, PickedSkinIsCheckedAndReported) {
  writeSkin("[skin]\ndouble=1\n");
  FileSkinKeys noSkin(IniFile(dir / "skin" / "skin.qsf"));
  EXPECT_FALSE(acceptPickedSkin(noSkin, *log, user));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0],
            "Файл не является темой интерфейса либо не поддерживается программой.");
  EXPECT_NE(logText().find(" Failed reading skin data.\r\n Invalid skin file format.\r\n Skin "
                           "loading canceled."),
            std::string::npos);

  writeSkin("[skin]\ngeneration=4\nsupport=41\n");
  FileSkinKeys newer(IniFile(dir / "skin" / "skin.qsf"));
  EXPECT_TRUE(acceptPickedSkin(newer, *log, user));
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[1],
            "Загружаемая тема интерфейса поддерживается другой версией программы.\nЭто может "
            "вызвать некорректное отображение некоторых компонентов темы.");
  EXPECT_NE(logText().find(" Skin algorithm version is higher than supported.\r\n Full "
                           "functionality is not guaranteed."),
            std::string::npos);

  writeSkin("[skin]\ngeneration=4\nsupport=40\n");
  FileSkinKeys current(IniFile(dir / "skin" / "skin.qsf"));
  EXPECT_TRUE(acceptPickedSkin(current, *log, user));
  EXPECT_EQ(user.messages.size(), 2u);
}

}  // namespace
}  // namespace tarvik
