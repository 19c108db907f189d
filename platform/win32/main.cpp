// The Windows entry point: builds the real system services and the renderer, hands
// them to the program and runs the message loop until the main window is unloaded.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  tapestrel::Win32Platform services;
  tapestrel::Program program(services.platform());
  tapestrel::Win32FormRenderer renderer(instance);
  renderer.SetMainForm(&program.frmMain);
  program.frmMain.SetRenderer(&renderer);
  program.frmAbout.SetRenderer(&renderer);
  program.frmDecodingInProgress.SetRenderer(&renderer);
  program.frmYesNoAllCancel.SetRenderer(&renderer);
  program.frmFullScreen.SetRenderer(&renderer);
  program.frmTrayIcon.SetRenderer(&renderer);
  program.frmEvents.SetRenderer(&renderer);
  program.frmFloatingTimeChanger.SetRenderer(&renderer);
  program.frmOptions.SetRenderer(&renderer);
  services.SetWorkMessageFilter([&renderer](void* message) {
    return renderer.PreTranslateDuringWork(*static_cast<MSG*>(message));
  });
  renderer.ErrorTrap = [&program](const tapestrel::RuntimeError& error, const std::string& where) {
    program.ReportUnexpectedError(error, where);
  };
  const bool minimized = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_SHOWMINNOACTIVE;
  if (!program.Start(minimized)) return 0;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (renderer.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
