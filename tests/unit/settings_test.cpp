#include <gtest/gtest.h>

#include <algorithm>

#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() { program.state.ProgramFolder = "C:\\Program Files\\Tapestrel\\"; }

  std::vector<std::string> writtenKeys() const {
    std::vector<std::string> keys;
    for (const auto& w : memory.settings.Writes()) keys.push_back(w.key);
    return keys;
  }
  std::string stored(const std::string& key) { return memory.settings.GetSetting("StartUp", key, "<absent>"); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  Options& o = program.options;
};

TEST_F(SettingsTest, EmptyStoreLoadsTheDefaults) {
  o.DeleteConfirmation = false;  // load must put every value back, not only the stored ones
  o.SpeedFill = 0;
  program.settings.Load();
  Options expected;
  expected.Folders.fill("C:\\Program Files\\Tapestrel\\");
  EXPECT_EQ(o, expected);
  EXPECT_EQ(o.HotKeyModifier, 0);
  EXPECT_EQ(o.HotKeyCode, 123);
  EXPECT_EQ(o.AlternateFilePattern, ".jp?");
  EXPECT_EQ(o.Programs[0], "internal");
  EXPECT_EQ(o.Programs[9], "Enter an editor");
  EXPECT_FALSE(o.HasWindowPosition);
  EXPECT_TRUE(memory.settings.Writes().empty());
}

TEST_F(SettingsTest, SaveAllThenLoadGivesTheSameOptions) {
  o.ListViewView = {3, 1};
  o.SortKey = 4;
  o.SortOrder = -2;
  o.BackdropMode = 2;
  o.WallPaperName = "C:\\Pictures\\sea.bmp";
  o.WallPaperChangeInterval = 0.5;
  o.AlternateFilePattern = ".png";
  o.StartupSplitPoint = 3120;
  o.HasWindowPosition = true;
  o.WindowPosition = {120, 240, 9000, 6000};
  o.Folders = {"C:\\a\\", "C:\\b\\", "C:\\c\\", "C:\\d\\", "C:\\e\\", "D:\\f\\", "D:\\g\\", "D:\\h\\", "D:\\i\\", "D:\\j\\"};
  o.PictureDirectory = 3;
  o.MoveDirectory = 7;
  o.DeleteConfirmation = false;
  o.RenameOnCollision = false;
  o.Programs[2] = "C:\\tools\\view.exe";
  o.Programs[6] = "C:\\tools\\paint.exe";
  o.Viewer = 2;
  o.Editor = 6;
  o.ActiveFilters = {"sea*", "a*", "*"};
  o.NotBmpFileFilter[1] = "b*";
  o.BmpFileFilter[4] = "c*";
  o.CustomFilter[0] = "*.gif";
  o.HotKeyModifier = 3;
  o.HotKeyCode = 80;
  o.MinimizeToTray = 1;
  o.ImageCenterStyle = 0;
  o.Defaults = "C:\\Pictures\\boss.bmp";
  o.SpeedFill = 0;
  o.ToolBarWrappable = 0;
  o.ColorDepth = "-colors 256";
  o.InternalDecoding = true;
  o.ReduceJpegSize = false;
  o.DctMethod = 0;
  o.Dither = 2;
  o.JpegDither = 1;
  o.FancyUpsampling = false;
  o.TwoPassQuantize = false;
  o.mciEvents[0] = "C:\\sounds\\hello.wav";
  o.LoopVideo[2] = 1;
  o.mciEventsOn[1] = 1;
  const Options saved = o;
  program.settings.SaveAll();

  Program again(memory.platform());
  again.state.ProgramFolder = program.state.ProgramFolder;
  again.settings.Load();
  // Start choices and the run option are written by their own routines, not by save-all.
  EXPECT_EQ(again.options, saved);
}

TEST_F(SettingsTest, SaveAllWritesInItsOrder) {
  o.HasWindowPosition = true;
  program.settings.SaveAll();
  const auto keys = writtenKeys();
  ASSERT_GE(keys.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + 4),
            (std::vector<std::string>{"StartupSplitPoint", "WindowPosition", "BackdropMode", "Defaults"}));
  const std::vector<std::string> tail{"ColorDepth", "InternalDecoding", "ReduceJpegSize", "GVBox_DCTMethod",
                                      "GVBox_Dither", "GVBox_JPEGDither", "GVBox_FancyUpsampling",
                                      "GVBox_TwoPassQuantize", "DeleteConfirmation", "RenameOnCollision",
                                      "ListViewView0", "ListViewView1", "PictureDirectory1", "MoveDirectory1",
                                      "PictureDirectory2", "MoveDirectory2", "PictureDirectory3", "MoveDirectory3",
                                      "PictureDirectory4", "MoveDirectory4", "PictureDirectory5", "MoveDirectory5",
                                      "PictureDirectory", "MoveDirectory", "WallPaperName", "SortKey", "SortOrder",
                                      "WallPaperChangeInterval", "AlternateFilePattern"};
  ASSERT_GT(keys.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(keys.end() - static_cast<long>(tail.size()), keys.end()), tail);
  // Nothing is written twice, and nothing of another group slips in.
  auto sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (const char* own : {"NormalWindowAtStart", "ChangeWallpaperAtStart", "FillFromActiveFolders",
                          "RunProgramAtStartUp", "EventWindow"})
    EXPECT_EQ(std::count(keys.begin(), keys.end(), own), 0) << own;
}

TEST_F(SettingsTest, OptionsGroupRunsFromDefaultsToTheCustomFilters) {
  program.settings.SaveOptions();
  const auto keys = writtenKeys();
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.front(), "Defaults");
  EXPECT_EQ(keys.back(), "CustomFilter5");
  for (const char* key : {"DesktopHotKey", "mciEvents0", "mciEventsOn1", "PlayOneCDTrack", "LoopVideo2", "Viewer", "Editor", "Viewer5",
                          "Editor1", "ActiveFilters2", "MinimizeToTray", "ImageCenterStyle", "ToolBarWrappable"})
    EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 1) << key;
  EXPECT_EQ(keys.size(), 12u + 16u + 1u + 6u + 12u + 18u);
  EXPECT_EQ(keys[1], "Defaults1");  // the default screen saver beside the default picture
  EXPECT_EQ(stored("DesktopHotKey"), "0 123");
  EXPECT_EQ(stored("Editor1"), "Enter an editor");
}

TEST_F(SettingsTest, ValueForms) {
  o.DeleteConfirmation = false;
  o.WallPaperChangeInterval = 2.5;
  o.HasWindowPosition = true;
  o.WindowPosition = {-60, 0, 9600, 7200};
  program.settings.SaveAll();
  EXPECT_EQ(stored("DeleteConfirmation"), "False");
  EXPECT_EQ(stored("RenameOnCollision"), "True");
  EXPECT_EQ(stored("GVBox_FancyUpsampling"), "True");
  EXPECT_EQ(stored("InternalDecoding"), "False");
  EXPECT_EQ(stored("WallPaperChangeInterval"), "2.5");
  EXPECT_EQ(stored("WindowPosition"), "-60 0 9600 7200");
  EXPECT_EQ(stored("SpeedFill"), "1");
}

TEST_F(SettingsTest, KeysAreFoundWhateverTheirCase) {
  memory.settings.SaveSetting("startup", "deleteconfirmation", "False");
  memory.settings.SaveSetting("StartUp", "GVBOX_DCTMETHOD", "1");
  memory.settings.SaveSetting("STARTUP", "gvbox_twopassquantize", "0");
  program.settings.Load();
  EXPECT_FALSE(o.DeleteConfirmation);
  EXPECT_EQ(o.DctMethod, 1);
  EXPECT_FALSE(o.TwoPassQuantize);

  // The decoder keys are written under their other spelling and still read back.
  o.DctMethod = 0;
  program.settings.SaveDecoderSettings();
  o.DctMethod = 2;
  program.settings.Load();
  EXPECT_EQ(o.DctMethod, 0);
}

TEST_F(SettingsTest, FlagsReadAsNumbersToo) {
  memory.settings.SaveSetting("StartUp", "RenameOnCollision", "0");
  memory.settings.SaveSetting("StartUp", "ReduceJpegSize", "-1");
  memory.settings.SaveSetting("StartUp", "InternalDecoding", "True");
  program.settings.Load();
  EXPECT_FALSE(o.RenameOnCollision);
  EXPECT_TRUE(o.ReduceJpegSize);
  EXPECT_TRUE(o.InternalDecoding);
}

TEST_F(SettingsTest, UnusableValuesFallBackToTheirDefaults) {
  const struct {
    const char* interval;
    double minutes;
  } intervals[] = {{"0.5", 0.5}, {"15", 15}, {"", 1}, {"soon", 1}, {"0", 1}, {"-5", 1}, {"99999999", 43200}};
  for (const auto& c : intervals) {
    memory.settings.SaveSetting("StartUp", "WallPaperChangeInterval", c.interval);
    program.settings.Load();
    EXPECT_DOUBLE_EQ(o.WallPaperChangeInterval, c.minutes) << c.interval;
  }
  memory.settings.SaveSetting("StartUp", "DesktopHotKey", "garbage");
  memory.settings.SaveSetting("StartUp", "WindowPosition", "10 20 30");
  memory.settings.SaveSetting("StartUp", "BmpFileFilter2", "");
  memory.settings.SaveSetting("StartUp", "PictureDirectory", "7");
  memory.settings.SaveSetting("StartUp", "MoveDirectory", "2");
  memory.settings.SaveSetting("StartUp", "ImageCenterStyle", "x");
  program.settings.Load();
  EXPECT_EQ(o.HotKeyCode, 123);
  EXPECT_FALSE(o.HasWindowPosition);
  EXPECT_EQ(o.BmpFileFilter[1], "*");
  EXPECT_EQ(o.PictureDirectory, 0);
  EXPECT_EQ(o.MoveDirectory, 5);
  EXPECT_EQ(o.ImageCenterStyle, 1);
}

TEST_F(SettingsTest, StartChoicesAndTheFirstReadOfTheWindowChoice) {
  memory.settings.SaveSetting("StartUp", "NormalWindowAtStart", "0");
  program.settings.LoadNormalWindowAtStart();
  EXPECT_FALSE(o.NormalWindowAtStart);
  memory.settings.ClearWrites();
  o.ChangeWallpaperAtStart = 1;
  o.NormalWindowAtStart = true;
  program.settings.SaveStartChoices();
  EXPECT_EQ(writtenKeys(),
            (std::vector<std::string>{"ChangeWallpaperAtStart", "FillFromActiveFolders", "NormalWindowAtStart"}));
  EXPECT_EQ(stored("NormalWindowAtStart"), "1");
  EXPECT_EQ(stored("ChangeWallpaperAtStart"), "1");
}

TEST_F(SettingsTest, ActiveDirectoryKeysSortAsText) {
  std::vector<std::string> folders;
  for (int i = 1; i <= 12; ++i) folders.push_back("C:\\F" + std::to_string(i) + "\\");
  program.settings.SaveActiveDirectories(folders);
  const auto all = memory.settings.GetAllSettings("ActiveDirectories");
  ASSERT_EQ(all.size(), 12u);
  EXPECT_EQ(all.front().first, "000001");
  EXPECT_EQ(all[9].first, "000010");
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].second, folders[i]);
  EXPECT_EQ(program.settings.LoadActiveDirectories(), folders);

  // Rewriting replaces the whole section.
  program.settings.SaveActiveDirectories({"C:\\Only\\"});
  EXPECT_EQ(memory.settings.GetAllSettings("ActiveDirectories").size(), 1u);
}

TEST_F(SettingsTest, ListSectionsEndAtTheFirstGap) {
  EXPECT_TRUE(program.settings.LoadActiveDirectories().empty());
  memory.settings.SaveSetting("ActiveDirectories", "000001", "C:\\A\\");
  memory.settings.SaveSetting("ActiveDirectories", "000002", "C:\\B\\");
  memory.settings.SaveSetting("ActiveDirectories", "000004", "C:\\D\\");
  EXPECT_EQ(program.settings.LoadActiveDirectories(), (std::vector<std::string>{"C:\\A\\", "C:\\B\\"}));

  program.settings.SaveHistory({"C:\\x.bmp", "C:\\y.bmp"});
  EXPECT_EQ(memory.settings.GetAllSettings("BackDropHistory").size(), 5u);
  EXPECT_EQ(stored("1"), "<absent>");  // the history has a section of its own
  EXPECT_EQ(program.settings.LoadHistory(), (std::vector<std::string>{"C:\\x.bmp", "C:\\y.bmp"}));
  EXPECT_EQ(program.state.History.size(), 2u);
}

}  // namespace
}  // namespace tapestrel
