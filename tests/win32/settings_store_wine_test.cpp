// The settings store on the real registry: HKEY_CURRENT_USER\Software\Tapestrel.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_services.h"

namespace tapestrel {
namespace {

class Win32SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store.DeleteSection(kSection); }
  void TearDown() override { store.DeleteSection(kSection); }

  static constexpr const char* kSection = "TestSection";
  Win32SettingsStore store;
};

TEST_F(Win32SettingsStoreTest, ValuesLiveUnderTheApplicationsKey) {
  store.SaveSetting(kSection, "Answer", "42");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tapestrel\\TestSection", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  char data[16] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Answer", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(data, "42");
}

TEST_F(Win32SettingsStoreTest, ReadWriteDeleteAndKeysWithoutCase) {
  EXPECT_EQ(store.GetSetting(kSection, "Missing", "fallback"), "fallback");
  store.SaveSetting(kSection, "WallPaperName", "C:\\Pictures\\sea.bmp");
  EXPECT_EQ(store.GetSetting(kSection, "wallpapername", ""), "C:\\Pictures\\sea.bmp");
  store.SaveSetting(kSection, "WALLPAPERNAME", "");
  EXPECT_EQ(store.GetSetting(kSection, "WallPaperName", "fallback"), "");  // empty is a value, not absence
  store.DeleteSetting(kSection, "WallPaperName");
  EXPECT_EQ(store.GetSetting(kSection, "WallPaperName", "fallback"), "fallback");
}

TEST_F(Win32SettingsStoreTest, SectionListsInKeyOrderAndDeletesWhole) {
  for (const char* key : {"000010", "000002", "000001", "000011"}) store.SaveSetting(kSection, key, key);
  const auto all = store.GetAllSettings(kSection);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].first, "000001");
  EXPECT_EQ(all[1].first, "000002");
  EXPECT_EQ(all[2].first, "000010");
  EXPECT_EQ(all[3].first, "000011");
  store.DeleteSection(kSection);
  EXPECT_TRUE(store.GetAllSettings(kSection).empty());
}

TEST_F(Win32SettingsStoreTest, LongValuesSurvive) {
  const std::string history(2000, 'h');
  store.SaveSetting(kSection, "Long", history);
  EXPECT_EQ(store.GetSetting(kSection, "Long", ""), history);
}

}  // namespace
}  // namespace tapestrel
