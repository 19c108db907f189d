// Mirrors forms of the control model into real top-level windows and turns what the
// user does to them (move, size, minimize, close) into the form's events.
#pragma once

#include <windows.h>

#include <map>

#include "platform/controls/form.h"

namespace tapestrel {

class Win32FormRenderer : public FormRenderer {
 public:
  explicit Win32FormRenderer(HINSTANCE instance);
  ~Win32FormRenderer() override;

  // Unloading this form ends the message loop.
  void SetMainForm(Form* form) { mainForm_ = form; }
  HWND WindowOf(const Form& form) const;

  void FormLoaded(Form& form) override;
  void FormChanged(Form& form, FormProperty property) override;
  void FormUnloaded(Form& form) override;

  // Twips per screen pixel (15 at 96 dots per inch).
  static int TwipsPerPixel();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(Form& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReportPlacement(Form& form, HWND window);

  HINSTANCE instance_;
  Form* mainForm_ = nullptr;
  std::map<const Form*, HWND> windows_;
  // Set while the renderer itself moves or shows a window, so that the echo of its own
  // change is not taken for the user's.
  bool pushing_ = false;
};

}  // namespace tapestrel
