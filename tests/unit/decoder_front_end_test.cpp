// The decoder front end on the memory platform: the converter is the real Jpg2Bmp
// built beside these tests, started through the memory platform's processes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

using pictures::EncodedJpeg;
using pictures::Quarters;

constexpr const char* kWorking = "C:\\WINDOWS\\Tapestrel Wallpaper.bmp";

class DecoderFrontEndTest : public ::testing::Test {
 protected:
  DecoderFrontEndTest() {
    memory.desktop.screenWidth = 400 * 15;
    memory.desktop.screenHeight = 300 * 15;
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    program.state.ProgramFolder = "C:\\Program Files\\Tapestrel\\";
    // What CreateProcess would run: Jpg2Bmp.exe by its own folder, the batch file line
    // by line, each with the Windows paths taken to where they lie on this disk.
    memory.processes.program = [this](const std::string& line) { return runWindowsLine(line); };
  }

  int runWindowsLine(const std::string& line) {
    if (line.front() == '"') {  // the batch file
      const std::string batch = memory.files.ReadFile(line.substr(1, line.size() - 2));
      std::size_t start = batch.find("\r\n") + 2;  // past "@echo off"
      for (std::size_t end; (end = batch.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string command = batch.substr(start, end - start);
        for (std::size_t p = 0; (p = command.find("%%", p)) != std::string::npos; ++p) command.erase(p, 1);
        runWindowsLine(command);
      }
      return 0;
    }
    std::string host = TAPESTREL_JPG2BMP;
    for (std::size_t i = std::string(kConverterName).size(); i < line.size();) {
      if (line[i] == ' ') {
        ++i;
        continue;
      }
      if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        host += " '" + memory.files.HostPath(line.substr(i + 1, close - i - 1)).string() + "'";
        i = close + 1;
      } else {
        const std::size_t blank = std::min(line.find(' ', i), line.size());
        host += " " + line.substr(i, blank - i);
        i = blank;
      }
    }
    return std::system((host + " 2>/dev/null").c_str());
  }

  std::string jpeg(const std::string& path, int width, int height) {
    memory.files.WriteFile(path, EncodedJpeg(Quarters(width, height)));
    return path;
  }
  // Three small JPEGs, a.jpg to c.jpg in C:\\P\\, listed (and selected when asked).
  void listJpegs(ListView& list, bool selected) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
      jpeg(std::string("C:\\P\\") + name, 20, 10);
      ListItem item;
      item.text = name;
      item.SetSubItem(1, "C:\\P\\");
      list.AddItem(item);
      if (selected) list.UserSelected(list.Count() - 1, true);
    }
  }
  std::vector<std::string> prompts() const { return memory.ui.Prompts(); }
  std::optional<Bitmap> bmp(const std::string& path) { return ReadBmp(memory.files.ReadFile(path)); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  DecoderFrontEnd& decoder = program.decoder;
};

TEST_F(DecoderFrontEndTest, TypesEachDecoderTakesAndTheirRefusals) {
  memory.files.WriteFile("C:\\P\\flat.png", "");
  program.options.InternalDecoding = false;
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\flat.png"));
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\layers.psd"));
  // GIF and WebP are pictures now, decoded in-process only; named by their extension.
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\photo.webp"));
  ASSERT_EQ(memory.ui.Messages().size(), 3u);
  EXPECT_EQ(memory.ui.Messages()[0].prompt, "Graphic type png is not supported. Sorry!");
  EXPECT_EQ(memory.ui.Messages()[0].title, "Error");
  EXPECT_EQ(memory.ui.Messages()[1].prompt, "Illegal file type.");
  EXPECT_EQ(memory.ui.Messages()[2].prompt, "Graphic type webp is not supported. Sorry!");
  EXPECT_TRUE(memory.processes.started.empty());

  // A kind only the system's codecs decode: without a codec (as here, and on a Windows
  // without the extension), the type is not supported, named by its whole extension.
  program.options.InternalDecoding = true;
  memory.files.WriteFile("C:\\P\\phone.HEIC", "ftypheic");
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\phone.HEIC"));
  EXPECT_EQ(memory.ui.Messages().back().prompt, "Graphic type HEIC is not supported. Sorry!");
  program.options.InternalDecoding = false;

  // In-process the PNG is decoded into the work picture box.
  const std::string host = memory.files.HostPath("C:\\P\\flat.png").string();
  ASSERT_EQ(std::system(("convert -size 40x20 xc:red PNG:'" + host + "'").c_str()), 0);
  program.options.InternalDecoding = true;
  ASSERT_TRUE(decoder.DecodeImage("C:\\P\\flat.png"));
  EXPECT_EQ(program.state.ImageWidth, 40);
  ASSERT_TRUE(program.frmFullScreen.picLoad.Picture());
  EXPECT_EQ(program.frmFullScreen.picLoad.Picture(), memory.gvbox.Picture());
  EXPECT_EQ(program.frmFullScreen.picLoad.Picture()->At(5, 5), 0xFF0000u);
}

TEST_F(DecoderFrontEndTest, JpegEndingsAreDecodedInPlaceAndTheFileIsNeverRenamed) {
  program.options.InternalDecoding = true;
  jpeg("C:\\P\\Holiday.JPEG", 64, 32);
  memory.files.WriteFile("C:\\P\\Holiday.jpg", "the user's other picture");
  ASSERT_TRUE(decoder.DecodeImage("C:\\P\\Holiday.JPEG"));
  EXPECT_EQ(program.state.ImageWidth, 64);
  EXPECT_EQ(memory.files.ReadFile("C:\\P\\Holiday.jpg"), "the user's other picture");
  EXPECT_TRUE(memory.files.FileExists("C:\\P\\Holiday.JPEG"));

  // A damaged one: told, the fallback refused, the file as it was.
  memory.files.WriteFile("C:\\P\\broken.jpe", "not a jpeg");
  memory.ui.Answer(mb::IdCancel);
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\broken.jpe"));
  ASSERT_EQ(prompts().size(), 1u);
  EXPECT_EQ(prompts()[0].find("JPEG load failed"), 0u);
  EXPECT_NE(prompts()[0].find(" (20003) has occurred while loading c:\\p\\broken.jpe.\nDo you want to try Jpg2bmp?"),
            std::string::npos);
  EXPECT_EQ(memory.files.ReadFile("C:\\P\\broken.jpe"), "not a jpeg");
  EXPECT_EQ(memory.gvbox.FileName(), "");
}

TEST_F(DecoderFrontEndTest, AFailedInProcessLoadFallsBackToTheConverterWithoutTouchingTheUsersFiles) {
  program.options.InternalDecoding = true;
  program.options.TryJpg2BmpNoConfirm = 1;
  memory.files.WriteFile("C:\\P\\odd.jpg", "a JPEG only the converter reads");
  memory.files.WriteFile("C:\\P\\odd.jpg.bmp", "the user's own file");
  // The stand-in converter writes a 48 x 24 picture where -outfile says.
  memory.processes.program = [this](const std::string& line) {
    const std::size_t from = line.find("-outfile \"") + 10;
    memory.files.WriteFile(line.substr(from, line.find('"', from) - from), WriteBmp24(Bitmap(48, 24, 0x00FF00)));
    return 0;
  };
  ASSERT_TRUE(decoder.DecodeImage("C:\\P\\odd.jpg"));
  EXPECT_EQ(program.state.ImageWidth, 48);
  EXPECT_EQ(program.frmFullScreen.picLoad.Picture()->At(1, 1), 0x00FF00u);
  ASSERT_EQ(memory.processes.started.size(), 1u);
  EXPECT_NE(memory.processes.started[0].commandLine.find("-outfile \"C:\\P\\odd.jpg (2).bmp\""), std::string::npos);
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\odd.jpg (2).bmp"));  // taken in, then removed
  EXPECT_EQ(memory.files.ReadFile("C:\\P\\odd.jpg.bmp"), "the user's own file");
  EXPECT_TRUE(prompts().empty());

  // The converter cannot read it either.
  memory.processes.program = [](const std::string&) { return 3; };
  EXPECT_FALSE(decoder.DecodeImage("C:\\P\\odd.jpg"));
  EXPECT_EQ(prompts(), std::vector<std::string>{"Unable to decode the file."});
}

TEST_F(DecoderFrontEndTest, TheConverterWritesTheWorkingBitmapAndAStaleOneNeverCountsAsSuccess) {
  program.options.InternalDecoding = false;
  jpeg("C:\\P\\wide.jpg", 800, 400);
  program.frmMain.Load();
  ASSERT_TRUE(program.wallpaper.ChangeWallpaperTo("C:\\P\\wide.jpg"));
  ASSERT_EQ(memory.processes.started.size(), 1u);
  EXPECT_EQ(memory.processes.started[0].commandLine,
            "Jpg2Bmp.exe  -outfile \"C:\\WINDOWS\\Tapestrel Wallpaper (decoding).bmp\"  \"C:\\P\\wide.jpg\"");
  EXPECT_FALSE(memory.processes.started[0].showNormal);  // minimised unless the user wants to watch
  EXPECT_EQ(memory.files.currentFolder, "C:\\Program Files\\Tapestrel\\");
  const auto written = bmp(kWorking);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 400);  // fitted to the 400 x 300 screen
  EXPECT_EQ(written->height, 200);

  EXPECT_FALSE(memory.files.FileExists("C:\\WINDOWS\\Tapestrel Wallpaper (decoding).bmp"));

  // A converter that writes nothing: the working bitmap the desktop shows stays whole,
  // a stale result of an earlier run is not taken for its work, and the user is told.
  // With "Observe DOS Box" its window shows normally.
  memory.files.WriteFile("C:\\WINDOWS\\Tapestrel Wallpaper (decoding).bmp", WriteBmp24(Bitmap(3, 3)));
  memory.processes.program = [](const std::string&) { return 1; };
  program.options.DosBoxWindowState = 1;
  EXPECT_FALSE(decoder.ExternalDecode("C:\\P\\wide.jpg"));
  ASSERT_TRUE(bmp(kWorking));
  EXPECT_EQ(bmp(kWorking)->width, 400);
  EXPECT_EQ(prompts(), std::vector<std::string>{"Unable to decode the file."});
  EXPECT_TRUE(memory.processes.started.back().showNormal);
}

TEST_F(DecoderFrontEndTest, AConverterThatNeverEndsIsStoppedWhenTheUserGivesUp) {
  memory.processes.slicesToRun = 1000000;
  decoder.PatienceMs = 0;
  memory.ui.Answer(mb::IdRetry);  // once more, then Cancel
  // The clock ticks while the question is open; it leaves the working bitmap alone.
  program.frmMain.Load();
  jpeg("C:\\P\\next.jpg", 8, 8);
  ListItem item;
  item.text = "next.jpg";
  item.SetSubItem(1, "C:\\P\\");
  program.files.Current().AddItem(item);
  bool clockPassed = false;
  memory.ui.whilePending = [&] {
    program.rotation.ChangeBackdropAtUserSetTime(3600000);
    clockPassed = memory.processes.started.size() == 1;
  };
  EXPECT_FALSE(decoder.ExternalDecode("C:\\P\\wide.jpg", "C:\\P\\out.bmp"));
  EXPECT_TRUE(clockPassed);
  ASSERT_EQ(memory.ui.Messages().size(), 2u);
  EXPECT_EQ(memory.ui.Messages()[0].style, mb::RetryCancel | mb::Question);
  EXPECT_NE(memory.ui.Messages()[0].prompt.find("Jpg2Bmp.exe has been decoding for"), std::string::npos);
}

TEST_F(DecoderFrontEndTest, AnEightBitDisplayForcesTheReducedColoursAtEveryStart) {
  memory.desktop.colorDepth = 8;
  memory.settings.SaveSetting("StartUp", "ColorDepth", "");
  memory.settings.SaveSetting("StartUp", "GVBox_Dither", "0");
  memory.settings.SaveSetting("StartUp", "GVBox_JPEGDither", "2");
  ASSERT_TRUE(program.Start());
  FrmMain& frm = program.frmMain;
  EXPECT_TRUE(frm.mnu8bitColor.Checked());
  EXPECT_FALSE(frm.mnu24bitColor.Checked());
  EXPECT_EQ(program.options.ColorDepth, "-colors 256");
  EXPECT_EQ(memory.gvbox.Get(Gvbox::kDither), 2);
  EXPECT_EQ(memory.gvbox.Get(Gvbox::kJpegDither), 1);
  EXPECT_TRUE(frm.Mnu_Dith[2].Checked());
  EXPECT_TRUE(frm.Mnu_JPGDith[1].Checked());
  EXPECT_EQ(memory.gvbox.DisplayDepth, 8);

  // The menus set the control and the option together, and saving writes them.
  frm.Mnu_DCT[0].Click();
  frm.Mnu_Fancy.Click();
  EXPECT_EQ(memory.gvbox.Get(Gvbox::kDctMethod), 0);
  EXPECT_EQ(memory.gvbox.Get(Gvbox::kFancyUpsampling), 0);
  EXPECT_FALSE(frm.Mnu_Fancy.Checked());
  program.SaveAllSettings();
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "GVBox_DCTMethod", ""), "0");
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "GVBox_FancyUpsampling", ""), "False");
}

TEST_F(DecoderFrontEndTest, TheBatchFileHoldsOneConverterLinePerJpegAndRunsWhileTheWindowIsHidden) {
  program.frmMain.Load();
  program.frmMain.Show();
  program.options.ColorDepth = "";
  const std::string a = jpeg("C:\\P\\a.jpg", 64, 64);
  const std::string b = jpeg("C:\\P\\100% b.jpeg", 32, 64);
  bool hiddenWhileRunning = false;
  memory.processes.program = [&](const std::string& line) {
    hiddenWhileRunning = !program.frmMain.Visible();
    return runWindowsLine(line);
  };
  decoder.DecodeSelectedFiles({a, b}, true, 2);
  EXPECT_EQ(memory.files.ReadFile("C:\\Program Files\\Tapestrel\\Tapestrel.bat"),
            "@echo off\r\n"
            "Jpg2Bmp.exe  -Scale 1/2 \"C:\\P\\a.jpg\"\r\n"
            "Jpg2Bmp.exe  -Scale 1/2 \"C:\\P\\100%% b.jpeg\"\r\n");
  ASSERT_EQ(memory.processes.started.size(), 1u);
  EXPECT_EQ(memory.processes.started[0].commandLine, "\"C:\\Program Files\\Tapestrel\\Tapestrel.bat\"");
  EXPECT_TRUE(hiddenWhileRunning);
  EXPECT_TRUE(program.frmMain.Visible());
  // The converter's own names, at half size.
  EXPECT_EQ(bmp("C:\\P\\a.bmp")->width, 32);
  EXPECT_EQ(bmp("C:\\P\\100% b.bmp")->height, 32);
}

// The command interpreter reads the batch in its console's code page: a name beyond
// ASCII that has no short form is decoded here instead of by a line it would misread,
// and a line whose BMP never came is told.
TEST_F(DecoderFrontEndTest, NamesTheBatchCannotSpellAreDecodedHereAndAFailedLineIsTold) {
  program.frmMain.Load();
  program.options.ColorDepth = "";
  const std::string plain = jpeg("C:\\P\\plain.jpg", 16, 16);
  const std::string broken = jpeg("C:\\P\\broken.jpg", 16, 16);
  const std::string foreign = jpeg("C:\\P\\Z\xC3\xBCrich.jpg", 16, 16);  // no short name on this volume
  memory.processes.program = [&](const std::string& line) {
    const std::string batch = memory.files.ReadFile("C:\\Program Files\\Tapestrel\\Tapestrel.bat");
    EXPECT_EQ(batch.find("\xC3"), std::string::npos) << batch;
    // The converter fails on one file.
    memory.files.WriteFile("C:\\Program Files\\Tapestrel\\Tapestrel.bat",
                           batch.substr(0, batch.find("Jpg2Bmp.exe  \"C:\\P\\broken.jpg\"")));
    return runWindowsLine(line);
  };
  decoder.DecodeSelectedFiles({plain, broken, foreign}, false, 2);
  EXPECT_TRUE(memory.files.FileExists("C:\\P\\plain.bmp"));
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\broken.bmp"));
  EXPECT_TRUE(memory.files.FileExists("C:\\P\\Z\xC3\xBCrich.bmp"));
  EXPECT_EQ(prompts(), std::vector<std::string>{"1 of 2 file(s) were not decoded by Jpg2Bmp.exe:\n     broken.jpg\n"});
  EXPECT_FALSE(program.options.InternalDecoding);
}

TEST_F(DecoderFrontEndTest, AWrongTypeInTheBatchStopsItAndALongPathGoesByItsShortFolder) {
  decoder.DecodeSelectedFiles({jpeg("C:\\P\\a.jpg", 8, 8), "C:\\P\\b.gif"}, false, 2);
  EXPECT_EQ(prompts(), std::vector<std::string>{"Wrong Extension"});
  EXPECT_TRUE(memory.processes.started.empty());

  const std::string folder = "C:\\Pictures of the long summer holiday by the sea in two thousand and twenty six\\";
  const std::string name = "a picture with a name as long as a sentence ever is.jpg";
  const std::string path = jpeg(folder + name, 8, 8);
  ASSERT_EQ(path.size(), 136u);
  memory.files.shortNames[folder.substr(0, folder.size() - 1)] = "PICTUR~1";
  std::string batch;
  ASSERT_TRUE(decoder.WriteConverterLine(batch, path, false));
  EXPECT_EQ(batch, "Jpg2Bmp.exe  \"C:\\PICTUR~1\\" + name + "\"\r\n");
  // Without short names the path stays too long.
  memory.files.shortNames.clear();
  memory.ui.ClearMessages();
  EXPECT_FALSE(decoder.WriteConverterLine(batch, path, false));
  EXPECT_EQ(prompts(), std::vector<std::string>{"Even your short name is too long!"});
}

TEST_F(DecoderFrontEndTest, InProcessBatchWritesAFittedBmpBesideEachAndCancelStopsBeforeTheNext) {
  program.options.InternalDecoding = true;
  program.frmMain.Load();
  const std::vector<std::string> files{jpeg("C:\\P\\one.jpg", 800, 600), jpeg("C:\\P\\two.jpg", 40, 30),
                                       jpeg("C:\\P\\three.jpg", 40, 30)};
  memory.files.WriteFile("C:\\P\\two.bmp", "the user's own");
  decoder.DecodeSelectedFiles(files, false, 1);
  EXPECT_EQ(bmp("C:\\P\\one.bmp")->width, 400);
  EXPECT_EQ(bmp("C:\\P\\two (2).bmp")->width, 40);  // the user's two.bmp is kept
  EXPECT_EQ(memory.files.ReadFile("C:\\P\\two.bmp"), "the user's own");
  EXPECT_TRUE(bmp("C:\\P\\three.bmp"));
  EXPECT_FALSE(program.frmDecodingInProgress.Loaded());
  EXPECT_EQ(memory.gvbox.Picture(), nullptr);  // nothing held on to between files

  // Cancel pressed while the first file's events run.
  for (const auto& f : {"C:\\P\\one.bmp", "C:\\P\\two (2).bmp", "C:\\P\\three.bmp"}) memory.files.RemoveFile(f);
  memory.ui.whilePending = [&] {
    EXPECT_EQ(program.frmDecodingInProgress.txtConversionInProgress.Text(), "Decoding \nC:\\P\\one.jpg\n1 of 3");
    EXPECT_TRUE(program.frmDecodingInProgress.TopMost);
    program.frmDecodingInProgress.cmdCancel.Click();
  };
  decoder.DecodeSelectedFiles(files, false, 1);
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\one.bmp"));
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\three.bmp"));
}

TEST_F(DecoderFrontEndTest, ALargeJpegBecomesTheWallpaperAtExactlyItsFittedSizeInProcess) {
  program.options.InternalDecoding = true;
  program.frmMain.Load();
  jpeg("C:\\P\\big.jpg", 1600, 1000);
  ASSERT_TRUE(program.wallpaper.ChangeWallpaperTo("C:\\P\\big.jpg"));
  const auto written = bmp(kWorking);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 400);
  EXPECT_EQ(written->height, 250);
  EXPECT_GT(written->At(50, 50) >> 16, 0xF0u);          // red quarter
  EXPECT_GT(written->At(350, 200) & 0xFF, 0xF0u);       // white quarter
  EXPECT_EQ(program.state.ImageWidth, 400);
  EXPECT_EQ(memory.gvbox.Picture(), nullptr);
  EXPECT_TRUE(prompts().empty());
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(DecoderFrontEndTest, TheDecodeCommandDecodesTheSelectedItemsAndCanTakeThemOffTheList) {
  program.options.InternalDecoding = true;
  program.frmMain.Load();
  ListView& list = program.files.Current();
  program.frmMain.Menus().Get("mnuOperateOnFiles", 3).Click();
  EXPECT_EQ(prompts(), std::vector<std::string>{"There are no files to decode."});
  listJpegs(list, false);
  memory.ui.ClearMessages();
  program.frmMain.Menus().Get("mnuOperateOnFiles", 3).Click();
  EXPECT_EQ(prompts(), std::vector<std::string>{"Select the an item, please."});
  list.UserSelected(0, true);
  list.UserSelected(2, true);
  program.options.RemoveAfterDecode = 1;
  program.frmYesNoAllCancel.WhileModal = [this] {
    EXPECT_EQ(program.frmYesNoAllCancel.Caption(), "Internal Decode");
    program.frmYesNoAllCancel.cmdYesToAll.Click();
  };
  program.frmMain.Menus().Get("mnuOperateOnFiles", 3).Click();
  EXPECT_TRUE(memory.files.FileExists("C:\\P\\a.bmp"));
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\b.bmp"));
  EXPECT_TRUE(memory.files.FileExists("C:\\P\\c.bmp"));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items()[0].text, "b.jpg");
}

// "E&xit" from the hot key's menu while a batch decodes: the batch stops after the file
// it is on, and the program ends once it has (not the main window shown again).
TEST_F(DecoderFrontEndTest, ExitDuringABatchDecodeStopsItAndThenEndsTheProgram) {
  program.options.InternalDecoding = true;
  program.frmMain.Load();
  ListView& list = program.files.Current();
  listJpegs(list, true);
  program.frmYesNoAllCancel.WhileModal = [this] { program.frmYesNoAllCancel.cmdYesToAll.Click(); };
  memory.ui.whilePending = [this] { program.frmMain.mnuExit_Click(0); };
  program.frmMain.Menus().Get("mnuOperateOnFiles", 3).Click();
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\b.bmp"));
  EXPECT_FALSE(memory.files.FileExists("C:\\P\\c.bmp"));
  EXPECT_TRUE(program.frmMain.Loaded());  // the Exit waits for the work to stop
  EXPECT_EQ(program.frmMain.PendingExit(), 0);
  ASSERT_TRUE(program.frmMain.tmrExitWhenIdle.Enabled());
  program.frmMain.tmrExitWhenIdle.Tick();
  EXPECT_FALSE(program.frmMain.Loaded());
}

}  // namespace
}  // namespace tapestrel
