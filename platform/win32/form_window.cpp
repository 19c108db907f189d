#include "platform/win32/form_window_parts.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/controls/bars.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/win32/glyphs.h"

namespace tapestrel {

using namespace win32_detail;

// The renderer itself and its forms: real top-level windows for the model's forms.

Win32FormRenderer::Win32FormRenderer(HINSTANCE instance) : instance_(instance) {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                            ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32FormRenderer::FormProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(instance_, MAKEINTRESOURCE(1));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = kFormClass;
  RegisterClassExA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hIcon = nullptr;
  wc.hCursor = nullptr;  // each picture box says which pointer it shows
  wc.lpszClassName = kPictureClass;
  RegisterClassExA(&wc);
  // The dialog font at the screen's own size: the stock GUI font keeps the size of 96 DPI
  // on some systems, and text measured in it is cut at 120 and 144 DPI.
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  defaultFont_ = CreateFontA(-MulDiv(8, dpi > 0 ? dpi : 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "MS Shell Dlg");
  ownsDefaultFont_ = defaultFont_ != nullptr;
  if (!defaultFont_) defaultFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32FormRenderer::~Win32FormRenderer() {
  for (auto& [form, fw] : forms_) {
    SetWindowLongPtrA(fw->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(fw->hwnd);
    if (fw->accelerators) DestroyAcceleratorTable(fw->accelerators);
  }
  for (auto& [list, images] : imageLists_) ImageList_Destroy(images.handle);
  for (auto& [list, images] : thumbnailLists_) ImageList_Destroy(images.handle);
  if (ownsDefaultFont_) DeleteObject(defaultFont_);
}

int Win32FormRenderer::TwipsPerPixel() {
  static const int tpp = [] {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
  }();
  return tpp;
}

Win32FormRenderer::FormWindow* Win32FormRenderer::FormOf(const Form& form) const {
  const auto it = forms_.find(&form);
  return it == forms_.end() ? nullptr : it->second.get();
}

Win32FormRenderer::ControlWindow* Win32FormRenderer::ControlOf(const Control& control) const {
  const auto it = controls_.find(&control);
  return it == controls_.end() ? nullptr : it->second.get();
}

HWND Win32FormRenderer::WindowOf(const Form& form) const {
  const FormWindow* fw = FormOf(form);
  return fw ? fw->hwnd : nullptr;
}

HWND Win32FormRenderer::WindowOf(const Control& control) const {
  const ControlWindow* cw = ControlOf(control);
  return cw ? cw->hwnd : nullptr;
}

HMENU Win32FormRenderer::MenuBarOf(const Form& form) const {
  const FormWindow* fw = FormOf(form);
  return fw ? fw->menuBar : nullptr;
}

bool Win32FormRenderer::PreTranslateDuringWork(MSG& msg) {
  return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && PressCancelButton(msg.hwnd);
}

bool Win32FormRenderer::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && PressCancelButton(msg.hwnd)) return true;
  for (auto& [form, fw] : forms_) {
    if (!form->DialogKeys || !form->Visible() || (msg.hwnd != fw->hwnd && !IsChild(fw->hwnd, msg.hwnd))) continue;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && StepTab(*fw->form)) return true;
    if (IsDialogMessageA(fw->hwnd, &msg)) return true;
  }
  for (auto& [form, fw] : forms_) {
    if (!fw->form->Visible() || (msg.hwnd != fw->hwnd && !IsChild(fw->hwnd, msg.hwnd))) continue;
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (keyDown && form->BeforeShortcuts && form->BeforeShortcuts(static_cast<int>(msg.wParam), shiftState()))
      return true;
    if (fw->accelerators) return TranslateAcceleratorA(fw->hwnd, fw->accelerators, &msg) != 0;
  }
  return false;
}

// Forms ----------------------------------------------------------------------------------

void Win32FormRenderer::FormLoaded(Form& form) {
  PushGuard guard(pushing_);
  auto owned = std::make_unique<FormWindow>();
  FormWindow& fw = *owned;
  fw.form = &form;
  const DWORD style = form.Borderless ? WS_POPUP
                      : form.Sizable  ? WS_OVERLAPPEDWINDOW
                                      : (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME);
  const DWORD exStyle = (form.TopMost ? WS_EX_TOPMOST : 0) | (form.Sizable || form.Borderless ? 0 : WS_EX_DLGMODALFRAME);
  fw.hwnd = CreateWindowExA(exStyle, kFormClass, form.Caption().c_str(), style, px(form.Left()),
                            px(form.Top()), px(form.Width()), px(form.Height()), nullptr, nullptr, instance_, nullptr);
  if (!fw.hwnd) return;
  SetWindowLongPtrA(fw.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetPropA(fw.hwnd, kFormClass, &fw);
  form.native = fw.hwnd;
  forms_[&form] = std::move(owned);

  fw.toolTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fw.hwnd, nullptr, instance_, nullptr);
  BuildMenuBar(fw);
  BuildAccelerators(fw);
  if (!form.SystemMenuItems.empty()) BuildSystemMenu(fw);
  for (Control* control : form.Controls()) CreateControl(fw, *control);
  StackContainersBelow(form);
  fw.created = true;

  if (form.StartPosition() == StartUpPosition::CenterScreen) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int w = px(form.Width());
    const int h = px(form.Height());
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - w) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - h) / 2);
    SetWindowPos(fw.hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ReportBars(fw);
  ReportPlacement(fw);
}

void Win32FormRenderer::StackContainersBelow(const Form& form) {
  // The controls stay stacked, and reached by Tab, in the order the form declares them;
  // what holds others (a tab strip, a frame, a toolbar) goes under them, the outermost
  // lowest.
  std::vector<std::pair<int, const Control*>> holders;
  for (const Control* control : form.Controls()) {
    const bool holds = std::any_of(form.Controls().begin(), form.Controls().end(),
                                   [control](const Control* c) { return c->Container() == control; });
    if (!holds) continue;
    int depth = 0;
    for (const Control* c = control->Container(); c; c = c->Container()) ++depth;
    holders.emplace_back(depth, control);
  }
  std::stable_sort(holders.begin(), holders.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [depth, control] : holders)
    if (const HWND window = WindowOf(*control))
      SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FormRenderer::FormChanged(Form& form, FormProperty property) {
  FormWindow* fw = FormOf(form);
  if (!fw) return;
  PushGuard guard(pushing_);
  switch (property) {
    case FormProperty::Caption:
      SetWindowTextA(fw->hwnd, form.Caption().c_str());
      break;
    case FormProperty::Bounds:
      MoveWindow(fw->hwnd, px(form.Left()), px(form.Top()), px(form.Width()), px(form.Height()), TRUE);
      ReportBars(*fw);
      ReportPlacement(*fw);
      break;
    case FormProperty::Visible:
    case FormProperty::WindowState: {
      static constexpr int shows[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
      ShowWindow(fw->hwnd, form.Visible() ? shows[static_cast<int>(form.State())] : SW_HIDE);
      if (form.Visible()) {
        ReportBars(*fw);
        ReportPlacement(*fw);
      }
      break;
    }
    case FormProperty::MenuBar:
      BuildMenuBar(*fw);
      BuildAccelerators(*fw);
      break;
    case FormProperty::Icon:
      break;
    case FormProperty::Picture:
      InvalidateRect(fw->hwnd, nullptr, TRUE);
      break;
    case FormProperty::SystemMenu:
      BuildSystemMenu(*fw);
      break;
    case FormProperty::TopMost:
      SetWindowPos(fw->hwnd, form.TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
  }
}

void Win32FormRenderer::FormUnloaded(Form& form) {
  const auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  std::unique_ptr<FormWindow> fw = std::move(it->second);
  forms_.erase(it);
  RemovePropA(fw->hwnd, kFormClass);
  form.native = nullptr;
  SetWindowLongPtrA(fw->hwnd, GWLP_USERDATA, 0);
  for (const auto& [timerId, timer] : fw->timers) KillTimer(fw->hwnd, timerId);
  DestroyWindow(fw->hwnd);  // takes the menu bar and the child windows with it
  if (fw->accelerators) DestroyAcceleratorTable(fw->accelerators);
  for (Control* control : form.Controls()) {
    const auto c = controls_.find(control);
    if (c == controls_.end()) continue;
    control->native = nullptr;
    controls_.erase(c);
  }
  if (&form == mainForm_) PostQuitMessage(0);
}

void Win32FormRenderer::ReportPlacement(FormWindow& fw) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(fw.hwnd, &placement);
  const UINT show = placement.showCmd;
  const bool minimized = show == SW_SHOWMINIMIZED || IsIconic(fw.hwnd);
  if (fw.form->Visible())
    fw.form->UserChangedState(minimized ? WindowState::Minimized
                                        : show == SW_SHOWMAXIMIZED ? WindowState::Maximized : WindowState::Normal);
  if (minimized) return;
  RECT outer;
  RECT inner;
  GetWindowRect(fw.hwnd, &outer);
  GetClientRect(fw.hwnd, &inner);
  fw.form->UserFrame(tw((outer.right - outer.left) - inner.right), tw((outer.bottom - outer.top) - inner.bottom));
  fw.form->UserMoved(tw(outer.left), tw(outer.top), tw(outer.right - outer.left), tw(outer.bottom - outer.top));
}

// The bars decide their own heights; the model learns them before it lays out.
void Win32FormRenderer::ReportBars(FormWindow& fw) {
  for (Control* control : fw.form->Controls()) {
    ControlWindow* cw = ControlOf(*control);
    if (!cw || !cw->hwnd) continue;
    if (control->Kind() == ControlKind::Toolbar) {
      SendMessageA(cw->hwnd, TB_AUTOSIZE, 0, 0);
      RECT r;
      GetWindowRect(cw->hwnd, &r);
      auto& bar = static_cast<Toolbar&>(*control);
      bar.UserSized(bar.Width(), tw(r.bottom - r.top));
      const int count = static_cast<int>(SendMessageA(cw->hwnd, TB_BUTTONCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        RECT item;
        SendMessageA(cw->hwnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        bar.UserPlacedButton(i, tw(item.left), tw(item.right - item.left));
      }
    } else if (control->Kind() == ControlKind::StatusBar) {
      SendMessageA(cw->hwnd, WM_SIZE, 0, 0);
      RECT r;
      GetWindowRect(cw->hwnd, &r);
      control->UserSized(control->Width(), tw(r.bottom - r.top));
      PushStatusParts(*cw);
    }
  }
}

void Win32FormRenderer::RunModal(Form& form) {
  // The other windows take no input while the dialog is up, as with a dialog box.
  std::vector<HWND> disabled;
  for (auto& [other, fw] : forms_)
    if (other != &form && IsWindowEnabled(fw->hwnd) && IsWindowVisible(fw->hwnd)) {
      EnableWindow(fw->hwnd, FALSE);
      disabled.push_back(fw->hwnd);
    }
  form.Show();
  if (HWND window = WindowOf(form)) SetForegroundWindow(window);
  // The control the program gave the focus to before the dialog showed keeps it.
  if (Control* focus = form.ActiveControl())
    if (HWND control = WindowOf(*focus)) SetFocus(control);
  MSG msg;
  while (form.Loaded() && form.Visible()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      break;
    }
    if (got < 0) break;
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  for (HWND window : disabled) EnableWindow(window, TRUE);
  if (!disabled.empty()) SetForegroundWindow(disabled.front());
}

}  // namespace tapestrel
