#include "platform/win32/form_window_parts.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/controls/bars.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/text.h"
#include "platform/controls/message_hook.h"
#include "platform/win32/glyphs.h"

namespace tapestrel {

using namespace win32_detail;

// Window messages turned into the model's events, each inside the error trap.

namespace {

COLORREF colorOf(long rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A window's or a picture box's background: its colour, its picture at the top left
// corner and its printed text, drawn only where the system asks for it.
void paintSurface(HWND window, long backColor, const Bitmap* picture, const std::string& text, HFONT font) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  const RECT& clip = paint.rcPaint;
  RECT client;
  GetClientRect(window, &client);
  const HBRUSH back = backColor >= 0 ? CreateSolidBrush(colorOf(backColor)) : GetSysColorBrush(COLOR_BTNFACE);
  int right = 0, bottom = 0;
  if (picture && !picture->Empty()) {
    right = picture->width;
    bottom = picture->height;
    const int left = std::max<int>(clip.left, 0), top = std::max<int>(clip.top, 0);
    const int width = std::min<int>(clip.right, right) - left, height = std::min<int>(clip.bottom, bottom) - top;
    if (width > 0 && height > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      // Only the rows asked for, from the top as the picture keeps them: no source row
      // offsets, which the systems read differently for pictures stored top down.
      info.bmiHeader.biWidth = picture->width;
      info.bmiHeader.biHeight = -height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      StretchDIBits(dc, left, top, width, height, left, 0, width, height,
                    picture->pixels.data() + static_cast<std::size_t>(top) * picture->width, &info, DIB_RGB_COLORS, SRCCOPY);
    }
  }
  // The background around the picture.
  const RECT beside{right, clip.top, clip.right, clip.bottom};
  const RECT below{clip.left, bottom, std::min<LONG>(clip.right, right), clip.bottom};
  for (const RECT& r : {beside, below})
    if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, back);
  if (!text.empty()) {
    const HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    // Black text, but white where the background is dark.
    const long shade = backColor < 0 ? 0xC0 : (((backColor >> 16) & 0xFF) * 3 + ((backColor >> 8) & 0xFF) * 6 + (backColor & 0xFF)) / 10;
    SetTextColor(dc, shade < 0x80 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    RECT r = client;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  if (backColor >= 0) DeleteObject(back);
  EndPaint(window, &paint);
}

}  // namespace

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
          // Cut whole characters only: a UTF-8 name cut inside a letter shows a stray sign.
          cw.dispText = item.cchTextMax > 0 ? CutToLength(li.Column(item.iSubItem), static_cast<std::size_t>(item.cchTextMax) - 1) : std::string();
          if (item.cchTextMax > 0) lstrcpynA(item.pszText, cw.dispText.c_str(), item.cchTextMax);
        }
        if ((item.mask & LVIF_IMAGE) && list.GetView() == ListView::Thumbnails) {
          item.iImage = ThumbnailImageOf(list, item.iItem);
        } else if (item.mask & LVIF_IMAGE) {
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
  static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  if (message == taskbarCreated && taskbarCreated != 0) {
    Raise(form.TaskbarCreated);
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      form.UserClose();
      return 0;
    case WM_DISPLAYCHANGE:
      Raise(form.DisplayChanged);
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) Raise(form.DisplayChanged);
      return TRUE;
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
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:  // a quick second right press is a press all the same
      if (form.MouseDown)
        form.MouseDown(message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ? 2 : 1, mouseShift(wParam), tw(static_cast<short>(LOWORD(lParam))),
                       tw(static_cast<short>(HIWORD(lParam))));
      if (message == WM_LBUTTONDBLCLK) Raise(form.DblClick);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (form.MouseUp)
        form.MouseUp(message == WM_RBUTTONUP ? 2 : 1, mouseShift(wParam), tw(static_cast<short>(LOWORD(lParam))),
                     tw(static_cast<short>(HIWORD(lParam))));
      break;
    case WM_KEYDOWN:
      if (form.KeyDown) {
        int key = static_cast<int>(wParam);
        form.KeyDown(key, shiftState());
      }
      return 0;
    case WM_CHAR:
      if (form.KeyPress) {
        int ascii = static_cast<int>(wParam);
        form.KeyPress(ascii);
      }
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam) HandleScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return 0;
    case WM_ERASEBKGND:
      if (form.BackColor < 0) break;
      return 1;  // painted with the picture
    case WM_PAINT:
      if (form.BackColor < 0 && !form.Picture() && form.PrintedText().empty()) break;
      paintSurface(fw.hwnd, form.BackColor, form.Picture().get(), form.PrintedText(), defaultFont_);
      return 0;
    case WM_MENUSELECT:
      HandleMenuSelect(fw, wParam, lParam);
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const HBRUSH page = PageBrushFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
        return reinterpret_cast<LRESULT>(page);
      break;
    case WM_HELP: {
      // Ctrl+F1 is a command of the menus ("&Options"), not a request for help.
      if (GetKeyState(VK_CONTROL) < 0) return TRUE;
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

bool Win32FormRenderer::StepTab(Form& form) {
  // Ctrl+Tab brings up the next tab of the window's tab strip, Ctrl+Shift+Tab the one before.
  for (Control* control : form.Controls()) {
    if (control->Kind() != ControlKind::TabStrip || !control->Visible()) continue;
    auto& strip = static_cast<TabStrip&>(*control);
    const int count = static_cast<int>(strip.Tabs.size());
    if (count == 0) return false;
    const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    Trapped(form.Name() + "." + strip.Name(), [&] {
      strip.SelectTab((strip.SelectedTab() + step) % count);
      return LRESULT{0};
    });
    return true;
  }
  return false;
}

HBRUSH Win32FormRenderer::PageBrushFor(HWND child, HDC dc) {
  const auto* cw = static_cast<ControlWindow*>(GetPropA(child, kControlProp));
  if (!cw) return nullptr;
  switch (cw->control->Kind()) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Label:
    case ControlKind::Frame:
      break;
    default:
      return nullptr;  // fields and push buttons keep their own look
  }
  const Control* tab = cw->control->Container();
  while (tab && tab->Kind() != ControlKind::TabStrip) tab = tab->Container();
  ControlWindow* strip = tab ? ControlOf(*tab) : nullptr;
  if (!strip || !strip->hwnd) return nullptr;
  if (!strip->pageBrush) {
    // The strip drawn once off the screen; the colour is read inside its page.
    RECT client;
    GetClientRect(strip->hwnd, &client);
    RECT page = client;
    SendMessageA(strip->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    const HDC screen = GetDC(strip->hwnd);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageA(strip->hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF sampled = GetPixel(memory, page.left + 4, page.bottom - 4);
    strip->pageColor = sampled == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : sampled;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(strip->hwnd, screen);
    strip->pageBrush = CreateSolidBrush(strip->pageColor);
  }
  SetBkColor(dc, strip->pageColor);
  return strip->pageBrush;
}

LRESULT Win32FormRenderer::HandleControl(ControlWindow& cw, UINT message, WPARAM wParam, LPARAM lParam) {
  Control& c = *cw.control;
  const long x = tw(static_cast<short>(LOWORD(lParam)));
  const long y = tw(static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_PAINT:
      if (c.Kind() == ControlKind::PictureBox) {
        const auto& box = static_cast<PictureBox&>(c);
        if (box.SystemIcon != 0) {
          PAINTSTRUCT paint;
          HDC dc = BeginPaint(cw.hwnd, &paint);
          DrawIcon(dc, 0, 0, LoadIcon(nullptr, MAKEINTRESOURCE(box.SystemIcon)));
          EndPaint(cw.hwnd, &paint);
          return 0;
        }
        if (box.Picture() || !box.PrintedText().empty() || box.BackColor >= 0) {
          paintSurface(cw.hwnd, box.BackColor, box.Picture().get(), box.PrintedText(), cw.font ? cw.font : defaultFont_);
          return 0;
        }
      }
      break;
    case WM_ERASEBKGND:
      if (c.Kind() == ControlKind::PictureBox && static_cast<PictureBox&>(c).BackColor >= 0) return 1;
      break;
    case WM_DROPFILES: {
      const HDROP drop = reinterpret_cast<HDROP>(wParam);
      std::vector<std::string> paths;
      const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        char name[MAX_PATH] = {};
        const UINT length = DragQueryFileA(drop, i, name, MAX_PATH);
        paths.emplace_back(name, std::min<UINT>(length, MAX_PATH - 1));
      }
      DragFinish(drop);
      Raise(c.FilesDropped, paths);
      return 0;
    }
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
    case WM_LBUTTONDBLCLK:  // the second press of a double click
    case WM_RBUTTONDBLCLK:
      if (c.Kind() == ControlKind::PictureBox) SetCapture(cw.hwnd);
      if (c.MouseDown) c.MouseDown(message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK ? 2 : 1, mouseShift(wParam), x, y);
      if (message == WM_LBUTTONDBLCLK && c.Kind() == ControlKind::PictureBox) Raise(static_cast<PictureBox&>(c).DblClick);
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
    case WM_GETDLGCODE:
      if (c.WantsAllKeys) return CallWindowProcA(cw.oldProc, cw.hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
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
      // A handler that sets the key code to 0 keeps the key from the control; a form
      // that previews keys hears them first.
      Form& form = *cw.owner->form;
      if (form.KeyPreview && form.KeyDown && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        int key = static_cast<int>(wParam);
        form.KeyDown(key, shiftState());
        if (key == 0) return 0;
      }
      const auto& slot = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? c.KeyDown : c.KeyUp;
      if (slot) {
        int key = static_cast<int>(wParam);
        slot(key, shiftState());
        if (key == 0) return 0;
      }
      break;
    }
    case WM_CHAR:
      if (Form& form = *cw.owner->form; form.KeyPreview && form.KeyPress) {
        int ascii = static_cast<int>(wParam);
        form.KeyPress(ascii);
        if (ascii == 0) return 0;
      }
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

void Win32FormRenderer::HandleScroll(HWND bar, int code) {
  const auto* cw = static_cast<ControlWindow*>(GetPropA(bar, kControlProp));
  if (!cw || cw->control->Kind() != ControlKind::ScrollBar) return;
  auto& scroll = static_cast<ScrollBar&>(*cw->control);
  SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  int value = scroll.Value();
  switch (code) {
    case SB_LINELEFT: value -= scroll.SmallChange; break;
    case SB_LINERIGHT: value += scroll.SmallChange; break;
    case SB_PAGELEFT: value -= scroll.LargeChange; break;
    case SB_PAGERIGHT: value += scroll.LargeChange; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = info.nTrackPos; break;
    case SB_LEFT: value = scroll.Min; break;
    case SB_RIGHT: value = scroll.Max; break;
    default: return;
  }
  scroll.SetValue(value);
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
  return renderer->Trapped(fw->form->Name(), [&] {
    // A hook on the window hears its watched messages first.
    if (const MessageHook* hook = fw->form->Hook; hook && hook->Message && hook->Watches(*fw->form, message)) {
      long result = 0;
      bool passOn = true;
      hook->Message(message, wParam, lParam, result, passOn);
      if (!passOn) return static_cast<LRESULT>(result);
    }
    return renderer->HandleForm(*fw, message, wParam, lParam);
  });
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

bool Win32FormRenderer::PressCancelButton(HWND target) {
  for (auto& [form, fw] : forms_) {
    if (!fw->form->Visible() || (target != fw->hwnd && !IsChild(fw->hwnd, target))) continue;
    for (Control* control : fw->form->Controls()) {
      if (control->Kind() != ControlKind::CommandButton || !control->Visible() || !control->Enabled()) continue;
      auto& button = static_cast<CommandButton&>(*control);
      if (!button.Cancel) continue;
      Trapped(fw->form->Name() + "." + button.Name(), [&] {
        Raise(button.Click);
        return LRESULT{0};
      });
      return true;
    }
  }
  return false;
}

}  // namespace tapestrel
