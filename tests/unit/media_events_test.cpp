// The media events against a model of the Media Control Interface: the exact commands
// sent for sounds, videos and CD tracks, the expected failures kept quiet and the others
// told, the exit sound cut short, and the "Play Settings" buttons.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/sound_builders.h"

namespace tapestrel {
namespace {

using Commands = std::vector<std::string>;

class MediaEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    memory.settings.SaveSetting("StartUp", "WallPaperName", "C:\\Pictures\\a.bmp");
    for (const char* name : {"a.bmp", "b.bmp"}) memory.files.WriteFile(std::string("C:\\Pictures\\") + name, WriteBmp24(Bitmap(8, 8)));
  }
  void start() {
    ASSERT_TRUE(program.Start());
    memory.mci.sent.clear();
  }
  // Assigns a file to an event, switched on.
  void assign(int event, const std::string& file) {
    memory.settings.SaveSetting("StartUp", "mciEvents" + std::to_string(event), file);
    memory.settings.SaveSetting("StartUp", "mciEventsOn" + std::to_string(event), "1");
  }
  std::string shortName(const std::string& path) { return memory.files.ShortPathName(path); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  MediaEvents& media = program.media;
  FrmOptions& dialog = program.frmOptions;
};

TEST_F(MediaEventsTest, LoadSoundOpensByShortPathAndPlaysInTheBackground) {
  memory.files.WriteFile("C:\\Sounds\\Hello there.wav", sounds::WaveFile(1500));
  memory.files.shortNames["C:\\Sounds\\Hello there.wav"] = "HELLOT~1.WAV";
  assign(0, "C:\\Sounds\\Hello there.wav");
  ASSERT_TRUE(program.Start());
  const std::string file = shortName("C:\\Sounds\\Hello there.wav");
  EXPECT_EQ(file.find(' '), std::string::npos);
  EXPECT_EQ(memory.mci.sent, (Commands{"capability CDAudio can eject", "capability CDAudio can play",
                                       "open " + file + " alias mciDevice0", "set mciDevice0 time format ms",
                                       "Status mciDevice0 Time Format", "play mciDevice0 notify"}));
  EXPECT_EQ(memory.mci.lastCallbackWindow, program.frmMain.native);
  EXPECT_TRUE(memory.ui.Prompts().empty());
  EXPECT_TRUE(media.DeviceInUse(0));
}

TEST_F(MediaEventsTest, EveryWallpaperChangePlaysTheBackdropEventAndTwoEventsPlayAtOnce) {
  memory.files.WriteFile("C:\\Sounds\\load.wav", sounds::WaveFile(3000));
  memory.files.WriteFile("C:\\Sounds\\change.wav", sounds::WaveFile(200));
  assign(0, "C:\\Sounds\\load.wav");
  assign(1, "C:\\Sounds\\change.wav");
  start();
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  ASSERT_NE(memory.mci.Find("mciDevice0"), nullptr);
  EXPECT_EQ(memory.mci.Find("mciDevice0")->mode, "playing");
  EXPECT_EQ(memory.mci.Find("mciDevice1")->mode, "playing");
  // Over "Play", the tip tells how far it has played.
  program.frmOptions.cmdPlay[0].MouseMove(0, 0, 10, 10);
  EXPECT_EQ(program.frmOptions.cmdPlay[0].ToolTipText(), "Play Status (h:min:sec)\nTime elapsed: 0:00:00\nTotal time: 0:00:03");
  // While it plays, a change does not start it again; once it has ended, the next does.
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  memory.mci.FinishPlaying("mciDevice1");
  memory.mci.sent.clear();
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  const std::string file = shortName("C:\\Sounds\\change.wav");
  EXPECT_EQ(memory.mci.sent, (Commands{"status mciDevice1 Mode", "close mciDevice1", "open " + file + " alias mciDevice1",
                                       "set mciDevice1 time format ms", "Status mciDevice1 Time Format",
                                       "play mciDevice1 notify"}));
  EXPECT_TRUE(memory.ui.Prompts().empty());
}

TEST_F(MediaEventsTest, LoopingMutedVideoIsCentredOnTopAndItsPlaceKept) {
  memory.files.WriteFile("C:\\Video\\clip.avi", "RIFF");
  assign(1, "C:\\Video\\clip.avi");
  memory.settings.SaveSetting("StartUp", "LoopVideo1", "1");
  memory.settings.SaveSetting("StartUp", "MuteAvi1", "1");
  start();
  media.PlayEvent(1);
  EXPECT_EQ(memory.mci.sent, (Commands{"open C:\\Video\\clip.avi alias mciDevice1", "setaudio mciDevice1 off",
                                       "status mciDevice1 window handle", "set mciDevice1 time format ms",
                                       "Status mciDevice1 Time Format", "play mciDevice1 notify repeat"}));
  const MemoryMci::Device* device = memory.mci.Find("mciDevice1");
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->muted);
  EXPECT_TRUE(device->repeating);
  const ScreenBox box = memory.mci.windows.at(device->window);
  EXPECT_EQ(box.left, (1024 - MemoryMci::kVideoWidth) / 2);
  EXPECT_EQ(box.top, (768 - MemoryMci::kVideoHeight) / 2);

  // The user moves the window; "Stop" keeps where it is, and the next play goes there.
  memory.mci.PlaceOnTop(device->window, 40, 30);
  dialog.cmdStop[1].Click();
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "EventWindow", ""), "40 30");
  EXPECT_EQ(memory.mci.Find("mciDevice1"), nullptr);
  media.PlayEvent(1);
  EXPECT_EQ(memory.mci.windows.at(memory.mci.Find("mciDevice1")->window).left, 40);

  // Switching looping off while it plays plays it on without repeating.
  dialog.chkLoopVideo[1].SetValue(1);  // as the dialog shows it
  dialog.chkLoopVideo[1].SetValue(0);
  EXPECT_EQ(memory.mci.sent.back(), "play mciDevice1 notify");
  EXPECT_FALSE(memory.mci.Find("mciDevice1")->repeating);
}

TEST_F(MediaEventsTest, ExitSoundIsPlayedWaitingAndCutAtTenSeconds) {
  memory.files.WriteFile("C:\\Sounds\\long.wav", sounds::WaveFile(25000));
  memory.files.WriteFile("C:\\Sounds\\short.wav", sounds::WaveFile(4000));
  assign(2, "C:\\Sounds\\long.wav");
  start();
  ASSERT_TRUE(program.frmMain.Unload());
  EXPECT_EQ(memory.mci.sent, (Commands{"open C:\\Sounds\\long.wav alias mciDevice2", "set mciDevice2 time format ms",
                                       "Status mciDevice2 Time Format", "status mciDevice2 length",
                                       "play mciDevice2 wait from 0 to 10000", "close mciDevice2"}));
  EXPECT_EQ(memory.mci.waited, std::vector<long>{10000});

  program.frmMain.Load();
  program.options.mciEvents[2] = "C:\\Sounds\\short.wav";
  program.frmMain.Unload();
  EXPECT_EQ(memory.mci.waited, (std::vector<long>{10000, 4000}));

  // A missing exit sound is told, and nothing is opened.
  program.frmMain.Load();
  program.options.mciEvents[2] = "C:\\Sounds\\gone.wav";
  memory.mci.sent.clear();
  program.frmMain.Unload();
  EXPECT_EQ(memory.ui.Prompts().back(), "C:\\Sounds\\gone.wav not found");
  EXPECT_TRUE(memory.mci.sent.empty());
}

TEST_F(MediaEventsTest, FailuresAreToldOnceAndExpectedOnesNotAtAll) {
  memory.files.WriteFile("C:\\Sounds\\a.wav", sounds::WaveFile(500));
  assign(0, "C:\\Sounds\\a.wav");
  memory.settings.SaveSetting("StartUp", "mciEventsOn0", "0");
  start();
  // An alias left open by an earlier play is closed and the open tried once more.
  memory.mci.failNext["open"] = 289;
  media.PlayEvent(0);
  EXPECT_EQ(Commands(memory.mci.sent.begin(), memory.mci.sent.begin() + 3),
            (Commands{"open C:\\Sounds\\a.wav alias mciDevice0", "close mciDevice0", "open C:\\Sounds\\a.wav alias mciDevice0"}));
  EXPECT_EQ(memory.mci.sent.back(), "play mciDevice0 notify");
  EXPECT_TRUE(memory.ui.Messages().empty());

  // A file the device cannot read: one box, with the device's text and the code.
  media.CloseMci(0);
  memory.mci.failNext["open"] = 296;
  media.PlayEvent(0);
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Messages()[0].title, "mci Command Error 296");
  EXPECT_EQ(memory.ui.Messages()[0].prompt.rfind("The specified file cannot be played", 0), 0u);
  EXPECT_FALSE(media.DeviceInUse(0));

  // An expected code on the open itself is told by the open, under the device's text.
  memory.mci.failNext["open"] = 259;
  media.PlayEvent(0);
  ASSERT_EQ(memory.ui.Messages().size(), 2u);
  EXPECT_EQ(memory.ui.Messages()[1].prompt, "mci Command Error 259");
  EXPECT_EQ(memory.ui.Messages()[1].title, "The driver cannot recognize the specified command parameter.");

  std::string reply;
  std::string text;
  EXPECT_FALSE(media.SendMci("status nothing mode", reply, &text));
  EXPECT_EQ(reply, "263");
  EXPECT_EQ(text, "The specified device is not open or is not recognized by MCI.");
  EXPECT_EQ(memory.ui.Messages().size(), 2u);

  program.options.mciEvents[0] = "C:\\Sounds\\gone.wav";
  media.TriggerEvent(0);
  EXPECT_EQ(memory.ui.Prompts().back(), "C:\\Sounds\\gone.wav is not present");
  program.options.mciEvents[0] = "";
  media.TriggerEvent(0);
  EXPECT_EQ(memory.ui.Beeps(), 1);
}

TEST_F(MediaEventsTest, CdTracksPlayOneAtATimeAndStopKeepsTheTrack) {
  for (int t : {4, 10, 12}) memory.files.WriteFile("C:\\CD\\Track" + FormatNumber(t, "00") + ".cda", "CDDA");
  assign(1, "C:\\CD\\Track04.cda");
  start();
  media.PlayEvent(1);
  EXPECT_EQ(memory.mci.sent,
            (Commands{"status CDAudio Mode", "Info CDAudio identity", "open CDAudio", "Set CDAudio Time Format tmsf",
                      "Status CDAudio Time Format", "Status CDAudio Number of Tracks", "Play CDAudio from 4 To 5"}));
  EXPECT_TRUE(media.CdPlaying());
  EXPECT_EQ(media.CdTracks(), 10);
  EXPECT_EQ(media.PlayStatusText(1),
            "Status for Track 4 of 10\nTime elapsed: 04:00:00:00\nTime of track: 03:04:00\nCD Length: 31:00:00");

  // "Pause" stops the drive and goes on from where it stopped.
  dialog.cmdPause[1].Click();
  EXPECT_EQ(memory.mci.sent.back(), "Stop CDAudio");
  EXPECT_EQ(dialog.cmdPause[1].Caption(), "Resume");
  dialog.cmdPause[1].Click();
  EXPECT_EQ(memory.mci.sent.back(), "Play CDAudio to 5");
  EXPECT_EQ(dialog.cmdPause[1].Caption(), "Pause");

  // The drive has moved on to track 6 when "Stop" is pressed: the event keeps it.
  memory.mci.cd.track = 6;
  dialog.cmdStop[1].Click();
  EXPECT_EQ(program.options.mciEvents[1], "C:\\CD\\Track06.cda");
  EXPECT_EQ(dialog.txtMciDevice[1].Text(), "C:\\CD\\Track06.cda");
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "mciEvents1", ""), "C:\\CD\\Track06.cda");
  EXPECT_EQ(Commands(memory.mci.sent.end() - 2, memory.mci.sent.end()), (Commands{"Stop CDAudio", "Close CDAudio"}));
  EXPECT_FALSE(media.CdPlaying());

  // The last track has no track after it to stop at.
  program.options.mciEvents[1] = "C:\\CD\\Track10.cda";
  media.PlayEvent(1);
  EXPECT_EQ(Commands(memory.mci.sent.end() - 2, memory.mci.sent.end()), (Commands{"Seek CDAudio to 10", "Play CDAudio"}));
  media.CloseMci(1);

  program.options.mciEvents[1] = "C:\\CD\\Track12.cda";
  media.PlayEvent(1);
  ASSERT_FALSE(memory.ui.Messages().empty());
  EXPECT_EQ(memory.ui.Messages().back().prompt, "Incorrect track number");
  EXPECT_EQ(memory.ui.Messages().back().title, "CD Access Error");
  EXPECT_EQ(memory.mci.cd.mode, "stopped");
}

TEST_F(MediaEventsTest, ExitClosesThePlayingCdKeepingItsTrack) {
  memory.files.WriteFile("C:\\CD\\Track03.cda", "CDDA");
  assign(0, "C:\\CD\\Track03.cda");
  memory.settings.SaveSetting("StartUp", "PlayOneCDTrack", "0");
  start();
  EXPECT_EQ(memory.mci.cd.mode, "playing");
  memory.mci.cd.track = 5;
  program.frmMain.Unload();
  EXPECT_EQ(program.frmMain.Caption(), "Finished Closing CDAudio.");
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "mciEvents0", ""), "C:\\CD\\Track05.cda");
  EXPECT_EQ(memory.mci.cd.mode, "stopped");
  EXPECT_EQ(memory.mci.Find("cdaudio"), nullptr);
}

TEST_F(MediaEventsTest, PlayNextGoesThroughTheFilesOfTheSameKind) {
  for (const char* name : {"b.wav", "A.wav", "c.wav", "x.mid", "clip.mpg", "song.mp2", "photo.jpg", "photo2.jpeg"})
    memory.files.WriteFile(std::string("C:\\Media\\") + name, sounds::WaveFile(100));
  memory.files.WriteFile("C:\\CD\\Track10.cda", "CDDA");
  start();
  const auto next = [&](const std::string& from) {
    program.options.mciEvents[1] = from;
    media.NextEventFile(1);
    return program.options.mciEvents[1];
  };
  EXPECT_EQ(next("C:\\Media\\A.wav"), "C:\\Media\\b.wav");
  EXPECT_EQ(next("C:\\Media\\B.WAV"), "C:\\Media\\c.wav");
  EXPECT_EQ(next("C:\\Media\\c.wav"), "C:\\Media\\A.wav");
  EXPECT_EQ(next("C:\\Media\\clip.mpg"), "C:\\Media\\song.mp2");
  EXPECT_EQ(next("C:\\Media\\photo2.jpeg"), "C:\\Media\\photo.jpg");
  EXPECT_EQ(next("C:\\CD\\Track10.cda"), "C:\\CD\\Track01.cda");
  EXPECT_EQ(dialog.txtMciDevice[1].Text(), "C:\\CD\\Track01.cda");

  // A pattern with "&Play next" plays the first file of its kind.
  program.options.mciEvents[1] = "C:\\Media\\*.wav";
  program.options.PlayNext[1] = 1;
  memory.mci.sent.clear();
  media.TriggerEvent(1);
  EXPECT_EQ(program.options.mciEvents[1], "C:\\Media\\A.wav");
  EXPECT_EQ(memory.mci.sent.back(), "play mciDevice1 notify");
  EXPECT_TRUE(memory.ui.Messages().empty());
}

TEST_F(MediaEventsTest, CdDoorCapabilitiesAndTheOneTrackWarning) {
  memory.mci.cd.canEject = false;
  start();
  EXPECT_EQ(memory.ui.Prompts(), Commands{"You can not eject CDs via software."});

  media.CdDoor();
  EXPECT_TRUE(memory.mci.cd.doorOpen);
  EXPECT_EQ(memory.mci.sent.back(), "Set CDAudio Door Open");
  media.CdDoor();
  EXPECT_FALSE(memory.mci.cd.doorOpen);

  // A tray that cannot be pulled in: the user is asked whether to put a CD in.
  memory.mci.cd.doorOpen = true;
  memory.mci.cd.doorClosesBySoftware = false;
  memory.ui.Answer(mb::IdYes);
  media.CdDoor();
  EXPECT_EQ(memory.ui.Prompts().back(), "Would you like to insert a CD?");
  EXPECT_EQ(memory.mci.sent.back(), "Set CDAudio Door Open");

  memory.mci.cd = {};
  memory.files.WriteFile("C:\\CD\\Track02.cda", "CDDA");
  program.options.mciEvents[0] = "C:\\CD\\Track02.cda";
  media.PlayEvent(0);
  dialog.chkMiscOptions[15].SetValue(1);
  dialog.chkMiscOptions[15].SetValue(0);
  EXPECT_EQ(program.options.PlayOneCDTrack, 0);
  EXPECT_EQ(memory.ui.Prompts().back(), "One track play will not be disabled until you stop the audio CD.");
}

TEST_F(MediaEventsTest, NoCdDriveIsNotToldAtStartUpAndTheDoorTellsItOnce) {
  memory.mci.cd.drive = false;
  start();
  EXPECT_TRUE(memory.ui.Messages().empty());
  media.CdDoor();
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Messages()[0].title, "mci Command Error 266");
  EXPECT_EQ(memory.mci.sent, Commands{"status CDAudio Mode"});
  memory.profiles.WriteProfileValue("win.ini", "mci extensions", "mpg", "MPEGVideo");
  memory.profiles.WriteProfileValue("system.ini", "mci", "MPEGVideo", "mcivmpeg.drv");
  EXPECT_EQ(media.MciDriverForExtension("mpg"), "mcivmpeg.drv");
  EXPECT_EQ(media.MciDriverForExtension("xyz"), "");
}

// The system reads "open X!Y" as the device type X and the file Y: a name with "!" opens
// with its type in front, and a long path with blanks (no short names) in quotes.
TEST_F(MediaEventsTest, NamesWithABangOrBlanksOpenByTheirDeviceType) {
  memory.profiles.WriteProfileValue("win.ini", "mci extensions", "wav", "waveaudio");
  const std::string bang = "C:\\Sounds\\Wow!.wav";
  const std::string blank = "C:\\My Sounds\\ding dong.wav";
  memory.files.WriteFile(bang, sounds::WaveFile(500));
  memory.files.WriteFile(blank, sounds::WaveFile(500));
  memory.files.shortNames[bang] = "WOW!~1.WAV";
  assign(0, bang);
  assign(1, blank);
  ASSERT_TRUE(program.Start());  // the load event plays the first
  media.TriggerEvent(1);
  const auto opened = [&](const std::string& command) {
    return std::find(memory.mci.sent.begin(), memory.mci.sent.end(), command) != memory.mci.sent.end();
  };
  EXPECT_TRUE(opened("open waveaudio!C:\\Sounds\\WOW!~1.WAV alias mciDevice0"));
  EXPECT_TRUE(opened("open \"waveaudio!" + blank + "\" alias mciDevice1"));
  EXPECT_EQ(memory.mci.Find("mciDevice0")->mode, "playing");
  EXPECT_EQ(memory.mci.Find("mciDevice1")->mode, "playing");
  EXPECT_TRUE(memory.ui.Messages().empty());
  // Without a listed type the path goes as it is.
  EXPECT_EQ(media.DeviceName("C:\\Sounds\\x.xyz"), "C:\\Sounds\\x.xyz");
}

// "Play" after the event's file was changed in the dialog plays the new file, even where
// the old one has ended and its device stays open, and even with "&Play next" on.
TEST_F(MediaEventsTest, PlayAfterTheFileChangedPlaysTheNewFile) {
  memory.files.WriteFile("C:\\Sounds\\old.wav", sounds::WaveFile(500));
  memory.files.WriteFile("C:\\Sounds\\new.wav", sounds::WaveFile(500));
  memory.files.WriteFile("C:\\Sounds\\z.wav", sounds::WaveFile(500));
  assign(0, "C:\\Sounds\\old.wav");
  memory.settings.SaveSetting("StartUp", "mciEventsOn0", "0");
  start();
  dialog.cmdPlay[0].Click();
  memory.mci.FinishPlaying("mciDevice0");
  program.options.PlayNext[0] = 1;
  program.options.mciEvents[0] = "C:\\Sounds\\new.wav";
  dialog.cmdPlay[0].Click();
  ASSERT_NE(memory.mci.Find("mciDevice0"), nullptr);
  EXPECT_EQ(memory.mci.Find("mciDevice0")->file, "C:\\Sounds\\new.wav");
  EXPECT_EQ(memory.mci.Find("mciDevice0")->mode, "playing");
  EXPECT_EQ(program.options.mciEvents[0], "C:\\Sounds\\new.wav");
  EXPECT_EQ(program.options.PlayNext[0], 1);
}

// The exit event takes a "*.wav" pattern with "&Play next" as the other two do.
TEST_F(MediaEventsTest, TheExitEventTakesAPatternWithPlayNext) {
  memory.files.WriteFile("C:\\Sounds\\bye.wav", sounds::WaveFile(500));
  assign(2, "C:\\Sounds\\*.wav");
  memory.settings.SaveSetting("StartUp", "PlayNext2", "1");
  start();
  program.frmMain.Unload();
  EXPECT_TRUE(memory.ui.Messages().empty());
  EXPECT_EQ(program.options.mciEvents[2], "C:\\Sounds\\bye.wav");
  EXPECT_NE(std::find(memory.mci.sent.begin(), memory.mci.sent.end(), "open C:\\Sounds\\bye.wav alias mciDevice2"),
            memory.mci.sent.end());
}

// CANCEL leaves the devices and the store as they were when the dialog opened: a playing
// video's loop and sound, and the track "Stop" wrote for a CD event.
TEST_F(MediaEventsTest, CancelPutsBackWhatTheDialogAlreadyApplied) {
  memory.files.WriteFile("C:\\Video\\clip.avi", "RIFF");
  for (int t : {4, 6}) memory.files.WriteFile("C:\\CD\\Track" + FormatNumber(t, "00") + ".cda", "CDDA");
  assign(1, "C:\\Video\\clip.avi");
  assign(0, "C:\\CD\\Track04.cda");
  memory.settings.SaveSetting("StartUp", "mciEventsOn0", "0");
  start();
  media.PlayEvent(1);
  dialog.Open();
  dialog.chkLoopVideo[1].SetValue(1);
  dialog.chkMuteVideo[1].SetValue(1);
  ASSERT_TRUE(memory.mci.Find("mciDevice1")->repeating);
  ASSERT_TRUE(memory.mci.Find("mciDevice1")->muted);
  media.PlayEvent(0);
  memory.mci.cd.track = 6;
  dialog.cmdStop[0].Click();
  ASSERT_EQ(memory.settings.GetSetting("StartUp", "mciEvents0", ""), "C:\\CD\\Track06.cda");
  dialog.cmdOptions[FrmOptions::Cancel].Click();
  EXPECT_FALSE(memory.mci.Find("mciDevice1")->repeating);
  EXPECT_FALSE(memory.mci.Find("mciDevice1")->muted);
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "mciEvents0", ""), "C:\\CD\\Track04.cda");
  EXPECT_EQ(program.options.mciEvents[0], "C:\\CD\\Track04.cda");
}

}  // namespace
}  // namespace tapestrel
