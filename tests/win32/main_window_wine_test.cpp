// The main window through the real renderer, in-process with hidden windows: what the
// program sets reaches the real menus, bars and lists, and what arrives as window
// messages reaches the program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <new>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"

namespace tapestrel {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frm.SetRenderer(&renderer);
    program.state.ProgramFolder = "C:\\Program Files\\Tapestrel\\";
    frm.Load();  // loaded, never shown: hidden windows keep the tests fast
    program.settings.Load();
    frm.ApplySettings();
    frm.InitializeToolBar();
  }
  void TearDown() override {
    if (frm.Loaded()) frm.Unload();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  HWND window() { return renderer.WindowOf(frm); }
  HWND bar() { return renderer.WindowOf(frm.tbrCommands); }
  UINT menuState(int command) { return GetMenuState(renderer.MenuBarOf(frm), static_cast<UINT>(command), MF_BYCOMMAND); }
  std::string menuString(int command) {
    char text[128] = {};
    GetMenuStringA(renderer.MenuBarOf(frm), static_cast<UINT>(command), text, sizeof text, MF_BYCOMMAND);
    return text;
  }
  // Lets the window take its messages (timers among them) until `done` or two seconds.
  template <typename Done>
  void pumpUntil(Done done) {
    const DWORD until = GetTickCount() + 2000;
    MSG msg;
    while (!done() && GetTickCount() < until) {
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      else Sleep(5);
    }
  }
  // What a panel shows once texts that came in a burst have been shown (a moment later,
  // through the message queue).
  std::string panelText(int part) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 100;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(5);
    }
    char text[256] = {};
    SendMessageA(renderer.WindowOf(frm.StatusBar), SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& frm = program.frmMain;
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
};

TEST_F(MainWindowTest, ChecksCaptionsAndEnabledStatesReachTheRealMenus) {
  EXPECT_EQ(menuString(IDM_FIND_FILE), "&Find\tCtrl+F");
  EXPECT_EQ(menuString(IDM_VIEW_FILES), "View\tAlt+Bksp");
  EXPECT_TRUE(menuState(IDM_DELETE_CONFIRMATION) & MF_CHECKED);
  frm.mnuDeleteConfirmation.Click();
  EXPECT_FALSE(menuState(IDM_DELETE_CONFIRMATION) & MF_CHECKED);
  EXPECT_TRUE(menuState(IDM_BACKDROP_MODE) & MF_CHECKED);
  frm.mnuBackdropMode[2].Click();
  EXPECT_TRUE(menuState(IDM_BACKDROP_MODE + 2) & MF_CHECKED);
  EXPECT_FALSE(menuState(IDM_BACKDROP_MODE) & MF_CHECKED);
  // The mode and the interval are chosen one of a group: radio marks, not check marks.
  for (const int command : {IDM_BACKDROP_MODE, IDM_BACKDROP_MODE + 2, IDM_TIME_INTERVAL, IDM_TIME_INTERVAL + 4}) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(renderer.MenuBarOf(frm), static_cast<UINT>(command), FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << command;
  }
  MENUITEMINFOA plain{};
  plain.cbSize = sizeof plain;
  plain.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(renderer.MenuBarOf(frm), IDM_DELETE_CONFIRMATION, FALSE, &plain));
  EXPECT_FALSE(plain.fType & MFT_RADIOCHECK);

  frm.mnuTimerOnOff.SetEnabled(false);
  EXPECT_TRUE(menuState(IDM_TIMER_ON_OFF) & MF_GRAYED);
  frm.mnuTimerOnOff.SetCaption("&Timer Off");
  EXPECT_EQ(menuString(IDM_TIMER_ON_OFF), "&Timer Off\tCtrl+T");
  // Hidden items are not in the real menu; pop-up menus are not in the bar.
  EXPECT_EQ(menuState(IDM_ABOUT + 2), static_cast<UINT>(-1));
  EXPECT_EQ(menuState(IDM_CUSTOM), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuItemCount(renderer.MenuBarOf(frm)), 6);
}

// A top-level menu highlighted in the bar shows its own help line.
TEST_F(MainWindowTest, TopLevelMenusShowTheirHelpLines) {
  const HMENU bar = renderer.MenuBarOf(frm);
  SendMessageA(window(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "Contains commands for operating on selected files.");
}

TEST_F(MainWindowTest, StatusPanelsAndCaptionReadBack) {
  frm.ChangeMainStatusMsg("Total 3 file(s)");
  frm.ChangeMenuHelpStatusMsg("Finds an item in the list.");
  frm.SetCaption("Wallpaper name: sea.bmp");
  EXPECT_EQ(panelText(0), "Total 3 file(s)");
  EXPECT_EQ(panelText(2), "*.bmp");
  EXPECT_EQ(panelText(6), "Finds an item in the list.");
  char caption[128] = {};
  GetWindowTextA(window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Wallpaper name: sea.bmp");
  EXPECT_EQ(SendMessageA(renderer.WindowOf(frm.StatusBar), SB_GETPARTS, 0, 0), 7);
}

TEST_F(MainWindowTest, MenuCommandsArriveAsWindowMessages) {
  SendMessageA(window(), WM_COMMAND, IDM_INFO_MODE, 0);
  EXPECT_TRUE(frm.InfoMode());
  EXPECT_EQ(panelText(4), "Info On");
  EXPECT_TRUE(menuState(IDM_INFO_MODE) & MF_CHECKED);
  // A disabled item does nothing, whatever sends its command.
  frm.mnuInfoMode.SetEnabled(false);
  SendMessageA(window(), WM_COMMAND, IDM_INFO_MODE, 0);
  EXPECT_TRUE(frm.InfoMode());
}

TEST_F(MainWindowTest, ToolbarHasItsButtonsAndTips) {
  const int count = static_cast<int>(SendMessageA(bar(), TB_BUTTONCOUNT, 0, 0));
  int buttons = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    SendMessageA(bar(), TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
    if (b.fsStyle & BTNS_SEP) continue;
    ++buttons;
    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = bar();
    tip.hdr.idFrom = static_cast<UINT_PTR>(b.idCommand);
    tip.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_EQ(std::string(tip.lpszText), frm.tbrCommands.Buttons()[i].toolTip);
  }
  EXPECT_EQ(buttons, 18);
  EXPECT_EQ(frm.tbrCommands.ButtonOf("next").toolTip, "Change wallpaper using the next file");
  EXPECT_GT(frm.tbrCommands.Height(), 0);
  // The interval box sits on the bar inside the room kept for it.
  RECT box;
  GetWindowRect(renderer.WindowOf(frm.txtCustomChangeInterval), &box);
  RECT barRect;
  GetWindowRect(bar(), &barRect);
  EXPECT_GE(box.top, barRect.top);
  EXPECT_LE(box.bottom, barRect.bottom);
}

TEST_F(MainWindowTest, ToolbarClickRunsItsCommand) {
  const int details = frm.tbrCommands.IndexOf("details");
  SendMessageA(window(), WM_COMMAND, MAKEWPARAM(Win32FormRenderer::ToolbarCommand(details), BN_CLICKED),
               reinterpret_cast<LPARAM>(bar()));
  const HWND list = renderer.WindowOf(frm.lstvFiles[1]);
  EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(menuState(IDM_VIEW_STYLE + 3) & MF_CHECKED);
  const HWND header = ListView_GetHeader(list);
  EXPECT_EQ(Header_GetItemCount(header), 6);
  char text[64] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(header, HDM_GETITEMA, 5, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "date and time");
}

TEST_F(MainWindowTest, ListViewDrawsItsItemsFromTheModel) {
  ListView& list = frm.lstvFiles[1];
  list.BeginUpdate();
  for (int i = 0; i < 20000; ++i) {
    ListItem item;
    item.text = "picture" + std::to_string(i) + ".bmp";
    item.SetSubItem(1, "C:\\Pictures\\");
    list.AddItem(std::move(item));
  }
  list.EndUpdate();
  const HWND view = renderer.WindowOf(list);
  EXPECT_EQ(ListView_GetItemCount(view), 20000);
  char text[64] = {};
  ListView_GetItemText(view, 19999, 0, text, sizeof text);
  EXPECT_STREQ(text, "picture19999.bmp");
  ListView_GetItemText(view, 5, 1, text, sizeof text);
  EXPECT_STREQ(text, "C:\\Pictures\\");
  // What the user selects comes back to the model.
  ListView_SetItemState(view, 7, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(list.Items()[7].selected);
}

TEST_F(MainWindowTest, ProgramChangesRaiseNoEventsButTypingDoes) {
  int changes = 0;
  frm.txtCustomChangeInterval.Change = [&changes] { ++changes; };
  frm.txtCustomChangeInterval.SetText("15.0");
  char text[16] = {};
  GetWindowTextA(renderer.WindowOf(frm.txtCustomChangeInterval), text, sizeof text);
  EXPECT_STREQ(text, "15.0");
  EXPECT_EQ(changes, 0);
  SendMessageA(renderer.WindowOf(frm.txtCustomChangeInterval), WM_CHAR, '5', 0);
  EXPECT_EQ(changes, 1);
}

TEST_F(MainWindowTest, TimersTickThroughTheWindow) {
  int ticks = 0;
  frm.tmrTapestrel[0].Elapsed = [&ticks] { ++ticks; };
  frm.tmrTapestrel[0].SetInterval(10);
  frm.tmrTapestrel[0].SetEnabled(true);
  pumpUntil([&] { return ticks >= 2; });
  EXPECT_GE(ticks, 2);
  frm.tmrTapestrel[0].SetEnabled(false);
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

// A failure no handler caught is trapped in the window procedure: the user is told where,
// and the window goes on taking its messages.
TEST_F(MainWindowTest, AFailureInAHandlerIsToldAndTheWindowGoesOn) {
  std::vector<std::string> trapped;
  renderer.ErrorTrap = [&](const RuntimeError& e, const std::string& where) {
    trapped.push_back(e.description + " (" + std::to_string(e.number) + ") in " + where);
  };
  int ticks = 0;
  frm.tmrTapestrel[0].Elapsed = [&ticks] {
    if (++ticks == 1) throw std::bad_alloc();
    if (ticks == 2) throw RuntimeError{5, "Invalid procedure call or argument"};
  };
  frm.tmrTapestrel[0].SetInterval(10);
  frm.tmrTapestrel[0].SetEnabled(true);
  pumpUntil([&] { return ticks >= 3; });
  frm.tmrTapestrel[0].SetEnabled(false);
  EXPECT_GE(ticks, 3);
  ASSERT_EQ(trapped.size(), 2u);
  EXPECT_EQ(trapped[0], "Out of memory (7) in frmMain");
  EXPECT_EQ(trapped[1], "Invalid procedure call or argument (5) in frmMain");
}

TEST_F(MainWindowTest, ExitButtonUnloadsTheWindowSafely) {
  const int exit = frm.tbrCommands.IndexOf("exit");
  SendMessageA(window(), WM_COMMAND, MAKEWPARAM(Win32FormRenderer::ToolbarCommand(exit), BN_CLICKED),
               reinterpret_cast<LPARAM>(bar()));
  EXPECT_FALSE(frm.Loaded());
  EXPECT_EQ(memory.settings.Writes().back().key, "mciEvents2");
}

}  // namespace
}  // namespace tapestrel
