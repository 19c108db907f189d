#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    for (const char* name : {"sea.bmp", "Alps.BMP", "dune.bmp", "notes.txt", "photo.jpg"}) add("C:\\Pictures\\", name, 1500);
  }
  void add(const std::string& folder, const std::string& name, std::size_t size) {
    memory.files.WriteFile(folder + name, std::string(size, 'x'));
  }
  void start() { ASSERT_TRUE(program.Start()); }
  ListView& list() { return frm.lstvFiles[frm.CurrentList()]; }
  std::vector<std::string> names() {
    std::vector<std::string> all;
    for (const ListItem& item : list().Items()) all.push_back(item.text);
    return all;
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& frm = program.frmMain;
};

TEST_F(CatalogueTest, StartUpListsThePictureFoldersBitmaps) {
  start();
  ASSERT_EQ(list().Count(), 3);
  const ListItem& first = list().Items()[0];
  EXPECT_EQ(first.Column(1), "C:\\Pictures\\");
  EXPECT_EQ(first.Column(2), "bmp");
  EXPECT_EQ(first.Column(3), "000001");
  EXPECT_EQ(first.Column(5).size(), 19u);  // yyyy/mm/dd hh:mm:ss
  EXPECT_EQ(first.Column(4), "");          // speed fill reads no headers
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Total 3 file(s) (??? MB)");
}

// Counts the folder listings a program asks of the disk.
class CountingFileSystem : public MemoryFileSystem {
 public:
  using MemoryFileSystem::MemoryFileSystem;
  using MemoryFileSystem::FindFiles;
  void FindFiles(const std::string& pattern, std::vector<FoundFile>& found, std::vector<std::string>* subFolders) override {
    ++listings;
    MemoryFileSystem::FindFiles(pattern, found, subFolders);
  }
  std::vector<std::string> SubFolders(const std::string& folder) override {
    ++listings;
    return MemoryFileSystem::SubFolders(folder);
  }
  int listings = 0;
};

TEST_F(CatalogueTest, StartUpShowsTheTreeAndFillsFromOneListingAndARefreshListsAgain) {
  CountingFileSystem files{memory.root()};
  Platform platform{memory.registry, memory.settings, memory.profiles, files,
                    memory.ui,       memory.clock,    memory.desktop,  memory.processes, memory.gvbox, memory.shell, memory.mci};
  Program counted{platform};
  memory.files.WriteFile("C:\\Pictures\\Sea\\wave.bmp", "BM");
  // With a default screen saver set, start-up looks for none in the Windows folders.
  memory.settings.SaveSetting("StartUp", "Defaults1", "C:\\WINDOWS\\ssmyst.scr");
  ASSERT_TRUE(counted.Start());
  EXPECT_EQ(files.listings, 1);
  const auto& tree = counted.frmMain.dirPictures.Entries();
  EXPECT_TRUE(std::any_of(tree.begin(), tree.end(), [](const FolderEntry& e) { return e.name == "Sea"; }));
  EXPECT_EQ(counted.frmMain.lstvFiles[1].Count(), 3);

  // What start-up found is used once: a refresh sees the disk as it is now.
  memory.files.WriteFile("C:\\Pictures\\reef.bmp", "BM");
  counted.frmMain.lstvFiles[1].SetFocus();
  counted.frmMain.mnuRefresh_Click();
  EXPECT_EQ(counted.frmMain.lstvFiles[1].Count(), 4);
  EXPECT_EQ(files.listings, 2);
}

// Commands given while a fill lets events run are refused: the list holds exactly what
// the one search found, and the folder pane stays on its folder.
TEST_F(CatalogueTest, CommandsDuringAFillAreRefusedAndTheListStaysTrue) {
  memory.files.WriteFile("C:\\Other\\elsewhere.bmp", "BM");
  start();
  program.files.ClearListView();
  memory.ui.whilePending = [&] {
    frm.lstvFiles[1].SetFocus();
    frm.mnuRefresh_Click();  // F5
    frm.cboPictureDirectories.SetText("C:\\Other\\");
    program.folders.ComboEnter();
    program.folders.ReadActiveFolders();
    frm.mnuToggleListView_Click();
    program.files.SortByKey(0);
  };
  ASSERT_TRUE(program.files.FillListView());
  EXPECT_EQ(frm.CurrentList(), 1);
  std::vector<std::string> listed = names();
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"Alps.BMP", "dune.bmp", "sea.bmp"}));
  for (const ListItem& item : list().Items()) EXPECT_TRUE(memory.files.FileExists(item.Column(1) + item.text));
  EXPECT_EQ(frm.dirPictures.Path(), "C:\\Pictures");
  EXPECT_GE(memory.ui.Beeps(), 4);
  // Afterwards the commands work again.
  frm.cboPictureDirectories.SetText("C:\\Other\\");
  program.folders.ComboEnter();
  EXPECT_EQ(names(), (std::vector<std::string>{"elsewhere.bmp"}));
}

TEST_F(CatalogueTest, HeadersAndSizesWithoutSpeedFill) {
  memory.settings.SaveSetting("StartUp", "SpeedFill", "0");
  memory.files.WriteFile("C:\\Pictures\\card.bmp", WriteBmp24(Bitmap(300, 200)));
  start();
  const auto& items = list().Items();
  const auto card = std::find_if(items.begin(), items.end(), [](const ListItem& i) { return i.text == "card.bmp"; });
  ASSERT_NE(card, items.end());
  EXPECT_EQ(card->Column(4), "175.8 kb 300x200");
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Total 4 file(s) (180.23 kb )");
}

TEST_F(CatalogueTest, FileSizesAndTypes) {
  EXPECT_EQ(FileList::FormatFileSize(999, false), "999 b ");
  EXPECT_EQ(FileList::FormatFileSize(1000, false), "0.98 kb ");
  EXPECT_EQ(FileList::FormatFileSize(1500000, false), "1.43 Mb ");
  EXPECT_EQ(FileList::FormatFileSize(1000, true), "1 kb ");
  EXPECT_EQ(FileList::FormatFileSize(1536, true), "1.5 kb ");
  EXPECT_EQ(FileList::FileTypeOf("photo.JPEG"), "jpeg");
  EXPECT_EQ(FileList::FileTypeOf("clip.mpeg"), "mpeg");
  EXPECT_EQ(FileList::FileTypeOf("notes.xyz"), "xyz");
}

TEST_F(CatalogueTest, IconsByExtensionWithAFallback) {
  memory.files.WriteFile("C:\\Apps\\viewer.exe", "MZ");
  memory.registry.SetValue(RegistryRoot::ClassesRoot, ".jpeg", "", "jpegfile");
  memory.registry.SetValue(RegistryRoot::ClassesRoot, "jpegfile\\DefaultIcon", "", "C:\\Apps\\viewer.exe,1");
  memory.settings.SaveSetting("StartUp", "AlternateFilePattern", ".*");
  memory.settings.SaveSetting("StartUp", "LoadAltsOnBoot", "1");
  add("C:\\Pictures\\", "photo.JPEG", 10);
  add("C:\\Pictures\\", "notes.xyz", 10);
  start();
  EXPECT_EQ(frm.CurrentList(), 0);
  int checked = 0;
  for (const ListItem& item : list().Items()) {
    if (item.text == "photo.JPEG" || item.text == "notes.xyz") {
      EXPECT_EQ(item.icon, item.text == "photo.JPEG" ? "jpeg" : "NONE");
      EXPECT_EQ(item.Column(2), item.text == "photo.JPEG" ? "jpeg" : "xyz");
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2);
}

// Only a picture named by its extension alone is given a name, and never onto a name in
// use; other files whose names start with a dot are left as they are.
TEST_F(CatalogueTest, OnlyAPictureNamedByItsExtensionIsRenamedAndNeverOntoATakenName) {
  memory.settings.SaveSetting("StartUp", "AlternateFilePattern", ".*");
  memory.settings.SaveSetting("StartUp", "LoadAltsOnBoot", "1");
  memory.settings.SaveSetting("StartUp", "SpeedFill", "0");
  memory.files.WriteFile("C:\\Odd\\.gitignore", "build/");
  memory.files.WriteFile("C:\\Odd\\.holiday.jpg", pictures::Jpeg(64, 48));
  memory.files.WriteFile("C:\\Odd\\.tga", pictures::Tga(8, 8, 24));
  start();
  memory.ui.ClearMessages();
  program.files.ClearListView();
  EXPECT_FALSE(program.files.FillListView("C:\\Odd\\"));  // stops after the rename
  EXPECT_EQ(memory.files.ReadFile("C:\\Odd\\.gitignore"), "build/");
  EXPECT_TRUE(memory.files.FileExists("C:\\Odd\\.holiday.jpg"));
  EXPECT_FALSE(memory.files.FileExists("C:\\Odd\\.tga"));
  const auto renamed = memory.files.FindFiles("C:\\Odd\\blank*.tga");
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_TRUE(memory.ui.Messages().empty());

  // Whatever its number, the new name is taken: the file keeps its own and stays listed.
  memory.files.RemoveFile("C:\\Odd\\" + renamed[0].name);
  memory.files.WriteFile("C:\\Odd\\.bmp", WriteBmp24(Bitmap(4, 4)));
  for (int i = 1; i <= 4; ++i) memory.files.WriteFile("C:\\Odd\\blank" + std::to_string(i) + ".bmp", "mine");
  program.files.ClearListView();
  EXPECT_TRUE(program.files.FillListView("C:\\Odd\\"));
  EXPECT_TRUE(memory.files.FileExists("C:\\Odd\\.bmp"));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(memory.files.ReadFile("C:\\Odd\\blank" + std::to_string(i) + ".bmp"), "mine");
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Prompts().back().rfind("Unable to rename C:\\Odd\\.bmp to C:\\Odd\\blank", 0), 0u);
  EXPECT_EQ(list().Count(), 7);
}

TEST_F(CatalogueTest, SizeSortsKeepEmptyCellsEmptyAndStayNumericWhenRecording) {
  start();  // speed fill: no sizes shown
  ASSERT_TRUE(program.files.SortByKey(4));
  for (const ListItem& item : list().Items()) EXPECT_EQ(item.Column(4), "");

  program.options.SpeedFill = 0;
  memory.files.WriteFile("C:\\Sizes\\nine.txt.bmp", std::string(9 * 1024, 'x'));
  memory.files.WriteFile("C:\\Sizes\\ten.bmp", std::string(10 * 1024, 'x'));
  memory.files.WriteFile("C:\\Sizes\\hundred.bmp", std::string(100 * 1024, 'x'));
  frm.cboPictureDirectories.SetText("C:\\Sizes\\");
  program.folders.ComboEnter();
  memory.ui.ClearMessages();
  ASSERT_TRUE(program.files.SortByKey(4));
  const std::vector<std::string> bySize{"nine.txt.bmp", "ten.bmp", "hundred.bmp"};
  EXPECT_EQ(names(), bySize);
  program.folders.ToggleAppendRecord();  // the list is sorted again as it was
  EXPECT_EQ(names(), bySize);
  EXPECT_EQ(list().Items()[0].Column(4).rfind("9 kb", 0), 0u);
}

TEST_F(CatalogueTest, SortAfterFillingAppliesToEveryFillAndActivesSelectTheWallpaper) {
  memory.settings.SaveSetting("StartUp", "SortAtStart", "1");
  memory.settings.SaveSetting("StartUp", "SortKey", "0");
  memory.settings.SaveSetting("StartUp", "SortOrder", "1");  // descending
  start();
  EXPECT_EQ(names(), (std::vector<std::string>{"sea.bmp", "dune.bmp", "Alps.BMP"}));
  memory.files.WriteFile("C:\\Next\\b.bmp", "BM");
  memory.files.WriteFile("C:\\Next\\c.bmp", "BM");
  memory.files.WriteFile("C:\\Next\\a.bmp", "BM");
  frm.cboPictureDirectories.SetText("C:\\Next\\");
  program.folders.ComboEnter();  // a folder change
  EXPECT_EQ(names(), (std::vector<std::string>{"c.bmp", "b.bmp", "a.bmp"}));
  frm.lstvFiles[1].SetFocus();
  frm.mnuRefresh_Click();  // a refresh
  EXPECT_EQ(names(), (std::vector<std::string>{"c.bmp", "b.bmp", "a.bmp"}));

  program.settings.SaveActiveDirectories({"C:\\Pictures\\", "C:\\Next\\"});
  program.options.WallPaperName = "C:\\Next\\b.bmp";
  ASSERT_TRUE(program.folders.ReadActiveFolders());
  EXPECT_EQ(names(), (std::vector<std::string>{"sea.bmp", "dune.bmp", "c.bmp", "b.bmp", "Alps.BMP", "a.bmp"}));
  const int wallpaper = program.files.WallpaperIndex();
  ASSERT_EQ(wallpaper, 3);
  EXPECT_TRUE(list().Items()[wallpaper].selected);
}

// What one active folder listed is known to the next, without gathering it again: a
// folder met twice lists its files once.
TEST_F(CatalogueTest, ActiveFoldersListAFolderMetTwiceOnce) {
  start();
  memory.files.WriteFile("C:\\Next\\b.bmp", "BM");
  const std::vector<std::string> active{"C:\\Pictures\\", "C:\\Next\\", "c:\\pictures\\"};
  program.settings.SaveActiveDirectories(active);
  ASSERT_TRUE(program.folders.ReadActiveFolders());
  EXPECT_EQ(list().Count(), 4);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Total 4 file(s) (??? MB)");
  EXPECT_EQ(program.settings.LoadActiveDirectories(), active);  // nothing recorded twice
  // An ordinary append afterwards gathers what is listed afresh.
  program.folders.ToggleAppendRecord();
  frm.cboPictureDirectories.SetText("C:\\Next\\");
  program.folders.ComboEnter();
  EXPECT_EQ(list().Count(), 4);
}

TEST_F(CatalogueTest, InfoModeShowsTheFocusedPicturesDimensions) {
  memory.files.WriteFile("C:\\Pictures\\card.bmp", WriteBmp24(Bitmap(300, 200)));
  start();
  const auto& items = list().Items();
  const int card = static_cast<int>(std::find_if(items.begin(), items.end(), [](const ListItem& i) { return i.text == "card.bmp"; }) - items.begin());
  list().SelectOnly(card);
  frm.lstvFiles[1].ItemClick(card);
  EXPECT_EQ(frm.StatusBar.PanelText("imagedimensions"), "");  // info mode is off
  frm.mnuInfoMode_Click();
  EXPECT_EQ(frm.StatusBar.PanelText("imagedimensions"), "300x200");
  frm.mnuInfoMode_Click();
  EXPECT_EQ(frm.StatusBar.PanelText("imagedimensions"), "");
}

// The second clock keeps the selection count true, however the selection changed, and
// asks nothing of the disk while it has not.
TEST_F(CatalogueTest, TheSelectionClockKeepsTheCountTrue) {
  start();
  for (int i = 0; i < list().Count(); ++i) list().Item(i).selected = true;  // as Ctrl+A in the list
  frm.tmrTapestrel[1].Tick();
  EXPECT_EQ(frm.StatusBar.PanelText("#Selected#Bytes"), "3 file(s) selected (4.39 kb )");
  memory.files.RemoveFile("C:\\Pictures\\sea.bmp");
  frm.tmrTapestrel[1].Tick();  // nothing changed in the list: the text stays
  EXPECT_EQ(frm.StatusBar.PanelText("#Selected#Bytes"), "3 file(s) selected (4.39 kb )");
  list().SelectOnly(0);
  frm.tmrTapestrel[1].Tick();
  EXPECT_EQ(frm.StatusBar.PanelText("#Selected#Bytes").rfind("1 file(s) selected", 0), 0u);
}

TEST_F(CatalogueTest, SortingFlipsOnRepeatAndIdRestoresTheReadInOrder) {
  start();
  const auto readIn = names();
  frm.mSort[0].Click();
  EXPECT_EQ(names(), (std::vector<std::string>{"Alps.BMP", "dune.bmp", "sea.bmp"}));
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Sorting done. Thank you.");
  EXPECT_TRUE(frm.mSort[0].Checked());
  frm.mSort[0].Click();
  EXPECT_EQ(names(), (std::vector<std::string>{"sea.bmp", "dune.bmp", "Alps.BMP"}));
  frm.mSort[3].Click();
  EXPECT_EQ(names(), readIn);
  // One folder and one type: nothing to sort, and the user is told.
  frm.mSort[1].Click();
  EXPECT_EQ(memory.ui.Prompts().back(), "There is only one folder so sorting is not necessary.");
  frm.lstvFiles[1].ColumnClick(2);
  EXPECT_EQ(memory.ui.Prompts().back(), "There is only one file type so sorting is not necessary.");
}

TEST_F(CatalogueTest, SortingBySizeIsNumeric) {
  memory.settings.SaveSetting("StartUp", "SpeedFill", "0");
  add("C:\\Pictures\\", "huge.bmp", 300000);
  add("C:\\Pictures\\", "tiny.bmp", 200);
  start();
  frm.mSort[4].Click();
  EXPECT_EQ(names().front(), "tiny.bmp");
  EXPECT_EQ(names().back(), "huge.bmp");
  EXPECT_EQ(list().Items().back().Column(4), "293 kb 0x0");  // not a real bitmap: no size
}

TEST_F(CatalogueTest, AppendingTheSameFolderAddsNothing) {
  start();
  frm.Dispatch(IDM_APPEND_TO_LIST);
  EXPECT_TRUE(program.state.AppendRecord);
  EXPECT_EQ(memory.settings.GetSetting("ActiveDirectories", "000001", ""), "C:\\Pictures\\");
  program.files.FillListView();
  EXPECT_EQ(list().Count(), 3);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Repeats found: 3");
}

TEST_F(CatalogueTest, EmptyFolderAndClear) {
  memory.files.WriteFile("C:\\Empty\\keep.txt", "");
  start();
  frm.cboPictureDirectories.SetText("C:\\Empty\\");
  int enter = 13;
  frm.cboPictureDirectories.KeyDown(enter, 0);
  EXPECT_EQ(frm.dirPictures.Path(), "C:\\Empty");
  EXPECT_EQ(list().Count(), 0);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Total 0 file(s) (??? MB)");
  EXPECT_EQ(program.options.Folders[0], "C:\\Empty\\");
  EXPECT_EQ(program.options.Folders[1], "C:\\Pictures\\");
}

TEST_F(CatalogueTest, FolderHistoryDropsTheOldestAndKeepsItsOrder) {
  start();
  for (const char* f : {"C:\\A\\", "C:\\B\\", "C:\\C\\", "C:\\D\\", "C:\\E\\"}) program.folders.UpdateFolderHistory(0, f);
  EXPECT_EQ(program.options.Folders[0], "C:\\E\\");
  EXPECT_EQ(program.options.Folders[4], "C:\\A\\");  // "C:\Pictures\" dropped out
  program.folders.UpdateFolderHistory(0, "c:\\b\\");
  EXPECT_EQ(program.options.Folders[0], "C:\\E\\");
  EXPECT_EQ(program.options.PictureDirectory, 3);
}

TEST_F(CatalogueTest, EscStopsAFillAndKeepsWhatWasRead) {
  for (int i = 0; i < 30; ++i) add("C:\\Many\\", "p" + std::to_string(i) + ".bmp", 10);
  start();
  memory.desktop.escapeAfter = memory.desktop.askings + 6;  // the fill first forgets an earlier press
  program.files.ClearListView();
  EXPECT_FALSE(program.files.FillListView("C:\\Many\\"));
  EXPECT_EQ(list().Count(), 6);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "User hit escape");
}

TEST_F(CatalogueTest, ActiveFoldersTidyUpAndFill) {
  add("C:\\More\\", "x.bmp", 10);
  start();
  program.settings.SaveActiveDirectories({"C:\\More\\", "c:\\pictures\\", "C:\\Pictures\\"});
  program.folders.CleanUpActiveFoldersKey();
  EXPECT_EQ(program.settings.LoadActiveDirectories(), (std::vector<std::string>{"C:\\More\\", "c:\\pictures\\"}));
  frm.Dispatch(IDM_READ_ACTIVE_DIRECTORIES);
  EXPECT_EQ(list().Count(), 4);
  EXPECT_FALSE(program.state.AppendRecord);
  EXPECT_FALSE(program.folders.IsFolder("C:\\"));
  EXPECT_EQ(memory.ui.Prompts().back(), "Not a folder.");
}

TEST_F(CatalogueTest, GoingToAFolderOfAnActiveFillKeepsTheWholeFillOnce) {
  add("C:\\More\\", "x.bmp", 10);
  add("C:\\Other\\", "y.bmp", 10);
  memory.settings.SaveSetting("StartUp", "FillFromActiveFolders", "1");
  program.settings.SaveActiveDirectories({"C:\\More\\", "C:\\Pictures\\"});
  start();
  ASSERT_EQ(list().Count(), 4);  // both active folders
  const auto goTo = [&](const char* folder) {
    frm.cboPictureDirectories.SetText(folder);
    int enter = 13;
    frm.cboPictureDirectories.KeyDown(enter, 0);
  };
  goTo("C:\\More\\");
  EXPECT_EQ(list().Count(), 4);  // filled again from the active folders
  EXPECT_EQ(frm.cboPictureDirectories.Text(), "C:\\More\\");
  goTo("C:\\Pictures\\");
  EXPECT_EQ(list().Count(), 3);  // the second time, that folder alone
  frm.Dispatch(IDM_READ_ACTIVE_DIRECTORIES);
  goTo("C:\\Other\\");
  EXPECT_EQ(names(), (std::vector<std::string>{"y.bmp"}));  // not a folder of the fill
}

TEST_F(CatalogueTest, ToggleAndFind) {
  start();
  frm.Dispatch(IDM_TOGGLE_LIST_VIEW);
  EXPECT_EQ(frm.CurrentList(), 0);
  EXPECT_TRUE(frm.tbrCommands.ButtonOf("alts").pressed);
  EXPECT_TRUE(frm.tbrCommands.ButtonOf("decode").enabled);
  frm.Dispatch(IDM_LIST_BMP_FILES);
  EXPECT_EQ(frm.CurrentList(), 1);
  EXPECT_TRUE(program.files.FindInList("DU"));
  ASSERT_EQ(list().SelectedCount(), 1);
  for (const ListItem& item : list().Items()) EXPECT_EQ(item.selected, item.text == "dune.bmp");
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "DU name found!");
  EXPECT_FALSE(program.files.FindInList("zebra"));
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "zebra name not found!");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(CatalogueTest, FilterDialogsAndHistories) {
  start();
  memory.ui.Type("s*");
  frm.Dispatch(IDM_SET_BMP_FILTER);
  EXPECT_EQ(memory.ui.Inputs().back().title, "Enter BMP filter");
  EXPECT_EQ(program.options.ActiveFilters[1], "s*");
  EXPECT_EQ(frm.StatusBar.PanelText("bmpfilter"), "s*.bmp");
  EXPECT_EQ(program.options.BmpFileFilter, (std::array<std::string, 5>{"*", "*", "*", "*", "s*"}));
  // The same filter again is not kept twice; an empty answer changes nothing.
  memory.ui.Type("S*");
  frm.Dispatch(IDM_SET_BMP_FILTER);
  memory.ui.Type("");
  frm.Dispatch(IDM_SET_BMP_FILTER);
  EXPECT_EQ(program.options.ActiveFilters[1], "S*");
  EXPECT_EQ(program.options.BmpFileFilter[3], "*");

  memory.ui.Type("d*");
  frm.Dispatch(IDM_SET_ALTERNATE_FILTER);
  EXPECT_EQ(memory.ui.Inputs().back().title, "Enter .jp?-type filter");
  EXPECT_EQ(frm.StatusBar.PanelText("altfilter"), "d*.jp?");

  // A new extension takes the place after the fixed entries and lists the alt files.
  memory.ui.Type("psd");
  add("C:\\Pictures\\", "logo.psd", 10);
  frm.Dispatch(IDM_ALT_FILE_PATTERN);
  EXPECT_EQ(program.options.AlternateFilePattern, ".psd");
  EXPECT_EQ(frm.cboListAltFilePatterns.List()[kUserAltPatternPlace], "psd");
  EXPECT_EQ(frm.CurrentList(), 0);
  EXPECT_EQ(list().Count(), 0);  // the alternate filter is still "d*"
  EXPECT_EQ(frm.tbrCommands.ButtonOf("alts").toolTip, "List psd files");
  // The newer kinds of picture are fixed entries, named by their whole extension.
  const std::vector<std::string> fixed(frm.cboListAltFilePatterns.List().begin(),
                                       frm.cboListAltFilePatterns.List().begin() + kUserAltPatternPlace);
  EXPECT_EQ(fixed, (std::vector<std::string>{".*", ".bmp", ".jp?", ".pcx", ".png", ".tga", ".wmf", "User", ".gif",
                                             ".tif*", ".webp", ".heic", ".avif"}));
  frm.cboListAltFilePatterns.UserChose(10);
  EXPECT_EQ(program.options.AlternateFilePattern, ".webp");
  EXPECT_EQ(frm.tbrCommands.ButtonOf("alts").toolTip, "List webp files");
}

TEST_F(CatalogueTest, CustomPatternsAndTheUserEntry) {
  start();
  frm.cboListAltFilePatterns.UserChose(7);  // "User"
  EXPECT_EQ(program.options.AlternateFilePattern, "User");
  frm.Dispatch(IDM_SET_ALTERNATE_FILTER);
  EXPECT_EQ(memory.ui.Prompts().back(),
            "You have the file pattern set to \"User\"\nChose only one extension or modify the \"User\" filter to taste");
  memory.ui.Type(" *.jpg   *.txt ");
  frm.Dispatch(IDM_ALT_FILE_PATTERN);
  EXPECT_EQ(program.options.ActiveFilters[2], "*.jpg   *.txt");
  frm.Dispatch(IDM_LIST_ALT_FILES);
  EXPECT_EQ(list().Count(), 2);  // photo.jpg and notes.txt
}

TEST_F(CatalogueTest, FindAsksAndTellsWhenNothingMatches) {
  start();
  memory.ui.Type("sea");
  frm.Dispatch(IDM_FIND_FILE);
  EXPECT_EQ(memory.ui.Inputs().back().prompt, "Enter a file name to find.");
  EXPECT_EQ(list().SelectedCount(), 1);
  memory.ui.Type("zzz");
  frm.Dispatch(IDM_FIND_FILE);
  EXPECT_EQ(memory.ui.Prompts().back(), "No match found");
  frm.Dispatch(IDM_FIND_FILE);  // offered the last text again
  EXPECT_EQ(memory.ui.Inputs().back().prompt, "Enter a file name to find.");
}

TEST_F(CatalogueTest, StatusBarDoubleClicksOpenTheFilterDialogs) {
  start();
  frm.StatusBar.LastButton = 1;
  frm.StatusBar.PanelDblClick("bmpfilter");
  EXPECT_EQ(memory.ui.Inputs().back().title, "Enter BMP filter");
  frm.StatusBar.LastButton = 2;
  frm.StatusBar.PanelDblClick("altfilter");
  EXPECT_EQ(memory.ui.Inputs().back().title, "Enter alternate file pattern");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

class ActiveFolderSearchTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    for (const char* f : {"C:\\F\\A\\A1\\x.bmp", "C:\\F\\B\\B1\\y.bmp"}) memory.files.WriteFile(f, "x");
    start();
  }
  void browseWith(int style) {
    program.frmOptions.optActiveDirectoryAddStyle[style].SetValue(true);
    for (int i = 0; i < 3; ++i) program.frmOptions.optActiveDirectoryAddStyle[i].SetValue(i == style);
    memory.ui.Choose("C:\\F");
    program.frmOptions.cmdBrowseForActiveDirectories.Click();
  }
};

TEST_F(ActiveFolderSearchTest, SubFoldersOneLevelOrAll) {
  browseWith(1);
  EXPECT_EQ(program.settings.LoadActiveDirectories(), (std::vector<std::string>{"C:\\F\\", "C:\\F\\A\\", "C:\\F\\B\\"}));
  memory.settings.DeleteSection("ActiveDirectories");
  browseWith(2);
  // All children are recorded together, then each child is searched in turn.
  EXPECT_EQ(program.settings.LoadActiveDirectories(),
            (std::vector<std::string>{"C:\\F\\", "C:\\F\\A\\", "C:\\F\\B\\", "C:\\F\\A\\A1\\", "C:\\F\\B\\B1\\"}));
  EXPECT_EQ(program.frmOptions.cboActiveDirectories.ListCount(), 5);
  EXPECT_EQ(program.frmOptions.lblOptions[5].Caption(), "Search progress");
  EXPECT_TRUE(program.frmOptions.cmdBrowseForActiveDirectories.Enabled());
}

TEST_F(ActiveFolderSearchTest, EscKeepsWhatWasFoundNumberedWithoutGaps) {
  memory.desktop.escapeAfter = memory.desktop.askings + 1;
  browseWith(2);
  const auto kept = program.settings.LoadActiveDirectories();
  EXPECT_EQ(kept.size(), 3u);  // F and its children; the search stopped before going deeper
  EXPECT_EQ(memory.settings.GetAllSettings("ActiveDirectories").size(), kept.size());
  EXPECT_FALSE(program.folders.Searching);
}

// Links back up the tree (and links anywhere else) are not followed, and a very deep
// tree is searched to a bound, so that the search always ends.
TEST_F(ActiveFolderSearchTest, LinksAreNotFollowedAndDepthIsBounded) {
  const std::filesystem::path f = memory.root() / "C" / "F";
  std::filesystem::create_directory_symlink(f, f / "A" / "A1" / "up");
  std::filesystem::create_directory_symlink(f / "A", f / "B" / "B1" / "across");
  browseWith(2);
  EXPECT_EQ(program.settings.LoadActiveDirectories(),
            (std::vector<std::string>{"C:\\F\\", "C:\\F\\A\\", "C:\\F\\B\\", "C:\\F\\A\\A1\\", "C:\\F\\B\\B1\\"}));

  memory.settings.DeleteSection("ActiveDirectories");
  std::string deep = "C:\\F\\";
  for (int i = 0; i < FolderSet::kMaxSearchDepth + 8; ++i) deep += "d\\";
  memory.files.WriteFile(deep + "x.bmp", "x");
  browseWith(2);
  // The chosen folder and its sub-folders down to the bound, nothing below.
  const auto recorded = program.settings.LoadActiveDirectories();
  std::size_t deepest = 0;
  for (const std::string& folder : recorded) deepest = std::max(deepest, static_cast<std::size_t>(std::count(folder.begin(), folder.end(), '\\')));
  EXPECT_EQ(deepest, static_cast<std::size_t>(FolderSet::kMaxSearchDepth + 2));  // "C:\F\" has two
}

// Recording from a folder with nothing to record keeps the active folders, even with
// "clear active folders at start" on.
TEST_F(ActiveFolderSearchTest, AppendRecordInAnEmptyFolderKeepsTheActiveFolders) {
  browseWith(2);
  const auto before = program.settings.LoadActiveDirectories();
  ASSERT_EQ(before.size(), 5u);
  program.options.ClearActiveFolders = 1;
  memory.files.WriteFile("C:\\Empty\\notes.txt", "x");
  frm.cboPictureDirectories.SetText("C:\\Empty\\");
  program.folders.ComboEnter();
  program.folders.ToggleAppendRecord();
  EXPECT_FALSE(program.state.AppendRecord);
  EXPECT_EQ(memory.ui.Prompts().back(), "To record the folder there must be files in it which match the present filter.");
  EXPECT_EQ(program.settings.LoadActiveDirectories(), before);
}

TEST_F(ActiveFolderSearchTest, DeleteTakesTheChosenEntryOut) {
  browseWith(1);
  ComboBox& combo = program.frmOptions.cboActiveDirectories;
  combo.SetListIndex(1);
  int key = 46;
  combo.KeyDown(key, 0);
  EXPECT_EQ(program.settings.LoadActiveDirectories(), (std::vector<std::string>{"C:\\F\\", "C:\\F\\B\\"}));
  combo.SetListIndex(-1);
  key = 46;
  combo.KeyDown(key, 0);  // nothing chosen: nothing happens
  EXPECT_EQ(program.settings.LoadActiveDirectories().size(), 2u);
}

// A drive change goes to the drive's current folder; a drive that is not ready asks
// Retry or Cancel: Retry tries again, Cancel puts the drive box back.
TEST_F(CatalogueTest, DriveChangesGoToTheCurrentFolderAndAskWhenNotReady) {
  start();
  memory.files.WriteFile("C:\\Photos\\x.bmp", "BM");
  frm.drvPictureDirectories.SetDrive("q:");  // not there
  EXPECT_EQ(memory.ui.Prompts().back(), "Device unavailable.");
  EXPECT_EQ(frm.drvPictureDirectories.Drive(), "c:");  // cancelled (the unscripted answer)
  EXPECT_EQ(frm.dirPictures.Path(), "C:\\Pictures");

  memory.ui.ClearMessages();
  memory.ui.Answer(mb::IdRetry);
  memory.ui.whilePending = [&] { memory.files.driveFolders["q:"] = "C:\\Photos\\"; };  // the disc is in now
  frm.drvPictureDirectories.SetDrive("q:");
  EXPECT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(frm.dirPictures.Path(), "C:\\Photos");
}

TEST_F(CatalogueTest, BrowsingClickingAndFreeSpace) {
  start();
  memory.ui.Choose("C:\\F");
  memory.files.WriteFile("C:\\F\\one.bmp", "x");
  frm.cmdChangePictureDirectory.Click();
  EXPECT_EQ(memory.ui.Inputs().back().title, "Select a folder where picture files are.");
  EXPECT_EQ(frm.dirPictures.Path(), "C:\\F");
  ASSERT_EQ(list().Count(), 1);
  memory.files.RemoveFile("C:\\F\\one.bmp");
  frm.lstvFiles[1].ItemClick(0);
  EXPECT_EQ(memory.ui.Prompts().back(), "one.bmp is not found!\nTherefore, it will be removed from the list.");
  EXPECT_EQ(list().Count(), 0);
  EXPECT_NE(program.files.FreeDiskSpaceText("c:\\").find(" bytes on C:\\"), std::string::npos);
  EXPECT_EQ(program.files.FreeDiskSpaceText("Q:\\"), "Unable to get free disk space for Q:\\");
}

}  // namespace
}  // namespace tapestrel
