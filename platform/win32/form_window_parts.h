// What the renderer's parts share: the records kept for each real window and control,
// and small helpers over them. Only the renderer's own sources include this.
#pragma once

#include "platform/win32/form_window.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/controls.h"
#include "platform/controls/menu.h"

namespace tapestrel {

namespace win32_detail {

inline constexpr const char* kFormClass = "TapestrelForm";
inline constexpr const char* kPictureClass = "TapestrelPicture";
inline constexpr const char* kControlProp = "TapestrelControl";

struct PushGuard {
  explicit PushGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~PushGuard() { flag_ = old_; }
  bool& flag_;
  bool old_;
};

inline int px(long twips) {
  const int tpp = Win32FormRenderer::TwipsPerPixel();
  return static_cast<int>((twips + (twips >= 0 ? tpp / 2 : -tpp / 2)) / tpp);
}
inline long tw(int pixels) { return static_cast<long>(pixels) * Win32FormRenderer::TwipsPerPixel(); }

// Text with its line breaks as CR LF, the way an edit control shows several lines.
inline std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
    out += c;
  }
  return out;
}

inline std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

inline int shiftState() {
  int state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= shift::Shift;
  if (GetKeyState(VK_CONTROL) < 0) state |= shift::Ctrl;
  if (GetKeyState(VK_MENU) < 0) state |= shift::Alt;
  return state;
}

inline int mouseButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

inline int mouseShift(WPARAM keys) {
  return ((keys & MK_SHIFT) ? shift::Shift : 0) | ((keys & MK_CONTROL) ? shift::Ctrl : 0);
}

inline std::string menuText(const Menu& menu) {
  std::string text = menu.Caption();
  const std::string keys = ShortcutText(menu.GetShortcut());
  if (!keys.empty()) text += "\t" + keys;
  return text;
}

// The root of a menu item: a menu of the bar, or a hidden pop-up.
inline const Menu& rootOf(const Menu& menu) {
  const Menu* m = &menu;
  while (m->ParentMenu()) m = m->ParentMenu();
  return *m;
}

// Whether a system image list holding images of these sources, in order, needs only the
// model's later images added to be the model's again.
inline bool GrowsInto(const std::vector<std::string>& held, const std::vector<ImageList::Image>& wanted) {
  return held.size() <= wanted.size() &&
         std::equal(held.begin(), held.end(), wanted.begin(),
                    [](const std::string& have, const ImageList::Image& want) { return have == want.source; });
}

}  // namespace win32_detail

struct Win32FormRenderer::FormWindow {
  Form* form = nullptr;
  HWND hwnd = nullptr;
  HMENU menuBar = nullptr;
  HACCEL accelerators = nullptr;
  HWND toolTips = nullptr;
  std::map<int, Control*> byId;
  std::map<UINT_PTR, Timer*> timers;
  std::map<HMENU, Menu*> subMenus;
  int nextId = kFirstControlId;
  bool created = false;  // the controls the form had when it loaded all have windows
  std::vector<SystemMenuItem> systemItems;  // the program's items as the system menu holds them
};

struct Win32FormRenderer::ControlWindow {
  ControlWindow() = default;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() {
    if (font) DeleteObject(font);
    if (pageBrush) DeleteObject(pageBrush);
  }
  Control* control = nullptr;
  FormWindow* owner = nullptr;
  HWND hwnd = nullptr;
  WNDPROC oldProc = nullptr;
  HFONT font = nullptr;
  int id = 0;
  UINT_PTR timerId = 0;
  std::string dispText;  // keeps text handed to a list view alive until it asks again
  // Status bars: panels whose new text is still to be shown, and when texts were last shown.
  unsigned pendingPanels = 0;
  DWORD lastStatusPush = 0;
  bool statusFlushScheduled = false;
  // Tab strips: the colour of the page below the tabs, and a brush of it.
  HBRUSH pageBrush = nullptr;
  COLORREF pageColor = 0;
  // The edit field inside a combo box with one: its keys and mouse are the combo's.
  std::unique_ptr<ControlWindow> inner;
};

namespace win32_detail {
inline constexpr UINT_PTR kStatusFlushTimer = 1;
inline constexpr UINT kStatusTextPause = 40;  // milliseconds
}  // namespace win32_detail

}  // namespace tapestrel
