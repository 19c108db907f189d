// The media events through the system's own media interface (Wine's winmm): wave files
// of our own making are opened by their short paths and played on every wallpaper
// change, and the exit sound is played waiting, cut at ten seconds, with every device
// closed afterwards. What each command answered is recorded and printed.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>

#include "app/program.h"
#include "platform/text.h"
#include "platform/win32/form_window.h"
#include "tests/common/sound_builders.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

// The real interface, with every command and its answer kept.
struct RecordingMci : Mci {
  struct Sent {
    std::string command;
    unsigned long code;
    std::string reply;
  };
  unsigned long SendString(const std::string& command, std::string& reply, void* window) override {
    const unsigned long code = real.SendString(command, reply, window);
    log.push_back({command, code, TrimAtNull(reply)});
    return code;
  }
  bool ErrorString(unsigned long code, std::string& text) override { return real.ErrorString(code, text); }
  std::optional<ScreenBox> WindowBox(unsigned long window) override { return real.WindowBox(window); }
  void PlaceOnTop(unsigned long window, long left, long top) override { real.PlaceOnTop(window, left, top); }

  std::vector<const Sent*> Find(const std::string& command) const {
    std::vector<const Sent*> found;
    for (const Sent& s : log)
      if (s.command == command) found.push_back(&s);
    return found;
  }
  Win32Mci real;
  std::vector<Sent> log;
};

TEST(MediaEventsOnWine, TheBackdropSoundPlaysOnEveryChangeAndTheExitSoundWaits) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "Tapestrel media test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  testing::ProgramOnWindows windows;
  Win32FileSystem& files = windows.files;
  for (const char* name : {"a.bmp", "b.bmp"}) files.WriteFileAtomically(folder + name, WriteBmp24(Bitmap(16, 16, 0x336699)));
  // A "!" in the name: the system would read what stands before it as the device type.
  const std::string change = folder + "wallpaper change!.wav";
  const std::string leaving = folder + "long exit sound.wav";
  files.WriteFileAtomically(change, sounds::WaveFile(1500));
  files.WriteFileAtomically(leaving, sounds::WaveFile(25000));

  RecordingMci mci;
  Platform platform{windows.registry, windows.memory.settings, windows.memory.profiles, files,
                    windows.memory.ui, windows.memory.clock, windows.desktop, windows.processes,
                    windows.gvbox, windows.shell, mci};
  Program program{platform};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  program.state.ProgramFolder = folder;
  program.state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  program.frmMain.SetRenderer(&renderer);
  program.frmMain.Load();
  program.frmMain.ApplySettings();
  ASSERT_TRUE(program.files.FillListView(folder));
  Options& o = program.options;
  o.BackdropMode = 1;
  o.WallPaperName = folder + "a.bmp";
  o.mciEvents[1] = change;
  o.mciEventsOn[1] = 1;
  o.mciEvents[2] = leaving;
  o.mciEventsOn[2] = 1;

  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  const std::string shortChange = files.ShortPathName(change);
  ASSERT_EQ(shortChange.find(' '), std::string::npos) << shortChange;
  const std::string device = program.media.DeviceName(change);
  EXPECT_EQ(ToLower(device), ToLower("waveaudio!" + shortChange));
  const auto opens = mci.Find("open " + device + " alias mciDevice1");
  const auto plays = mci.Find("play mciDevice1 notify");
  ASSERT_EQ(opens.size(), 2u);
  ASSERT_EQ(plays.size(), 2u);
  for (const auto* sent : opens) EXPECT_EQ(sent->code, 0u);
  for (const auto* sent : plays) EXPECT_EQ(sent->code, 0u);
  const auto format = mci.Find("Status mciDevice1 Time Format");
  ASSERT_FALSE(format.empty());
  EXPECT_EQ(format[0]->reply, "milliseconds");

  program.frmMain.Unload();
  const auto length = mci.Find("status mciDevice2 length");
  ASSERT_EQ(length.size(), 1u);
  EXPECT_EQ(length[0]->reply, "25000");  // the system read our file as 25 seconds
  const auto waiting = mci.Find("play mciDevice2 wait from 0 to 10000");
  ASSERT_EQ(waiting.size(), 1u);
  std::cout << "waiting exit play answered " << waiting[0]->code << "\n";
  for (const char* closing : {"close mciDevice1", "close mciDevice2"}) {
    const auto closed = mci.Find(closing);
    ASSERT_FALSE(closed.empty()) << closing;
    EXPECT_EQ(closed.back()->code, 0u) << closing;
  }
  EXPECT_TRUE(windows.memory.ui.Prompts().empty()) << windows.memory.ui.Prompts().front();
  EXPECT_EQ(windows.memory.settings.GetSetting("StartUp", "mciEvents2", ""), leaving);

  // Where a volume has no short names the long path goes: in quotes it opens, bare its
  // blanks part it.
  std::string reply(200, ' ');
  EXPECT_EQ(mci.real.SendString("open \"waveaudio!" + leaving + "\" alias quoted", reply, nullptr), 0u);
  mci.real.SendString("close quoted", reply, nullptr);
  EXPECT_NE(mci.real.SendString("open waveaudio!" + leaving + " alias bare", reply, nullptr), 0u);
  mci.real.SendString("close bare", reply, nullptr);

  for (const char* name : {"a.bmp", "b.bmp"}) DeleteFileA((folder + name).c_str());
  DeleteFileA(change.c_str());
  DeleteFileA(leaving.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace tapestrel
