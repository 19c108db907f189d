// Profile files and the file system over the real Windows calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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

// Past 260 characters the ANSI calls see nothing; a move must still see the file that is
// there, or it would replace it.
TEST(Win32Files, ExistenceIsSeenPastTwoHundredSixtyCharacters) {
  Win32FileSystem files;
  std::wstring folder;
  {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(L"\\\\?\\") + temp;
  }
  std::vector<std::wstring> made;
  std::string ansi = tempPath("");
  for (int i = 0; i < 3; ++i) {
    const std::wstring part(90, static_cast<wchar_t>(L'a' + i));
    folder += part + L"\\";
    ansi += std::string(90, static_cast<char>('a' + i)) + "\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    made.push_back(folder);
  }
  const std::wstring file = folder + L"photo 1.jpg";
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  ASSERT_GT(ansi.size() + 11, 260u);
  EXPECT_TRUE(files.FileExists(ansi + "photo 1.jpg"));
  EXPECT_FALSE(files.FileExists(ansi + "photo 2.jpg"));
  EXPECT_TRUE(files.FolderExists(ansi));
  EXPECT_FALSE(files.FileExists(ansi));
  DeleteFileW(file.c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

std::vector<std::string> sortedNames(const std::vector<FoundFile>& found) {
  std::vector<std::string> names;
  for (const FoundFile& f : found) names.push_back(f.name);
  std::sort(names.begin(), names.end());
  return names;
}

// A search that also answers the sub-folders matches names itself: it must find what the
// system's own pattern search finds, with the same sizes and local dates.
TEST(Win32Files, SearchWithSubFoldersFindsWhatThePatternSearchFinds) {
  const std::string folder = tempPath("tapestrel-search\\");
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* sub : {"Zed", "alpha"}) CreateDirectoryA((folder + sub).c_str(), nullptr);
  const char* const names[] = {"b.bmp", "A.BMP", "notes.txt", "long name.jpeg", "photo.jpg", "x.bmpx"};
  for (const char* name : names) {
    const HANDLE h = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, name, static_cast<DWORD>(std::strlen(name)), &written, nullptr);
    CloseHandle(h);
  }
  Win32FileSystem files;
  for (const char* pattern : {"*.bmp", "*.jp?", "*.*", "?.bmp"}) {
    SCOPED_TRACE(pattern);
    const std::vector<FoundFile> plain = files.FindFiles(folder + pattern);
    std::vector<FoundFile> withFolders;
    std::vector<std::string> subFolders;
    files.FindFiles(folder + pattern, withFolders, &subFolders);
    EXPECT_EQ(sortedNames(withFolders), sortedNames(plain));
    EXPECT_EQ(subFolders, (std::vector<std::string>{"alpha", "Zed"}));
    EXPECT_EQ(subFolders, files.SubFolders(folder));
  }
  std::vector<std::string> subFolders;
  std::vector<FoundFile> found;
  files.FindFiles(folder + "b.bmp", found, &subFolders);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].size, 5u);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA((folder + "b.bmp").c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  SYSTEMTIME t;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &t);
  EXPECT_EQ(FormatDateTime(found[0].modified),
            FormatDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}));

  for (const char* name : names) DeleteFileA((folder + name).c_str());
  for (const char* sub : {"Zed", "alpha"}) RemoveDirectoryA((folder + sub).c_str());
  RemoveDirectoryA(folder.c_str());
}

// Another program reading the working bitmap (the desktop, a scanner, a viewer) holds it
// open for a moment without letting it be replaced: the new picture still goes in once the
// reader lets go, whole; held for good, the write fails, keeps the old file and leaves no
// temporary behind.
TEST(Win32Files, AFileReplacedWhileAnotherProgramReadsItGoesInOnceTheReaderLetsGo) {
  Win32FileSystem files;
  const std::string folder = tempPath("tapestrel-replace\\");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "working.bmp";
  ASSERT_TRUE(files.WriteFileAtomically(path, "old picture"));
  const auto holdFor = [&](DWORD milliseconds) {
    const HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    return std::thread([reader, milliseconds] {
      Sleep(milliseconds);
      CloseHandle(reader);
    });
  };
  std::thread briefly = holdFor(300);
  EXPECT_TRUE(files.WriteFileAtomically(path, std::string(100000, 'n')));
  briefly.join();
  EXPECT_EQ(files.FileLength(path), 100000u);

  std::thread long_ = holdFor(2500);
  EXPECT_FALSE(files.WriteFileAtomically(path, "lost"));
  long_.join();
  EXPECT_EQ(files.FileLength(path), 100000u);
  EXPECT_EQ(files.FindFiles(folder + "*").size(), 1u) << "a temporary file was left";
  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
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
