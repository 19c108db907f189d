// Profile files and the file system over the real Windows calls.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {
namespace {

std::string tempPath(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}

TEST(Win32Files, ProfileValuesRoundTrip) {
  const std::string ini = tempPath("tapestrel-test.ini");
  DeleteFileA(ini.c_str());
  Win32ProfileFiles profiles;
  EXPECT_EQ(profiles.ReadProfileValue(ini, "boot", "SCRNSAVE.EXE", "none"), "none");
  EXPECT_TRUE(profiles.WriteProfileValue(ini, "boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM\\stars.scr"));
  EXPECT_EQ(profiles.ReadProfileValue(ini, "Boot", "scrnsave.exe", ""), "C:\\WINDOWS\\SYSTEM\\stars.scr");
  DeleteFileA(ini.c_str());
}

TEST(Win32Files, ExistenceMeansANormalFileFoundByExactName) {
  Win32FileSystem files;
  const std::string file = tempPath("tapestrel-exists.txt");
  const HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(files.FileExists(file));
  EXPECT_FALSE(files.FileExists(tempPath("tapestrel-exist?.txt")));  // a pattern is not a name
  EXPECT_FALSE(files.FileExists(tempPath("")));                    // the folder itself
  EXPECT_TRUE(files.FolderExists(tempPath("")));
  EXPECT_TRUE(files.RemoveFile(file));
  EXPECT_FALSE(files.FileExists(file));
  EXPECT_FALSE(files.RemoveFile(file));
}

TEST(Win32Files, ProgramAndSystemFolders) {
  Win32FileSystem files;
  EXPECT_EQ(files.ProgramName(), "tapestrel_win32_tests");
  EXPECT_TRUE(files.FolderExists(files.ProgramFolder()));
  EXPECT_NE(files.ProgramFolder().back(), '\\');
  EXPECT_TRUE(files.FolderExists(files.WindowsDirectory()));
  EXPECT_EQ(NormalizeFolder(files.SystemDirectory()).back(), '\\');
}

}  // namespace
}  // namespace tapestrel
