// The notification-area icon: its record and tip, when the tip may change, the icon's
// mouse messages, the pop-up menu it opens, and the main window going to the
// notification area and coming back.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    memory.files.WriteFile("C:\\Pictures\\a.bmp", WriteBmp24(Bitmap(8, 8)));
    ASSERT_TRUE(program.Start());
    main.WhilePopup = [this](Menu& menu, Menu* defaultItem) {
      popups.push_back(menu.Name());
      defaults.push_back(defaultItem ? defaultItem->Caption() : "");
    };
  }
  // An icon message as the system sends it: a mouse move whose x is the message.
  void iconMessage(unsigned message) { Raise(tray.MouseMove, 0, 0, static_cast<long>(message) * 15, 0L); }
  std::string tip() { return memory.shell.icon ? std::string(memory.shell.icon->tip.data()) : "<no icon>"; }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& main = program.frmMain;
  FrmTrayIcon& tray = program.frmTrayIcon;
  std::vector<std::string> popups, defaults;
};

TEST_F(TrayTest, TheIconIsAddedWithItsRecordAndTheTipKeepsItsZeroByte) {
  main.SetCaption(std::string(70, 'x'));
  tray.Load();
  ASSERT_TRUE(memory.shell.icon);
  const NotifyIconData& added = *memory.shell.icon;
  EXPECT_EQ(added.size, 88u);
  EXPECT_EQ(added.id, 1u);
  EXPECT_EQ(added.flags, 7u);
  EXPECT_EQ(added.callbackMessage, 0x200u);
  EXPECT_TRUE(added.programIcon);
  EXPECT_EQ(tip(), std::string(63, 'x'));  // cut to the field
  EXPECT_EQ(added.tip[63], '\0');
  // A letter of several bytes across the cut goes whole, never in part.
  const std::string sun = "\xE6\x97\xA5";
  EXPECT_EQ(std::string(FrmTrayIcon::TipField(std::string(62, 'x') + sun).data()), std::string(62, 'x'));
  EXPECT_EQ(std::string(FrmTrayIcon::TipField(std::string(60, 'x') + sun + "y").data()), std::string(60, 'x') + sun);
  EXPECT_EQ(tray.Caption(), "Tapestrel");

  // While the main window shows, the tip stays as it is.
  const std::size_t calls = memory.shell.iconCalls.size();
  tray.TrayModify("Countdown: 0:01:00");
  EXPECT_EQ(memory.shell.iconCalls.size(), calls);
  main.Hide();
  tray.TrayModify("Countdown: 0:01:00");
  EXPECT_EQ(tip(), "Countdown: 0:01:00");

  // Explorer came back: the icon is added again.
  memory.shell.icon.reset();
  Raise(tray.TaskbarCreated);
  EXPECT_TRUE(memory.shell.icon);
  tray.Unload();
  EXPECT_FALSE(memory.shell.icon);
  EXPECT_EQ(memory.shell.iconCalls.back().first, notify_icon::Delete);
}

TEST_F(TrayTest, MinimizedToTheTrayTheIconOpensTheMenuTogglesTheDefaultPictureAndRestoreBringsTheWindowBack) {
  program.options.MinimizeToTray = 1;
  main.mnuMinimize_Click();
  EXPECT_FALSE(main.Visible());
  ASSERT_TRUE(memory.shell.icon);
  EXPECT_FALSE(main.mCustom[21].Visible());
  EXPECT_TRUE(main.mCustom[22].Visible());

  // The right button: the menu at the pointer, "&Restore" its default item.
  iconMessage(0x205);
  ASSERT_EQ(popups, std::vector<std::string>{"mPopUp"});
  EXPECT_EQ(defaults.back(), "&Restore");
  // Progress goes to the tip while the window is away.
  program.files.ShowProgress(10, 0, 20, " <ESC> to stop");
  EXPECT_EQ(tip(), "Processing selected file(s): Total 10 of 20 <ESC> to stop");
  // A move over the icon shows the caption in the tip.
  iconMessage(0x200);
  EXPECT_EQ(tip(), main.Caption().substr(0, 63));

  // The left button: the default picture, and back.
  program.options.Defaults = "C:\\Pictures\\a.bmp";
  iconMessage(0x201);
  ASSERT_FALSE(memory.desktop.wallpapers.empty());
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Pictures\\a.bmp");
  EXPECT_TRUE(main.mCustom[5].Visible());
  iconMessage(0x201);
  EXPECT_TRUE(main.mCustom[4].Visible());

  main.mCustom_Click(22);
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.State(), WindowState::Normal);
  EXPECT_FALSE(memory.shell.icon);
  EXPECT_TRUE(main.mCustom[21].Visible());
  EXPECT_FALSE(main.mCustom[22].Visible());
  main.ShowPopUp(0, 0);
  EXPECT_EQ(defaults.back(), "&Minimize");
}

// A full-screen view opened from the tray's menu gives the window back when it ends,
// and the icon goes with it; the pointer the viewer's overlay hid shows again.
TEST_F(TrayTest, TheIconGoesWhenTheWindowComesBackFromAViewOpenedFromTheTray) {
  program.options.MinimizeToTray = 1;
  main.mnuMinimize_Click();
  ASSERT_TRUE(memory.shell.icon);
  FrmFullScreen& viewer = program.frmFullScreen;
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  int i = 'i';
  Raise(viewer.KeyPress, i);  // the overlay hides the pointer
  EXPECT_LT(memory.desktop.cursorCounter, 0);
  ASSERT_TRUE(viewer.ExitFullScreenDisplay(0));
  EXPECT_TRUE(main.Visible());
  EXPECT_FALSE(memory.shell.icon);
  EXPECT_FALSE(tray.Loaded());
  EXPECT_GE(memory.desktop.cursorCounter, 0);
}

}  // namespace
}  // namespace tapestrel
