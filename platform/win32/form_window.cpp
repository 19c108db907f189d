#include "platform/win32/form_window.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/controls/bars.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/win32/glyphs.h"

namespace tapestrel {

namespace {

constexpr const char* kFormClass = "TapestrelForm";
constexpr const char* kPictureClass = "TapestrelPicture";
constexpr const char* kControlProp = "TapestrelControl";

struct PushGuard {
  explicit PushGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~PushGuard() { flag_ = old_; }
  bool& flag_;
  bool old_;
};

int px(long twips) {
  const int tpp = Win32FormRenderer::TwipsPerPixel();
  return static_cast<int>((twips + (twips >= 0 ? tpp / 2 : -tpp / 2)) / tpp);
}
long tw(int pixels) { return static_cast<long>(pixels) * Win32FormRenderer::TwipsPerPixel(); }

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

int shiftState() {
  int state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= shift::Shift;
  if (GetKeyState(VK_CONTROL) < 0) state |= shift::Ctrl;
  if (GetKeyState(VK_MENU) < 0) state |= shift::Alt;
  return state;
}

int mouseButtons(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

int mouseShift(WPARAM keys) {
  return ((keys & MK_SHIFT) ? shift::Shift : 0) | ((keys & MK_CONTROL) ? shift::Ctrl : 0);
}

std::string menuText(const Menu& menu) {
  std::string text = menu.Caption();
  const std::string keys = ShortcutText(menu.GetShortcut());
  if (!keys.empty()) text += "\t" + keys;
  return text;
}

// The root of a menu item: a menu of the bar, or a hidden pop-up.
const Menu& rootOf(const Menu& menu) {
  const Menu* m = &menu;
  while (m->ParentMenu()) m = m->ParentMenu();
  return *m;
}

}  // namespace

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
};

struct Win32FormRenderer::ControlWindow {
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
  // The edit field inside a combo box with one: its keys and mouse are the combo's.
  std::unique_ptr<ControlWindow> inner;
};

namespace {
constexpr UINT_PTR kStatusFlushTimer = 1;
constexpr UINT kStatusTextPause = 40;  // milliseconds
}  // namespace

void Win32FormRenderer::FlushStatusTexts(ControlWindow& cw) {
  const auto& bar = static_cast<const StatusBar&>(*cw.control);
  for (std::size_t i = 0; i < bar.Panels().size() && i < 32; ++i)
    if (cw.pendingPanels & (1u << i))
      SendMessageA(cw.hwnd, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(bar.Panels()[i].text.c_str()));
  cw.pendingPanels = 0;
  cw.lastStatusPush = GetTickCount();
}

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
  wc.lpszClassName = kFormClass;
  RegisterClassExA(&wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hIcon = nullptr;
  wc.hCursor = nullptr;  // each picture box says which pointer it shows
  wc.lpszClassName = kPictureClass;
  RegisterClassExA(&wc);
  defaultFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

Win32FormRenderer::~Win32FormRenderer() {
  for (auto& [form, fw] : forms_) {
    SetWindowLongPtrA(fw->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(fw->hwnd);
    if (fw->accelerators) DestroyAcceleratorTable(fw->accelerators);
  }
  for (auto& [control, cw] : controls_)
    if (cw->font) DeleteObject(cw->font);
  for (auto& [list, images] : imageLists_) ImageList_Destroy(images.handle);
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

bool Win32FormRenderer::PreTranslate(MSG& msg) {
  for (auto& [form, fw] : forms_) {
    if (!fw->accelerators || !fw->form->Visible()) continue;
    if (msg.hwnd == fw->hwnd || IsChild(fw->hwnd, msg.hwnd))
      return TranslateAcceleratorA(fw->hwnd, fw->accelerators, &msg) != 0;
  }
  return false;
}

// Forms ----------------------------------------------------------------------------------

void Win32FormRenderer::FormLoaded(Form& form) {
  PushGuard guard(pushing_);
  auto owned = std::make_unique<FormWindow>();
  FormWindow& fw = *owned;
  fw.form = &form;
  const DWORD style = form.Sizable ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME);
  const DWORD exStyle = (form.TopMost ? WS_EX_TOPMOST : 0) | (form.Sizable ? 0 : WS_EX_DLGMODALFRAME);
  fw.hwnd = CreateWindowExA(exStyle, kFormClass, form.Caption().c_str(), style, px(form.Left()),
                            px(form.Top()), px(form.Width()), px(form.Height()), nullptr, nullptr, instance_, nullptr);
  if (!fw.hwnd) return;
  SetWindowLongPtrA(fw.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetPropA(fw.hwnd, kFormClass, &fw);
  forms_[&form] = std::move(owned);

  fw.toolTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fw.hwnd, nullptr, instance_, nullptr);
  BuildMenuBar(fw);
  BuildAccelerators(fw);
  for (Control* control : form.Controls()) CreateControl(fw, *control);

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
  }
}

void Win32FormRenderer::FormUnloaded(Form& form) {
  const auto it = forms_.find(&form);
  if (it == forms_.end()) return;
  std::unique_ptr<FormWindow> fw = std::move(it->second);
  forms_.erase(it);
  RemovePropA(fw->hwnd, kFormClass);
  SetWindowLongPtrA(fw->hwnd, GWLP_USERDATA, 0);
  for (const auto& [timerId, timer] : fw->timers) KillTimer(fw->hwnd, timerId);
  DestroyWindow(fw->hwnd);  // takes the menu bar and the child windows with it
  if (fw->accelerators) DestroyAcceleratorTable(fw->accelerators);
  for (Control* control : form.Controls()) {
    const auto c = controls_.find(control);
    if (c == controls_.end()) continue;
    if (c->second->font) DeleteObject(c->second->font);
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

// Menus ----------------------------------------------------------------------------------

HMENU Win32FormRenderer::BuildMenu(FormWindow& fw, const Menu& parent, bool popup) {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  if (parent.ParentMenu() || !popup) fw.subMenus[menu] = const_cast<Menu*>(&parent);
  for (Menu* item : parent.Items()) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
    if (!item->Items().empty()) {
      HMENU sub = BuildMenu(fw, *item, true);
      item->native = sub;
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), menuText(*item).c_str());
    } else {
      AppendMenuA(menu, flags, static_cast<UINT_PTR>(item->CommandId()), menuText(*item).c_str());
      if (item->RadioMark()) ShowAsRadio(menu, static_cast<UINT>(item->CommandId()));
    }
  }
  return menu;
}

void Win32FormRenderer::ShowAsRadio(HMENU menu, UINT command) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoA(menu, command, FALSE, &info)) return;
  info.fType |= MFT_RADIOCHECK;
  SetMenuItemInfoA(menu, command, FALSE, &info);
}

void Win32FormRenderer::BuildMenuBar(FormWindow& fw) {
  const MenuSet& menus = fw.form->Menus();
  if (menus.TopLevel().empty()) return;
  HMENU old = fw.menuBar;
  fw.subMenus.clear();
  HMENU bar = CreateMenu();
  for (Menu* top : menus.TopLevel()) {
    if (!top->Visible()) continue;
    const UINT flags = MF_STRING | (top->Enabled() ? 0 : MF_GRAYED);
    HMENU sub = BuildMenu(fw, *top, true);
    top->native = sub;
    fw.subMenus[sub] = top;  // highlighted in the bar, it shows its own help line
    AppendMenuA(bar, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), top->Caption().c_str());
  }
  fw.menuBar = bar;
  SetMenu(fw.hwnd, bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(fw.hwnd);
}

void Win32FormRenderer::BuildAccelerators(FormWindow& fw) {
  std::vector<ACCEL> table;
  for (const Menu* menu : fw.form->Menus().All()) {
    const Shortcut& s = menu->GetShortcut();
    if (s.empty() || menu->CommandId() == 0) continue;
    BYTE virt = FVIRTKEY;
    if (s.modifiers & shift::Ctrl) virt |= FCONTROL;
    if (s.modifiers & shift::Shift) virt |= FSHIFT;
    if (s.modifiers & shift::Alt) virt |= FALT;
    table.push_back({virt, static_cast<WORD>(s.key), static_cast<WORD>(menu->CommandId())});
  }
  if (fw.accelerators) DestroyAcceleratorTable(fw.accelerators);
  fw.accelerators = table.empty() ? nullptr : CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void Win32FormRenderer::MenuChanged(Menu& menu, MenuProperty property) {
  FormWindow* fw = FormOf(menu.Owner());
  if (!fw || !fw->menuBar) return;
  if (!rootOf(menu).Visible()) return;  // pop-ups are built when they open
  const bool byCommand = menu.CommandId() != 0 && menu.Items().empty();
  if (byCommand && property == MenuProperty::Checked) {
    CheckMenuItem(fw->menuBar, static_cast<UINT>(menu.CommandId()),
                  MF_BYCOMMAND | (menu.Checked() ? MF_CHECKED : MF_UNCHECKED));
  } else if (byCommand && property == MenuProperty::Enabled) {
    EnableMenuItem(fw->menuBar, static_cast<UINT>(menu.CommandId()),
                   MF_BYCOMMAND | (menu.Enabled() ? MF_ENABLED : MF_GRAYED));
  } else if (byCommand && property == MenuProperty::Caption) {
    ModifyMenuA(fw->menuBar, static_cast<UINT>(menu.CommandId()), MF_BYCOMMAND | MF_STRING |
                (menu.Checked() ? MF_CHECKED : 0) | (menu.Enabled() ? 0 : MF_GRAYED),
                static_cast<UINT_PTR>(menu.CommandId()), menuText(menu).c_str());
    if (menu.RadioMark()) ShowAsRadio(fw->menuBar, static_cast<UINT>(menu.CommandId()));
  } else {
    BuildMenuBar(*fw);
    BuildAccelerators(*fw);
  }
}

void Win32FormRenderer::PopupMenu(Form& form, Menu& menu, Menu* defaultItem, bool atMouse, long x, long y) {
  FormWindow* fw = FormOf(form);
  if (!fw) return;
  HMENU popup = BuildMenu(*fw, menu, true);
  if (defaultItem && defaultItem->CommandId()) SetMenuDefaultItem(popup, static_cast<UINT>(defaultItem->CommandId()), FALSE);
  POINT at{px(x), px(y)};
  if (atMouse) GetCursorPos(&at);
  else ClientToScreen(fw->hwnd, &at);
  SetForegroundWindow(fw->hwnd);
  const int chosen = TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, fw->hwnd, nullptr);
  DestroyMenu(popup);
  PostMessageA(fw->hwnd, WM_NULL, 0, 0);
  if (chosen)
    if (Menu* item = form.Menus().FindByCommand(chosen)) Raise(item->Click);
}

void Win32FormRenderer::HandleMenuSelect(FormWindow& fw, WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  const HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (!fw.form->MenuSelect) return;
  if (flags == 0xFFFF && !menu) {
    fw.form->MenuSelect(nullptr, -1);
  } else if (flags & MF_SYSMENU) {
    fw.form->MenuSelect(nullptr, (flags & MF_POPUP) ? 0 : static_cast<int>(LOWORD(wParam)));
  } else if (flags & MF_POPUP) {
    const auto it = fw.subMenus.find(GetSubMenu(menu, LOWORD(wParam)));
    fw.form->MenuSelect(it == fw.subMenus.end() ? nullptr : it->second, -1);
  } else {
    fw.form->MenuSelect(fw.form->Menus().FindByCommand(LOWORD(wParam)), -1);
  }
}

// Controls -------------------------------------------------------------------------------

void Win32FormRenderer::CreateControl(FormWindow& fw, Control& control) {
  auto owned = std::make_unique<ControlWindow>();
  ControlWindow& cw = *owned;
  cw.control = &control;
  cw.owner = &fw;
  cw.id = fw.nextId++;
  control.native = &cw;
  controls_[&control] = std::move(owned);
  fw.byId[cw.id] = &control;

  const char* cls = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (control.Kind()) {
    case ControlKind::Timer:
      cw.timerId = kFirstTimerId + static_cast<UINT_PTR>(cw.id);
      fw.timers[cw.timerId] = static_cast<Timer*>(&control);
      PushTimer(cw);
      return;
    case ControlKind::ImageList:
      return;
    case ControlKind::TextBox:
      cls = "EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ComboBox:
      cls = "COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
               (static_cast<ComboBox&>(control).GetStyle() == ComboBox::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
      break;
    case ControlKind::DriveListBox:
      cls = "COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
    case ControlKind::ListBox:
    case ControlKind::DirListBox:
      cls = "LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CommandButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::OptionButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
      break;
    case ControlKind::Frame:
      cls = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::Label:
      cls = "STATIC";
      style |= SS_LEFT | SS_NOTIFY;
      break;
    case ControlKind::PictureBox:
      cls = kPictureClass;
      break;
    case ControlKind::StatusBar:
      cls = STATUSCLASSNAMEA;
      style |= SBARS_SIZEGRIP;
      break;
    case ControlKind::Toolbar:
      cls = TOOLBARCLASSNAMEA;
      style |= TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER |
               (static_cast<Toolbar&>(control).Wrappable() ? TBSTYLE_WRAPABLE : 0);
      break;
    case ControlKind::SpinButton:
      cls = UPDOWN_CLASSA;
      style |= UDS_ARROWKEYS;
      break;
    case ControlKind::ScrollBar:
      cls = "SCROLLBAR";
      style |= SBS_HORZ;
      break;
    case ControlKind::TabStrip:
      cls = WC_TABCONTROLA;
      break;
    case ControlKind::ListView:
      cls = WC_LISTVIEWA;
      style |= WS_TABSTOP | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
      exStyle = WS_EX_CLIENTEDGE;
      break;
  }
  PushGuard guard(pushing_);
  cw.hwnd = CreateWindowExA(exStyle, cls, "", style, px(control.Left()), px(control.Top()), px(control.Width()),
                            px(control.Height()), fw.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(cw.id)),
                            instance_, nullptr);
  if (!cw.hwnd) return;
  SetPropA(cw.hwnd, kControlProp, &cw);
  cw.oldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(cw.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32FormRenderer::ControlProc)));
  SendMessageA(cw.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont_), FALSE);
  if (control.Kind() == ControlKind::ComboBox) HookComboEdit(cw);
  if (control.Kind() == ControlKind::Toolbar) {
    SendMessageA(cw.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(cw.hwnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  }
  if (control.Kind() == ControlKind::ListView)
    SendMessageA(cw.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  // Controls that sit on the toolbar or in a frame must stay above it.
  if (control.Container()) SetWindowPos(cw.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (fw.toolTips) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = fw.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(cw.hwnd);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(fw.toolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  PushAll(cw);
}

void Win32FormRenderer::HookComboEdit(ControlWindow& cw) {
  // Typing goes to the combo's own edit field, not to the combo: Enter and the other
  // keys typed there must reach the combo's handlers too.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(cw.hwnd, &info) || !info.hwndItem || info.hwndItem == cw.hwnd) return;
  cw.inner = std::make_unique<ControlWindow>();
  ControlWindow& edit = *cw.inner;
  edit.control = cw.control;
  edit.owner = cw.owner;
  edit.hwnd = info.hwndItem;
  edit.id = cw.id;
  SetPropA(edit.hwnd, kControlProp, &edit);
  edit.oldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32FormRenderer::ControlProc)));
}

HIMAGELIST Win32FormRenderer::ImagesFor(const ImageList* list) {
  if (!list) return nullptr;
  ImageListHandle& images = imageLists_[list];
  const auto& wanted = list->Images();
  // Images added to the model are added to the list the windows already hold. Only a
  // model that changed otherwise gets a new list; no window is left with the old one.
  const bool grows = images.handle && images.sources.size() <= wanted.size() &&
                     std::equal(images.sources.begin(), images.sources.end(), wanted.begin(),
                                [](const std::string& have, const ImageList::Image& want) { return have == want.source; });
  if (!grows) {
    const HIMAGELIST old = images.handle;
    const int size = list->ImageSize();
    images.handle = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(wanted.size()), 16);
    images.sources.clear();
    if (old) {
      RepointImageList(list, images.handle);
      ImageList_Destroy(old);
    }
  }
  for (std::size_t i = images.sources.size(); i < wanted.size(); ++i) {
    AddImage(images.handle, wanted[i].source, list->ImageSize());
    images.sources.push_back(wanted[i].source);
  }
  return images.handle;
}

void Win32FormRenderer::RepointImageList(const ImageList* list, HIMAGELIST handle) {
  for (auto& [control, cw] : controls_) {
    if (control->Kind() == ControlKind::ListView) {
      const auto& view = static_cast<const ListView&>(*control);
      if (view.Icons == list) ListView_SetImageList(cw->hwnd, handle, LVSIL_NORMAL);
      if (view.SmallImages == list) ListView_SetImageList(cw->hwnd, handle, LVSIL_SMALL);
    } else if (control->Kind() == ControlKind::Toolbar && static_cast<const Toolbar&>(*control).Images == list) {
      SendMessageA(cw->hwnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(handle));
    }
  }
}

void Win32FormRenderer::AddImage(HIMAGELIST handle, const std::string& source, int size) {
  bool added = false;
  if (source.rfind("glyph:", 0) == 0) added = AddGlyph(handle, source.substr(6), size);
  if (source.rfind("icon:", 0) == 0) {
    // "icon:<file>,<index>": the icon a file type's program shows.
    const std::string location = source.substr(5);
    const auto comma = location.rfind(',');
    const std::string file = location.substr(0, comma);
    const int index = comma == std::string::npos ? 0 : std::atoi(location.c_str() + comma + 1);
    HICON large = nullptr;
    HICON small = nullptr;
    if (ExtractIconExA(file.c_str(), index, &large, &small, 1) > 0) {
      const HICON icon = size > 16 ? large : small;
      added = icon && ImageList_AddIcon(handle, icon) >= 0;
    }
    if (large) DestroyIcon(large);
    if (small) DestroyIcon(small);
  }
  if (!added) AddGlyph(handle, "NONE", size);  // keeps the indexes in step with the keys
}

void Win32FormRenderer::PushAll(ControlWindow& cw) {
  for (ControlProperty p : {ControlProperty::Font, ControlProperty::Items, ControlProperty::Text, ControlProperty::ListIndex,
                            ControlProperty::Value, ControlProperty::Columns, ControlProperty::View,
                            ControlProperty::Buttons, ControlProperty::Panels, ControlProperty::Enabled,
                            ControlProperty::Bounds, ControlProperty::Visible})
    Push(cw, p);
}

void Win32FormRenderer::ControlChanged(Control& control, ControlProperty property) {
  ControlWindow* cw = ControlOf(control);
  if (!cw) return;
  PushGuard guard(pushing_);
  Push(*cw, property);
}

void Win32FormRenderer::PushTimer(ControlWindow& cw) {
  const auto& timer = static_cast<const Timer&>(*cw.control);
  if (timer.Enabled() && timer.Interval() > 0)
    SetTimer(cw.owner->hwnd, cw.timerId, static_cast<UINT>(timer.Interval()), nullptr);
  else
    KillTimer(cw.owner->hwnd, cw.timerId);
}

void Win32FormRenderer::PushBounds(ControlWindow& cw) {
  const Control& c = *cw.control;
  int height = px(c.Height());
  // A combo box's window includes its drop-down list.
  if (c.Kind() == ControlKind::ComboBox || c.Kind() == ControlKind::DriveListBox) height += 200;
  if (c.Kind() == ControlKind::Toolbar || c.Kind() == ControlKind::StatusBar) {
    SendMessageA(cw.hwnd, c.Kind() == ControlKind::Toolbar ? TB_AUTOSIZE : WM_SIZE, 0, 0);
    if (c.Kind() == ControlKind::StatusBar) PushStatusParts(cw);
    return;
  }
  MoveWindow(cw.hwnd, px(c.Left()), px(c.Top()), px(c.Width()), height, TRUE);
}

void Win32FormRenderer::PushItems(ControlWindow& cw) {
  Control& c = *cw.control;
  switch (c.Kind()) {
    case ControlKind::ComboBox: {
      const auto& combo = static_cast<ComboBox&>(c);
      SendMessageA(cw.hwnd, CB_RESETCONTENT, 0, 0);
      for (const auto& item : combo.List()) SendMessageA(cw.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      SendMessageA(cw.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
      if (combo.GetStyle() != ComboBox::DropDownList) SetWindowTextA(cw.hwnd, combo.Text().c_str());
      break;
    }
    case ControlKind::DriveListBox: {
      const auto& drives = static_cast<DriveListBox&>(c);
      SendMessageA(cw.hwnd, CB_RESETCONTENT, 0, 0);
      for (const auto& d : drives.List()) SendMessageA(cw.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.c_str()));
      const auto at = std::find(drives.List().begin(), drives.List().end(), drives.Drive());
      SendMessageA(cw.hwnd, CB_SETCURSEL, at == drives.List().end() ? static_cast<WPARAM>(-1) : at - drives.List().begin(), 0);
      break;
    }
    case ControlKind::ListBox: {
      SendMessageA(cw.hwnd, LB_RESETCONTENT, 0, 0);
      for (const auto& item : static_cast<ListBox&>(c).List())
        SendMessageA(cw.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      break;
    }
    case ControlKind::DirListBox: {
      const auto& dirs = static_cast<DirListBox&>(c);
      SendMessageA(cw.hwnd, WM_SETREDRAW, FALSE, 0);
      SendMessageA(cw.hwnd, LB_RESETCONTENT, 0, 0);
      for (const auto& entry : dirs.Entries()) {
        const std::string line = std::string(static_cast<std::size_t>(entry.level) * 3, ' ') + entry.name;
        SendMessageA(cw.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      }
      SendMessageA(cw.hwnd, LB_SETCURSEL, static_cast<WPARAM>(dirs.ListIndex()), 0);
      SendMessageA(cw.hwnd, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    }
    case ControlKind::ListView:
      PushListView(cw, ControlProperty::Items);
      break;
    case ControlKind::TabStrip: {
      const auto& tabs = static_cast<TabStrip&>(c);
      SendMessageA(cw.hwnd, TCM_DELETEALLITEMS, 0, 0);
      for (std::size_t i = 0; i < tabs.Tabs.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabs.Tabs[i].c_str());
        SendMessageA(cw.hwnd, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
      }
      break;
    }
    default:
      break;
  }
}

void Win32FormRenderer::PushStatusParts(ControlWindow& cw) {
  const auto& bar = static_cast<StatusBar&>(*cw.control);
  RECT client;
  GetClientRect(cw.hwnd, &client);
  long fixed = 0;
  for (const auto& p : bar.Panels())
    if (!p.autoSize) fixed += p.width;
  const int spare = std::max(40, static_cast<int>(client.right) - px(fixed));
  std::vector<int> edges;
  int x = 0;
  for (const auto& p : bar.Panels()) {
    x += p.autoSize ? spare : px(p.width);
    edges.push_back(x);
  }
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(cw.hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < bar.Panels().size(); ++i)
    SendMessageA(cw.hwnd, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(bar.Panels()[i].text.c_str()));
}

void Win32FormRenderer::PushToolbar(ControlWindow& cw) {
  auto& bar = static_cast<Toolbar&>(*cw.control);
  while (SendMessageA(cw.hwnd, TB_DELETEBUTTON, 0, 0)) {
  }
  SendMessageA(cw.hwnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImagesFor(bar.Images)));
  std::vector<TBBUTTON> buttons;
  for (std::size_t i = 0; i < bar.Buttons().size(); ++i) {
    const Toolbar::Button& b = bar.Buttons()[i];
    TBBUTTON tb{};
    tb.idCommand = ToolbarCommand(static_cast<int>(i));
    if (b.style == Toolbar::Style::Placeholder || b.style == Toolbar::Style::Separator) {
      tb.fsStyle = BTNS_SEP;
      tb.iBitmap = b.style == Toolbar::Style::Placeholder ? px(b.width) : 8;
    } else {
      tb.fsStyle = b.style == Toolbar::Style::Check ? BTNS_CHECK : BTNS_BUTTON;
      tb.iBitmap = bar.Images ? bar.Images->IndexOf(b.image) : -1;
      tb.fsState = static_cast<BYTE>((b.enabled ? TBSTATE_ENABLED : 0) | (b.pressed ? TBSTATE_CHECKED : 0));
    }
    buttons.push_back(tb);
  }
  if (!buttons.empty())
    SendMessageA(cw.hwnd, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ReportBars(*cw.owner);
}

void Win32FormRenderer::PushListView(ControlWindow& cw, ControlProperty property) {
  auto& list = static_cast<ListView&>(*cw.control);
  switch (property) {
    case ControlProperty::Columns: {
      const int have = Header_GetItemCount(ListView_GetHeader(cw.hwnd));
      for (int i = have - 1; i >= static_cast<int>(list.Columns().size()); --i) ListView_DeleteColumn(cw.hwnd, i);
      for (std::size_t i = 0; i < list.Columns().size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(list.Columns()[i].header.c_str());
        column.cx = px(list.Columns()[i].width);
        column.iSubItem = static_cast<int>(i);
        SendMessageA(cw.hwnd, static_cast<int>(i) < have ? LVM_SETCOLUMNA : LVM_INSERTCOLUMNA, i,
                     reinterpret_cast<LPARAM>(&column));
      }
      break;
    }
    case ControlProperty::View: {
      static constexpr DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
      const LONG_PTR style = GetWindowLongPtrA(cw.hwnd, GWL_STYLE);
      SetWindowLongPtrA(cw.hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | styles[list.GetView()]);
      // The list lays its items out anew for the new view only when told to redraw.
      SetWindowPos(cw.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
      InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    }
    case ControlProperty::Items:
      ListView_SetImageList(cw.hwnd, ImagesFor(list.Icons), LVSIL_NORMAL);
      ListView_SetImageList(cw.hwnd, ImagesFor(list.SmallImages), LVSIL_SMALL);
      ListView_SetItemCountEx(cw.hwnd, list.Count(), 0);
      InvalidateRect(cw.hwnd, nullptr, TRUE);
      [[fallthrough]];
    case ControlProperty::Selection: {
      ListView_SetItemState(cw.hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
      for (int i = 0; i < list.Count(); ++i)
        if (list.Items()[i].selected) ListView_SetItemState(cw.hwnd, i, LVIS_SELECTED, LVIS_SELECTED);
      if (list.FocusedIndex() >= 0) ListView_SetItemState(cw.hwnd, list.FocusedIndex(), LVIS_FOCUSED, LVIS_FOCUSED);
      if (list.VisibleRequest() >= 0 && list.VisibleRequest() < list.Count())
        ListView_EnsureVisible(cw.hwnd, list.VisibleRequest(), FALSE);
      break;
    }
    default:
      break;
  }
}

void Win32FormRenderer::Push(ControlWindow& cw, ControlProperty property) {
  Control& c = *cw.control;
  if (c.Kind() == ControlKind::Timer) {
    if (property == ControlProperty::Enabled || property == ControlProperty::Interval) PushTimer(cw);
    return;
  }
  if (!cw.hwnd) return;
  switch (property) {
    case ControlProperty::Bounds:
      PushBounds(cw);
      break;
    case ControlProperty::Visible:
      ShowWindow(cw.hwnd, c.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ControlProperty::Enabled:
      EnableWindow(cw.hwnd, c.Enabled());
      break;
    case ControlProperty::Font: {
      const Font& f = c.GetFont();
      if (f == Font{}) break;
      if (cw.font) DeleteObject(cw.font);
      const HDC screen = GetDC(nullptr);
      const int height = -MulDiv(f.size, GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
      cw.font = CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            f.name.c_str());
      SendMessageA(cw.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(cw.font), TRUE);
      break;
    }
    case ControlProperty::Text:
      switch (c.Kind()) {
        case ControlKind::TextBox: SetWindowTextA(cw.hwnd, static_cast<TextBox&>(c).Text().c_str()); break;
        case ControlKind::ComboBox: {
          auto& combo = static_cast<ComboBox&>(c);
          SendMessageA(cw.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
          if (combo.GetStyle() != ComboBox::DropDownList) SetWindowTextA(cw.hwnd, combo.Text().c_str());
          break;
        }
        case ControlKind::CommandButton: SetWindowTextA(cw.hwnd, static_cast<CommandButton&>(c).Caption().c_str()); break;
        case ControlKind::Label:
        case ControlKind::Frame: SetWindowTextA(cw.hwnd, static_cast<Label&>(c).Caption().c_str()); break;
        case ControlKind::CheckBox: SetWindowTextA(cw.hwnd, static_cast<CheckBox&>(c).Caption().c_str()); break;
        case ControlKind::OptionButton: SetWindowTextA(cw.hwnd, static_cast<OptionButton&>(c).Caption().c_str()); break;
        case ControlKind::StatusBar: {
          auto& bar = static_cast<StatusBar&>(c);
          if (bar.ChangedPanel() < 0) {
            PushStatusParts(cw);
            break;
          }
          // The status bar paints itself at once for every new text. Progress texts come
          // many times a second: the first of a burst shows at once, the rest are shown
          // together, the latest of each panel, a moment later.
          cw.pendingPanels |= 1u << (bar.ChangedPanel() & 31);
          if (cw.statusFlushScheduled) break;
          if (cw.lastStatusPush != 0 && GetTickCount() - cw.lastStatusPush < kStatusTextPause) {
            SetTimer(cw.hwnd, kStatusFlushTimer, kStatusTextPause, nullptr);
            cw.statusFlushScheduled = true;
            break;
          }
          FlushStatusTexts(cw);
          break;
        }
        default: break;
      }
      break;
    case ControlProperty::Items:
      PushItems(cw);
      break;
    case ControlProperty::ListIndex:
      if (c.Kind() == ControlKind::ComboBox) SendMessageA(cw.hwnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<ComboBox&>(c).ListIndex()), 0);
      else if (c.Kind() == ControlKind::DriveListBox || c.Kind() == ControlKind::DirListBox) PushItems(cw);
      break;
    case ControlProperty::Value:
      if (c.Kind() == ControlKind::CheckBox) SendMessageA(cw.hwnd, BM_SETCHECK, static_cast<WPARAM>(static_cast<CheckBox&>(c).Value()), 0);
      else if (c.Kind() == ControlKind::OptionButton) SendMessageA(cw.hwnd, BM_SETCHECK, static_cast<OptionButton&>(c).Value() ? BST_CHECKED : BST_UNCHECKED, 0);
      else if (c.Kind() == ControlKind::TabStrip) SendMessageA(cw.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(static_cast<TabStrip&>(c).SelectedTab()), 0);
      else if (c.Kind() == ControlKind::ScrollBar) SetScrollPos(cw.hwnd, SB_CTL, static_cast<ScrollBar&>(c).Value(), TRUE);
      else if (c.Kind() == ControlKind::Toolbar) {
        auto& bar = static_cast<Toolbar&>(c);
        const LONG_PTR style = GetWindowLongPtrA(cw.hwnd, GWL_STYLE);
        SetWindowLongPtrA(cw.hwnd, GWL_STYLE, bar.Wrappable() ? (style | TBSTYLE_WRAPABLE) : (style & ~TBSTYLE_WRAPABLE));
        for (std::size_t i = 0; i < bar.Buttons().size(); ++i)
          SendMessageA(cw.hwnd, TB_CHECKBUTTON, ToolbarCommand(static_cast<int>(i)), MAKELPARAM(bar.Buttons()[i].pressed, 0));
      }
      break;
    case ControlProperty::Buttons:
      if (c.Kind() == ControlKind::Toolbar) PushToolbar(cw);
      break;
    case ControlProperty::DroppedDown:
      if (c.Kind() == ControlKind::ComboBox) SendMessageA(cw.hwnd, CB_SHOWDROPDOWN, static_cast<ComboBox&>(c).Dropped(), 0);
      break;
    case ControlProperty::Panels:
      if (c.Kind() == ControlKind::StatusBar) PushStatusParts(cw);
      break;
    case ControlProperty::Columns:
    case ControlProperty::View:
    case ControlProperty::Selection:
      if (c.Kind() == ControlKind::ListView) PushListView(cw, property);
      else if (c.Kind() == ControlKind::TextBox && property == ControlProperty::Selection) {
        auto& box = static_cast<TextBox&>(c);
        SendMessageA(cw.hwnd, EM_SETSEL, static_cast<WPARAM>(box.SelStart()), box.SelStart() + box.SelLength());
      }
      break;
    case ControlProperty::Path:
    case ControlProperty::Parent:
    case ControlProperty::Interval:
    case ControlProperty::ToolTip:
      break;  // tool tips are asked for when they show
  }
  if (property == ControlProperty::Enabled && c.Kind() == ControlKind::Toolbar) {
    auto& bar = static_cast<Toolbar&>(c);
    for (std::size_t i = 0; i < bar.Buttons().size(); ++i)
      SendMessageA(cw.hwnd, TB_ENABLEBUTTON, ToolbarCommand(static_cast<int>(i)), MAKELPARAM(bar.Buttons()[i].enabled, 0));
  }
}

void Win32FormRenderer::Focus(Control& control) {
  if (ControlWindow* cw = ControlOf(control); cw && cw->hwnd) SetFocus(cw->hwnd);
}

// Messages -------------------------------------------------------------------------------

void Win32FormRenderer::HandleCommand(FormWindow& fw, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (lParam == 0) {  // a menu item or an accelerator
    if (Menu* menu = fw.form->Menus().FindByCommand(id); menu && menu->Enabled()) Raise(menu->Click);
    return;
  }
  if (id >= kFirstToolbarCommand) {
    const auto* cw = static_cast<ControlWindow*>(GetPropA(reinterpret_cast<HWND>(lParam), kControlProp));
    if (!cw || cw->control->Kind() != ControlKind::Toolbar) return;
    auto& bar = static_cast<Toolbar&>(*cw->control);
    const int index = id - kFirstToolbarCommand;
    // The command may unload the form: nothing of it is touched afterwards.
    if (index < static_cast<int>(bar.Buttons().size()) && bar.ButtonClick) bar.ButtonClick(bar.Buttons()[index].key);
    return;
  }
  const auto found = fw.byId.find(id);
  if (found == fw.byId.end() || pushing_) return;
  Control& c = *found->second;
  ControlWindow& cw = *ControlOf(c);
  switch (c.Kind()) {
    case ControlKind::TextBox:
      if (code == EN_CHANGE) static_cast<TextBox&>(c).UserTyped(windowText(cw.hwnd));
      break;
    case ControlKind::ComboBox: {
      auto& combo = static_cast<ComboBox&>(c);
      const int selected = static_cast<int>(SendMessageA(cw.hwnd, CB_GETCURSEL, 0, 0));
      if (code == CBN_DROPDOWN) {
        combo.UserDropped(true);
        Raise(combo.DropDown);
      } else if (code == CBN_CLOSEUP) {
        combo.UserDropped(false);
      } else if (code == CBN_SELCHANGE) {
        // Arrow steps through an open list only highlight; a closed combo chooses at once.
        if (combo.Dropped()) combo.UserHighlighted(selected);
        else combo.UserChose(selected);
      } else if (code == CBN_SELENDOK && combo.Dropped()) {
        combo.UserDropped(false);  // picked from the open list (a click or Enter): chosen
        combo.UserChose(selected);
      } else if (code == CBN_EDITCHANGE) {
        combo.UserTyped(windowText(cw.hwnd));
      }
      break;
    }
    case ControlKind::DriveListBox:
      if (code == CBN_SELCHANGE) {
        auto& drives = static_cast<DriveListBox&>(c);
        const auto index = SendMessageA(cw.hwnd, CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < static_cast<LRESULT>(drives.List().size())) drives.SetDrive(drives.List()[index]);
      }
      break;
    case ControlKind::DirListBox: {
      auto& dirs = static_cast<DirListBox&>(c);
      if (code == LBN_SELCHANGE) {
        dirs.SetListIndex(static_cast<int>(SendMessageA(cw.hwnd, LB_GETCURSEL, 0, 0)));
        Raise(dirs.Click);
      } else if (code == LBN_DBLCLK) {
        Raise(dirs.DblClick);
      }
      break;
    }
    case ControlKind::CommandButton:
      if (code == BN_CLICKED) Raise(static_cast<CommandButton&>(c).Click);
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED)
        static_cast<CheckBox&>(c).SetValue(SendMessageA(cw.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
      break;
    case ControlKind::OptionButton:
      if (code == BN_CLICKED) static_cast<OptionButton&>(c).SetValue(true);
      break;
    default:
      break;
  }
}

LRESULT Win32FormRenderer::HandleNotify(FormWindow& fw, NMHDR& header) {
  if (header.code == TTN_GETDISPINFOA) {
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    static std::string text;
    text.clear();
    if (info.uFlags & TTF_IDISHWND) {
      const auto* cw = static_cast<ControlWindow*>(GetPropA(reinterpret_cast<HWND>(header.idFrom), kControlProp));
      if (cw) text = cw->control->ToolTipText();
    } else {
      for (Control* c : fw.form->Controls()) {
        if (c->Kind() != ControlKind::Toolbar) continue;
        const auto& bar = static_cast<Toolbar&>(*c);
        const int index = static_cast<int>(header.idFrom) - kFirstToolbarCommand;
        if (index >= 0 && index < static_cast<int>(bar.Buttons().size())) text = bar.Buttons()[index].toolTip;
      }
    }
    info.lpszText = text.data();
    return 0;
  }
  const auto found = fw.byId.find(static_cast<int>(header.idFrom));
  if (found == fw.byId.end()) return 0;
  Control& c = *found->second;
  ControlWindow& cw = *ControlOf(c);
  if (c.Kind() == ControlKind::ListView) {
    auto& list = static_cast<ListView&>(c);
    switch (header.code) {
      case LVN_GETDISPINFOA: {
        auto& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
        if (item.iItem < 0 || item.iItem >= list.Count()) return 0;
        const ListItem& li = list.Items()[item.iItem];
        if (item.mask & LVIF_TEXT) {
          cw.dispText = li.Column(item.iSubItem);
          lstrcpynA(item.pszText, cw.dispText.c_str(), item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE) {
          const ImageList* images = list.GetView() == ListView::LargeIcons ? list.Icons : list.SmallImages;
          int index = images ? images->IndexOf(li.icon) : -1;
          if (index < 0 && images) index = images->IndexOf("NONE");
          item.iImage = index;
        }
        return 0;
      }
      case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        if (!pushing_ && (change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
          list.UserSelected(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
        if (!pushing_ && (change.uNewState & LVIS_FOCUSED)) list.UserFocused(change.iItem);
        return 0;
      }
      case LVN_ODSTATECHANGED: {
        const auto& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
        if (!pushing_ && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
          for (int i = change.iFrom; i <= change.iTo; ++i) list.UserSelected(i, (change.uNewState & LVIS_SELECTED) != 0);
        return 0;
      }
      case LVN_COLUMNCLICK:
        if (list.ColumnClick) list.ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return 0;
      case NM_CLICK:
        if (list.ItemClick) list.ItemClick(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return 0;
      case NM_DBLCLK:
        Raise(list.DblClick);
        return 0;
      default:
        return 0;
    }
  }
  if (c.Kind() == ControlKind::StatusBar && (header.code == NM_CLICK || header.code == NM_DBLCLK ||
                                             header.code == NM_RCLICK || header.code == NM_RDBLCLK)) {
    auto& bar = static_cast<StatusBar&>(c);
    bar.LastButton = header.code == NM_RCLICK || header.code == NM_RDBLCLK ? 2 : 1;
    const auto part = static_cast<int>(reinterpret_cast<NMMOUSE&>(header).dwItemSpec);
    if (part >= 0 && part < static_cast<int>(bar.Panels().size())) {
      const std::string key = bar.Panels()[part].key;
      const bool twice = header.code == NM_DBLCLK || header.code == NM_RDBLCLK;
      const auto& slot = twice ? bar.PanelDblClick : bar.PanelClick;
      if (slot) slot(key);
    }
    return 0;
  }
  if (c.Kind() == ControlKind::SpinButton && header.code == UDN_DELTAPOS) {
    auto& spin = static_cast<SpinButton&>(c);
    // The arrow pointing up lowers the position of an up-down control; it means "up".
    if (reinterpret_cast<NMUPDOWN&>(header).iDelta < 0) Raise(spin.SpinUp);
    else Raise(spin.SpinDown);
    return 1;  // the control keeps no position of its own
  }
  if (c.Kind() == ControlKind::TabStrip && header.code == TCN_SELCHANGE)
    static_cast<TabStrip&>(c).SelectTab(static_cast<int>(SendMessageA(cw.hwnd, TCM_GETCURSEL, 0, 0)));
  return 0;
}

LRESULT Win32FormRenderer::HandleForm(FormWindow& fw, UINT message, WPARAM wParam, LPARAM lParam) {
  Form& form = *fw.form;
  switch (message) {
    case WM_CLOSE:
      form.UserClose();
      return 0;
    case WM_SIZE:
      if (!pushing_) {
        ReportBars(fw);
        ReportPlacement(fw);
      }
      break;
    case WM_MOVE:
      if (!pushing_) ReportPlacement(fw);
      break;
    case WM_COMMAND:
      HandleCommand(fw, wParam, lParam);
      return 0;
    case WM_NOTIFY:
      return HandleNotify(fw, *reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
      if (const auto it = fw.timers.find(wParam); it != fw.timers.end()) {
        if (it->second->Enabled()) it->second->Tick();
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (form.MouseMove)
        form.MouseMove(mouseButtons(wParam), mouseShift(wParam), tw(static_cast<short>(LOWORD(lParam))),
                       tw(static_cast<short>(HIWORD(lParam))));
      break;
    case WM_MENUSELECT:
      HandleMenuSelect(fw, wParam, lParam);
      break;
    case WM_HELP: {
      const auto* info = reinterpret_cast<HELPINFO*>(lParam);
      Menu* item = info && info->iContextType == HELPINFO_MENUITEM ? form.Menus().FindByCommand(info->iCtrlId) : nullptr;
      if (form.Help) form.Help(item);
      return TRUE;
    }
    default:
      break;
  }
  return DefWindowProcA(fw.hwnd, message, wParam, lParam);
}

LRESULT Win32FormRenderer::HandleControl(ControlWindow& cw, UINT message, WPARAM wParam, LPARAM lParam) {
  Control& c = *cw.control;
  const long x = tw(static_cast<short>(LOWORD(lParam)));
  const long y = tw(static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_TIMER:
      if (wParam == kStatusFlushTimer && c.Kind() == ControlKind::StatusBar) {
        KillTimer(cw.hwnd, kStatusFlushTimer);
        cw.statusFlushScheduled = false;
        FlushStatusTexts(cw);
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      const bool overEdit = c.Kind() == ControlKind::ComboBox && &cw != ControlOf(c);
      const auto& slot = overEdit ? static_cast<ComboBox&>(c).EditMouseMove : c.MouseMove;
      if (slot) slot(mouseButtons(wParam), mouseShift(wParam), x, y);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (c.Kind() == ControlKind::PictureBox) SetCapture(cw.hwnd);
      if (c.MouseDown) c.MouseDown(message == WM_LBUTTONDOWN ? 1 : 2, mouseShift(wParam), x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (c.Kind() == ControlKind::PictureBox && GetCapture() == cw.hwnd) ReleaseCapture();
      if (c.MouseUp) c.MouseUp(message == WM_LBUTTONUP ? 1 : 2, mouseShift(wParam), x, y);
      if (c.Kind() == ControlKind::PictureBox && message == WM_LBUTTONUP) Raise(static_cast<PictureBox&>(c).Click);
      break;
    case WM_SETFOCUS:
      cw.owner->form->UserFocused(&c);
      break;
    case WM_KILLFOCUS: {
      const HWND next = reinterpret_cast<HWND>(wParam);
      const auto* other = next ? static_cast<ControlWindow*>(GetPropA(next, kControlProp)) : nullptr;
      if (!other || other->owner != cw.owner) cw.owner->form->UserFocused(nullptr);
      break;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // F10 comes as a system key (it would open the menu bar); Shift+F10 is the key
      // for a control's own menu, so the control sees it first.
      if (wParam != VK_F10) break;
      [[fallthrough]];
    case WM_KEYDOWN:
    case WM_KEYUP: {
      // A handler that sets the key code to 0 keeps the key from the control.
      const auto& slot = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? c.KeyDown : c.KeyUp;
      if (slot) {
        int key = static_cast<int>(wParam);
        slot(key, shiftState());
        if (key == 0) return 0;
      }
      break;
    }
    case WM_CHAR:
      if (c.KeyPress) {
        int ascii = static_cast<int>(wParam);
        c.KeyPress(ascii);
        if (ascii == 0) return 0;
        wParam = static_cast<WPARAM>(ascii);
      }
      break;
    case WM_SETCURSOR:
      if (c.Kind() == ControlKind::PictureBox) {
        const int pointer = static_cast<PictureBox&>(c).MousePointer();
        SetCursor(LoadCursor(nullptr, pointer == 9 ? IDC_SIZEWE : pointer == 11 ? IDC_WAIT : IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(cw.oldProc, cw.hwnd, message, wParam, lParam);
}

template <typename Work>
LRESULT Win32FormRenderer::Trapped(const std::string& where, Work&& work) {
  // Nothing may leave a window procedure: the system's frames lie between it and the
  // message loop.
  try {
    return work();
  } catch (const RuntimeError& e) {
    Report(e, where);
  } catch (const std::bad_alloc&) {
    Report(runtime_error::OutOfMemory(), where);
  } catch (const std::exception& e) {
    Report({51, std::string("Internal error: ") + e.what()}, where);
  } catch (...) {
    Report({51, "Internal error"}, where);
  }
  return 0;
}

void Win32FormRenderer::Report(const RuntimeError& error, const std::string& where) {
  try {
    if (ErrorTrap) ErrorTrap(error, where);
    else MessageBoxA(nullptr, (error.description + " (" + std::to_string(error.number) + ") has occurred in " + where + ".").c_str(),
                     "Tapestrel", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Telling the user failed too: the program still goes on.
  }
}

LRESULT CALLBACK Win32FormRenderer::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* renderer = reinterpret_cast<Win32FormRenderer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  auto* fw = static_cast<FormWindow*>(GetPropA(window, kFormClass));
  if (!renderer || !fw) return DefWindowProcA(window, message, wParam, lParam);
  return renderer->Trapped(fw->form->Name(), [&] { return renderer->HandleForm(*fw, message, wParam, lParam); });
}

LRESULT CALLBACK Win32FormRenderer::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* cw = static_cast<ControlWindow*>(GetPropA(window, kControlProp));
  if (!cw) return DefWindowProcA(window, message, wParam, lParam);
  auto* renderer = reinterpret_cast<Win32FormRenderer*>(GetWindowLongPtrA(cw->owner->hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    const WNDPROC old = cw->oldProc;
    RemovePropA(window, kControlProp);
    return CallWindowProcA(old, window, message, wParam, lParam);
  }
  if (!renderer) return CallWindowProcA(cw->oldProc, window, message, wParam, lParam);
  const Control& control = *cw->control;
  return renderer->Trapped(cw->owner->form->Name() + "." + control.Name(),
                           [&] { return renderer->HandleControl(*cw, message, wParam, lParam); });
}

}  // namespace tapestrel
