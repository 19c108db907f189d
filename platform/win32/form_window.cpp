#include "platform/win32/form_window.h"

#include <algorithm>

namespace tapestrel {

namespace {

constexpr const char* kFormClass = "TapestrelForm";

struct PushGuard {
  explicit PushGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~PushGuard() { flag_ = old_; }
  bool& flag_;
  bool old_;
};

}  // namespace

Win32FormRenderer::Win32FormRenderer(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32FormRenderer::WindowProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(instance_, MAKEINTRESOURCE(1));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassExA(&wc);
}

Win32FormRenderer::~Win32FormRenderer() {
  for (auto& [form, window] : windows_) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

int Win32FormRenderer::TwipsPerPixel() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440 / dpi : 15;
}

HWND Win32FormRenderer::WindowOf(const Form& form) const {
  const auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second;
}

void Win32FormRenderer::FormLoaded(Form& form) {
  const int tpp = TwipsPerPixel();
  PushGuard guard(pushing_);
  const HWND window = CreateWindowExA(0, kFormClass, form.Caption().c_str(), WS_OVERLAPPEDWINDOW,
                                      form.Left() / tpp, form.Top() / tpp, form.Width() / tpp, form.Height() / tpp,
                                      nullptr, nullptr, instance_, nullptr);
  if (!window) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  windows_[&form] = window;
  SetPropA(window, "TapestrelForm", &form);
  if (form.StartPosition() == StartUpPosition::CenterScreen) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int w = form.Width() / tpp;
    const int h = form.Height() / tpp;
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - w) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - h) / 2);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form.UserMoved(x * tpp, y * tpp, form.Width(), form.Height());
  }
}

void Win32FormRenderer::FormChanged(Form& form, FormProperty property) {
  const HWND window = WindowOf(form);
  if (!window) return;
  PushGuard guard(pushing_);
  const int tpp = TwipsPerPixel();
  switch (property) {
    case FormProperty::Caption:
      SetWindowTextA(window, form.Caption().c_str());
      break;
    case FormProperty::Bounds:
      MoveWindow(window, form.Left() / tpp, form.Top() / tpp, form.Width() / tpp, form.Height() / tpp, TRUE);
      break;
    case FormProperty::Visible:
    case FormProperty::WindowState: {
      static constexpr int shows[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
      ShowWindow(window, form.Visible() ? shows[static_cast<int>(form.State())] : SW_HIDE);
      break;
    }
  }
}

void Win32FormRenderer::FormUnloaded(Form& form) {
  const HWND window = WindowOf(form);
  windows_.erase(&form);
  if (window) {
    RemovePropA(window, "TapestrelForm");
    DestroyWindow(window);
  }
  if (&form == mainForm_) PostQuitMessage(0);
}

void Win32FormRenderer::ReportPlacement(Form& form, HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  static constexpr WindowState states[] = {WindowState::Normal, WindowState::Minimized, WindowState::Maximized};
  const UINT show = placement.showCmd;
  form.UserChangedState(show == SW_SHOWMINIMIZED ? states[1] : show == SW_SHOWMAXIMIZED ? states[2] : states[0]);
  if (show == SW_SHOWMINIMIZED) return;
  RECT r;
  GetWindowRect(window, &r);
  const int tpp = TwipsPerPixel();
  form.UserMoved(r.left * tpp, r.top * tpp, (r.right - r.left) * tpp, (r.bottom - r.top) * tpp);
}

LRESULT Win32FormRenderer::Handle(Form& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      form.UserClose();
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      if (!pushing_) ReportPlacement(form, window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormRenderer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* renderer = reinterpret_cast<Win32FormRenderer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  auto* form = static_cast<Form*>(GetPropA(window, "TapestrelForm"));
  if (!renderer || !form) return DefWindowProcA(window, message, wParam, lParam);
  return renderer->Handle(*form, window, message, wParam, lParam);
}

}  // namespace tapestrel
