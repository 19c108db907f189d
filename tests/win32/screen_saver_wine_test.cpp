// The screen-saver switch and the Run entry on Windows (Wine): the system's switch lands
// in the desktop's "ScreenSaveActive", the default screen saver goes into the real
// system.ini by its short path, and the Run entry under the machine's key holds the
// program's command or empty text. Whatever the test changed is put back.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "app/program.h"
#include "desktop/run_at_start_up.h"
#include "platform/win32/win32_services.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

std::string desktopValue(const char* name) {
  char data[64] = {};
  DWORD size = sizeof data - 1;
  RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, data, &size);
  return data;
}

TEST(ScreenSaverOnWine, TheSwitchTheInstalledSaverAndTheRunEntryReachTheSystem) {
  testing::ProgramOnWindows windows;
  Win32ProfileFiles profiles;
  Platform platform{windows.registry, windows.memory.settings, profiles, windows.files, windows.memory.ui,
                    windows.memory.clock, windows.desktop, windows.processes, windows.gvbox, windows.shell, windows.mci};
  Program real{platform};
  const std::string activeBefore = desktopValue("ScreenSaveActive");
  char before[MAX_PATH] = {};
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", before, MAX_PATH, "system.ini");

  // A default screen saver with a long name, installed by its short path.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string saver = std::string(temp) + "Tapestrel long screen saver.scr";
  windows.files.WriteFileAtomically(saver, "MZ");
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", "", "system.ini");
  real.options.DefaultScreenSaver = saver;
  // The menus: "O&n" with the switch off installs the default and turns the switch on.
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, SPIF_UPDATEINIFILE);
  real.frmMain.mnuScreenSaver_Click(1);
  EXPECT_EQ(desktopValue("ScreenSaveActive"), "1");
  EXPECT_TRUE(real.frmMain.mnuScreenSaver[1].Checked());
  char installed[MAX_PATH] = {};
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", installed, MAX_PATH, "system.ini");
  char shortForm[MAX_PATH] = {};
  GetShortPathNameA(saver.c_str(), shortForm, MAX_PATH);
  EXPECT_STREQ(installed, shortForm);
  real.frmMain.mnuScreenSaver_Click(0);
  EXPECT_EQ(desktopValue("ScreenSaveActive"), "0");
  EXPECT_TRUE(real.frmMain.mnuScreenSaver[0].Checked());

  // The Run entry: the command, then no entry at all when the option is off, in neither
  // Run key; an empty one left by an older version goes too.
  real.options.RunProgramAtStartUp = 1;
  ApplyRunAtStartUp(real.platform.files, real.registry, real.platform.settings, real.options);
  char command[MAX_PATH] = {};
  DWORD size = sizeof command;
  const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, run, "Tapestrel", RRF_RT_REG_SZ, nullptr, command, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::string(command), StartUpCommand(windows.files.ProgramFolder(), windows.files.ProgramName()));
  HKEY userRun = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, run, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &userRun, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(userRun, "Tapestrel", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  RegCloseKey(userRun);
  real.options.RunProgramAtStartUp = 0;
  ApplyRunAtStartUp(real.platform.files, real.registry, real.platform.settings, real.options);
  char left[MAX_PATH] = "(not read)";
  size = sizeof left;
  EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, run, "Tapestrel", RRF_RT_REG_SZ, nullptr, left, &size), ERROR_FILE_NOT_FOUND);
  size = sizeof left;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, run, "Tapestrel", RRF_RT_REG_SZ, nullptr, left, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(windows.memory.ui.Prompts().empty());

  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, run, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "Tapestrel");
    RegCloseKey(key);
  }
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, activeBefore == "1" ? 1 : 0, nullptr, SPIF_UPDATEINIFILE);
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", before, "system.ini");
  DeleteFileA(saver.c_str());
}

// Windows reads an unquoted command with blanks piece by piece: the program in
// "...\tape strel\tapestrel.exe" would lose its start to "...\tape.exe" where one is
// there. The Run entry starts the program itself.
TEST(ScreenSaverOnWine, TheRunEntryStartsTheProgramEvenBesideAProgramNamedLikeItsFolder) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "run entry\\";
  const std::string folder = base + "tape strel\\";
  const std::string record = base + "started.txt";
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(TAPESTREL_RECORDER, (folder + "tapestrel.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(TAPESTREL_RECORDER, (base + "tape.exe").c_str(), FALSE));
  SetEnvironmentVariableA("TAPESTREL_RECORD_TO", record.c_str());
  std::string command = StartUpCommand(folder, "Tapestrel");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // The program itself has no arguments; "tape.exe" would have been given "strel\tapestrel.exe".
  char line[MAX_PATH] = "(nothing recorded)";
  if (FILE* in = std::fopen(record.c_str(), "rb")) {
    line[std::fread(line, 1, sizeof line - 1, in)] = '\0';
    std::fclose(in);
  }
  EXPECT_STREQ(line, "");
  DeleteFileA(record.c_str());
  DeleteFileA((folder + "tapestrel.exe").c_str());
  DeleteFileA((base + "tape.exe").c_str());
  RemoveDirectoryA(folder.c_str());
  RemoveDirectoryA(base.c_str());
}

}  // namespace
}  // namespace tapestrel
