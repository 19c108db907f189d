// The system menu's added items and the hook that serves them; the hot key as the
// options dialog's box takes it and as the windows and the events window's sampling
// answer it; and what the events window tells the windows that subscribe.
#include <gtest/gtest.h>

#include "app/program.h"
#include "desktop/hot_key.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

constexpr unsigned kMenuSelect = 0x11F, kSysCommand = 0x112, kInitMenuPopup = 0x117;

class DesktopIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    for (const char* name : {"a.bmp", "b.bmp"}) memory.files.WriteFile(std::string("C:\\Pictures\\") + name, WriteBmp24(Bitmap(8, 8)));
    memory.settings.DeleteSetting("StartUp", "DesktopHotKey");
    ASSERT_TRUE(program.Start());
    main.mSort[0].Click();
    main.WhilePopup = [this](Menu& menu, Menu*) { popups.push_back(menu.Name()); };
  }
  // A message as the hook hears it; answers whether it went on to the window.
  bool hooked(unsigned message, std::uintptr_t wParam, std::intptr_t lParam = 0, long* result = nullptr) {
    MessageHook& hook = program.frmEvents.Msghook;
    EXPECT_TRUE(hook.Watches(main, message));
    long r = -1;
    bool passOn = true;
    hook.Message(message, wParam, lParam, r, passOn);
    if (result) *result = r;
    return passOn;
  }
  std::vector<int> commands() {
    std::vector<int> ids;
    for (const SystemMenuItem& item : main.SystemMenuItems) ids.push_back(item.caption.empty() ? -item.command : item.command);
    return ids;
  }
  const SystemMenuItem* item(int command) {
    for (const SystemMenuItem& i : main.SystemMenuItems)
      if (i.command == command && !i.caption.empty()) return &i;
    return nullptr;
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& main = program.frmMain;
  std::vector<std::string> popups;
};

TEST_F(DesktopIntegrationTest, TheSystemMenuHoldsThePopUpItemsAndItsCommandsRunThem) {
  // A separator, then the items by command (separators negative).
  EXPECT_EQ(commands(), (std::vector<int>{0, 1, -2, 3, 4, 5, -7, 8, -9, 10, 11, -12, 15, 16, 17, -18, 19, -20, 21}));
  EXPECT_EQ(item(3)->caption, "&Next Wallpaper");
  EXPECT_EQ(main.Hook, &program.frmEvents.Msghook);

  memory.ui.Answer(mb::IdYes);  // no wallpaper yet: the first file
  EXPECT_TRUE(hooked(kSysCommand, 3));  // "&Next Wallpaper", and on to the window
  EXPECT_EQ(program.options.WallPaperName, "C:\\Pictures\\a.bmp");
  // Command 13 ("E&xit") is not in the menu: were it to come, nothing runs.
  EXPECT_TRUE(hooked(kSysCommand, 13));
  EXPECT_TRUE(main.Loaded());
  // The default picture swaps its item for "Remove &Default" (6), which then works.
  program.options.Defaults = "C:\\Pictures\\b.bmp";
  hooked(kSysCommand, 5);
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Pictures\\b.bmp");
  ASSERT_TRUE(item(6));
  EXPECT_FALSE(item(5));
  hooked(kSysCommand, 6);
  EXPECT_TRUE(item(5));

  // Opening a pop-up menu brings its items up to date and goes no further.
  long result = -1;
  EXPECT_FALSE(hooked(kInitMenuPopup, 0, 0, &result));
  EXPECT_EQ(result, 0);
  // Highlighting in the system menu refreshes the timer's and the wallpaper's captions.
  program.rotation.TimerOnOff();
  hooked(kMenuSelect, (std::uintptr_t{0x2000} << 16) | 1);
  EXPECT_EQ(item(1)->caption.rfind("&Timer On ", 0), 0u);
  EXPECT_EQ(item(17)->caption.rfind("Explore a.bmp [1 of 2].", 0), 0u) << item(17)->caption;
  // "Full-&Screen Mode" carries its check mark in the system menu too.
  main.mnuBackdropMode_Click(4);
  EXPECT_TRUE(item(8)->checked);
}

TEST_F(DesktopIntegrationTest, CheckRadioMarksOneItemByPositionOrByCommandAndSaysWhenItCannot) {
  SystemMenu& menu = program.systemMenu;
  // "&View Mode" (the fifth menu): the toggle shown, a separator, the seven modes, a
  // separator and the three arrangements of screens.
  EXPECT_TRUE(menu.CheckRadio(main, 2, 6, 5, 4));
  EXPECT_TRUE(main.mnuBackdropMode[3].Checked());
  EXPECT_FALSE(main.mnuBackdropMode[0].Checked());
  EXPECT_FALSE(menu.CheckRadio(main, 2, 20, 5, 4));  // past the menu's end
  EXPECT_TRUE(menu.CheckRadio(main, 3, 5, 4));       // by command in the system menu
  EXPECT_TRUE(item(4)->checked);
  EXPECT_FALSE(item(3)->checked);
  EXPECT_FALSE(menu.CheckRadio(main, 3, 5, 12));
}

TEST_F(DesktopIntegrationTest, TheHotKeyBoxNamesTheKeyAndIgnoresAlt) {
  EXPECT_FALSE(HotKeyEntry(123, shift::Alt));
  const auto shifted = HotKeyEntry('K', shift::Ctrl | shift::Shift);
  ASSERT_TRUE(shifted);
  EXPECT_EQ(shifted->text, "Shift+K");
  EXPECT_EQ(shifted->modifier, 1);
  EXPECT_EQ(shifted->code, 'K');
  EXPECT_EQ(HotKeyEntry(122, shift::Ctrl)->text, "Ctrl+F11");
  EXPECT_EQ(HotKeyEntry(104, 0)->text, "8");  // the keypad's 8
  EXPECT_EQ(HotKeyEntry(8, 0)->text, "<--");
  const auto none = HotKeyEntry(112, 0);  // F1 cannot be chosen
  EXPECT_EQ(none->text, "None");
  EXPECT_EQ(none->code, 0);
  EXPECT_EQ(HotKeyText(0, 123), "F12");
}

TEST_F(DesktopIntegrationTest, F12OpensThePopUpInTheProgramsWindowsAndWithAnotherProgramInFront) {
  // No stored hot key: F12.
  int key = 123;
  Raise(main.KeyDown, key, 0);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(popups, std::vector<std::string>{"mPopUp"});
  int other = 124;
  Raise(main.KeyDown, other, 0);
  EXPECT_EQ(other, 124);
  program.frmOptions.Show();  // the hot key may be being changed there
  key = 123;
  Raise(main.KeyDown, key, 0);
  EXPECT_EQ(popups.size(), 1u);
  program.frmOptions.Hide();

  // Another program in front: the events window's sampling sees the key go down.
  FrmEvents& events = program.frmEvents;
  memory.desktop.foregroundOwn = false;
  events.Sample();
  memory.desktop.keysDown = {123};
  events.Sample();
  EXPECT_EQ(events.EventCode(), 4);
  EXPECT_EQ(popups.size(), 2u);
  events.Sample();  // still held: no second menu
  EXPECT_EQ(popups.size(), 2u);
  memory.desktop.keysDown.clear();
  events.Sample();
  // A right click on the bare desktop, only while no "PROGRAM MANAGER" window shows.
  memory.desktop.classUnderCursor = "#32769";
  memory.desktop.keysDown = {2};
  events.Sample();
  EXPECT_EQ(events.EventCode(), 1);
  EXPECT_EQ(popups.size(), 3u);
  memory.desktop.keysDown.clear();
  events.Sample();
  memory.desktop.visibleTitles = {"PROGRAM MANAGER"};
  memory.desktop.keysDown = {2};
  events.Sample();
  EXPECT_EQ(popups.size(), 3u);
}

// The hot key is heard whatever else the same sample saw, before the menus' shortcuts
// (F12 is also "Screen Saver O&n"), and never over a box the program waits on.
TEST_F(DesktopIntegrationTest, TheHotKeyOpensTheMenuWhileTheMouseMovesAndBeforeShortcutsButNotOverABox) {
  FrmEvents& events = program.frmEvents;
  memory.desktop.foregroundOwn = false;
  events.Sample();
  memory.desktop.cursor = {400, 300};
  memory.desktop.keysDown = {123};
  events.Sample();
  EXPECT_EQ(popups, std::vector<std::string>{"mPopUp"});
  memory.desktop.keysDown.clear();
  events.Sample();

  ASSERT_TRUE(main.BeforeShortcuts);
  EXPECT_TRUE(main.BeforeShortcuts(123, 0));
  EXPECT_EQ(popups.size(), 2u);
  EXPECT_FALSE(main.BeforeShortcuts(124, 0));

  // While a message box is up, neither the key nor a right click on the desktop opens it.
  memory.ui.whilePending = [&] {
    memory.desktop.keysDown = {123};
    events.Sample();
    memory.desktop.keysDown = {2};
    memory.desktop.classUnderCursor = "#32769";
    events.Sample();
    EXPECT_FALSE(main.BeforeShortcuts(123, 0));
  };
  memory.ui.MsgBox("A question", mb::YesNo, "Tapestrel");
  EXPECT_EQ(popups.size(), 2u);
  memory.desktop.keysDown.clear();
  events.Sample();
  // Nor while the program's own confirmation dialog is up.
  program.frmYesNoAllCancel.WhileModal = [&] {
    int key = 123;
    Raise(main.KeyDown, key, 0);
    EXPECT_EQ(key, 123);
    program.frmYesNoAllCancel.Hide();
  };
  program.frmYesNoAllCancel.ShowModal();
  EXPECT_EQ(popups.size(), 2u);
  EXPECT_FALSE(program.frmYesNoAllCancel.ShowingModally());
}

struct Heard : EventListener {
  void Event_MouseEnter(Control& c) override { said.push_back("enter " + c.Name()); }
  void Event_MouseExit(Control& c) override { said.push_back("exit " + c.Name()); }
  void Event_TooltipShow(Control& c) override { said.push_back("tip " + c.Name()); }
  void Event_TooltipHide(Control& c) override { said.push_back("untip " + c.Name()); }
  void Event_MouseDown(int buttons, int, long, long) override { said.push_back("down " + std::to_string(buttons)); }
  void Event_GotFocus(Control& c) override { said.push_back("focus " + c.Name()); }
  void Event_AppActivate() override { said.push_back("activate"); }
  void Event_AppDeActivate() override { said.push_back("deactivate"); }
  std::vector<std::string> said;
};

TEST_F(DesktopIntegrationTest, SubscribedWindowsHearThePointerTheirTipsTheFocusAndTheirActivation) {
  FrmEvents& events = program.frmEvents;
  Heard heard;
  int window = 0;
  main.native = &window;  // the memory platform has no windows: this one stands for it
  memory.desktop.foreground = &window;
  events.Subscribe(main, heard);
  const Control& button = main.cmdChangePictureDirectory;
  const auto pixel = [](long twips) { return twips / 15 + 1; };
  memory.desktop.cursor = {pixel(button.Left()), pixel(button.Top())};
  for (Control* in = button.Container(); in; in = in->Container())
    memory.desktop.cursor = {memory.desktop.cursor.first + in->Left() / 15, memory.desktop.cursor.second + in->Top() / 15};
  events.Sample();
  ASSERT_GE(heard.said.size(), 2u);
  EXPECT_EQ(heard.said.front(), "activate");
  EXPECT_EQ(heard.said.back(), "enter " + button.Name());
  for (int tick = 0; tick < 19; ++tick) events.Sample();
  EXPECT_NE(heard.said.back(), "tip " + button.Name());  // 950 ms: not yet
  events.Sample();
  EXPECT_EQ(heard.said.back(), "tip " + button.Name());
  memory.desktop.keysDown = {1};
  events.Sample();
  EXPECT_EQ(heard.said.back(), "down 1");
  main.cboPictureDirectories.SetFocus();
  memory.desktop.keysDown.clear();
  memory.desktop.cursor = {5000, 5000};  // past the window
  events.Sample();
  const std::vector<std::string> tail(heard.said.end() - 3, heard.said.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"focus cboPictureDirectories", "untip " + button.Name(), "exit " + button.Name()}));
  memory.desktop.foreground = nullptr;
  events.Sample();
  EXPECT_EQ(heard.said.back(), "deactivate");
  events.Unsubscribe(main);
  main.native = nullptr;
}

}  // namespace
}  // namespace tapestrel
