// The renderer in-process: forms become real (hidden) windows, and what the user does
// to a window comes back as the form's events.
#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"

namespace tapestrel {
namespace {

class FormWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program.frmMain.SetRenderer(&renderer);
    program.frmMain.Load();  // loaded but never shown: hidden windows keep the tests fast
  }
  void TearDown() override {
    if (program.frmMain.Loaded()) program.frmMain.Unload();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND window() { return renderer.WindowOf(program.frmMain); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
};

TEST_F(FormWindowTest, CaptionAndPlacementReachTheRealWindow) {
  ASSERT_NE(window(), nullptr);
  program.frmMain.SetCaption("Tapestrel");
  char caption[64] = {};
  GetWindowTextA(window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Tapestrel");

  const int tpp = Win32FormRenderer::TwipsPerPixel();
  program.frmMain.Move(100 * tpp, 50 * tpp, 400 * tpp, 300 * tpp);
  RECT r;
  GetWindowRect(window(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_FALSE(IsWindowVisible(window()));
}

TEST_F(FormWindowTest, UserMovingTheWindowUpdatesTheForm) {
  const int tpp = Win32FormRenderer::TwipsPerPixel();
  SetWindowPos(window(), nullptr, 30, 40, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(program.frmMain.Left(), 30 * tpp);
  EXPECT_EQ(program.frmMain.Top(), 40 * tpp);
  EXPECT_EQ(program.frmMain.Width(), 500 * tpp);
  EXPECT_EQ(program.frmMain.Height(), 350 * tpp);
}

TEST_F(FormWindowTest, CloseBoxUnloadsTheFormAndEndsTheLoop) {
  renderer.SetMainForm(&program.frmMain);
  const HWND w = window();
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(program.frmMain.Loaded());
  EXPECT_FALSE(IsWindow(w));
  // The unload kept the media events, and the main form's end posted the quit.
  EXPECT_EQ(memory.settings.Writes().back().key, "mciEvents2");
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST(FormWindowPlacement, UnplacedWindowOpensCentredOnTheWorkArea) {
  MemoryPlatform memory;
  Program program{memory.platform()};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  program.frmMain.SetRenderer(&renderer);
  program.frmMain.Load();
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT r;
  GetWindowRect(renderer.WindowOf(program.frmMain), &r);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - (work.left + work.right) / 2), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - (work.top + work.bottom) / 2), 1);
  // The model knows where the window went, so a save records it.
  EXPECT_EQ(program.frmMain.Left(), r.left * Win32FormRenderer::TwipsPerPixel());
  program.frmMain.Unload();
}

}  // namespace
}  // namespace tapestrel
