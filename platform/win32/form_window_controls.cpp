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

// Child windows for the model's controls, and pushing property changes out to them.

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
    case ControlKind::TextBox: {
      const auto& box = static_cast<const TextBox&>(control);
      cls = "EDIT";
      style |= WS_TABSTOP | (box.MultiLine ? ES_MULTILINE : ES_AUTOHSCROLL) | (box.Locked ? ES_READONLY : 0);
      exStyle = WS_EX_CLIENTEDGE;
      break;
    }
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
      // Not the automatic kind: the window's other buttons are not its group, the model's
      // array is, and the model sets every button's mark.
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_RADIOBUTTON;
      break;
    case ControlKind::Frame:
      // See-through, so that what lies under it (a tab strip's page) shows inside it.
      cls = "BUTTON";
      style |= BS_GROUPBOX;
      exStyle = WS_EX_TRANSPARENT;
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
      style |= static_cast<ScrollBar&>(control).Vertical ? SBS_VERT : SBS_HORZ;
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
  // Each control begins a group but the later buttons of an array of option buttons:
  // the arrow keys move within an array.
  if (!(control.Kind() == ControlKind::OptionButton && control.Index() > 0)) style |= WS_GROUP;
  PushGuard guard(pushing_);
  cw.hwnd = CreateWindowExA(exStyle, cls, "", style, px(control.Left()), px(control.Top()), px(control.Width()),
                            px(control.Height()), fw.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(cw.id)),
                            instance_, nullptr);
  if (!cw.hwnd) return;
  SetPropA(cw.hwnd, kControlProp, &cw);
  cw.oldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(cw.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32FormRenderer::ControlProc)));
  SendMessageA(cw.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont_), FALSE);
  if (control.AcceptsDrops) DragAcceptFiles(cw.hwnd, TRUE);
  if (control.Kind() == ControlKind::ComboBox) HookComboEdit(cw);
  if (control.Kind() == ControlKind::Toolbar) {
    SendMessageA(cw.hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(cw.hwnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  }
  if (control.Kind() == ControlKind::ListView)
    SendMessageA(cw.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  // Controls that sit on the toolbar or in a frame must stay above it (the form's first
  // controls are stacked all together once they are made).
  if (control.Container() && fw.created) SetWindowPos(cw.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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
  const bool grows = images.handle && GrowsInto(images.sources, wanted);
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

void Win32FormRenderer::FlushStatusTexts(ControlWindow& cw) {
  const auto& bar = static_cast<const StatusBar&>(*cw.control);
  for (std::size_t i = 0; i < bar.Panels().size() && i < 32; ++i)
    if (cw.pendingPanels & (1u << i))
      SendMessageA(cw.hwnd, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(bar.Panels()[i].text.c_str()));
  cw.pendingPanels = 0;
  cw.lastStatusPush = GetTickCount();
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
      static constexpr DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT, LVS_ICON};
      static_assert(std::size(styles) == ListView::kViews);
      const LONG_PTR style = GetWindowLongPtrA(cw.hwnd, GWL_STYLE);
      SetWindowLongPtrA(cw.hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | styles[list.GetView()]);
      ShowViewImages(cw, true);
      // Going between large icons and thumbnails keeps the list's kind of view: its
      // items are laid out at the new spacing only when arranged, and Wine measures its
      // scrolling again only when told of them anew. Their states go with them.
      ListView_Arrange(cw.hwnd, LVA_DEFAULT);
      ListView_SetItemCountEx(cw.hwnd, 0, LVSICF_NOSCROLL);
      ListView_SetItemCountEx(cw.hwnd, list.Count(), LVSICF_NOSCROLL);
      PushListSelection(cw, list.FocusedIndex());
      // The list lays its items out anew for the new view only when told to redraw.
      SetWindowPos(cw.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
      InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    }
    case ControlProperty::ItemImage:
      if (list.GetView() != ListView::Thumbnails) break;
      ThumbnailsFor(list);
      if (list.RedrawRequest() >= 0 && list.RedrawRequest() < list.Count())
        ListView_RedrawItems(cw.hwnd, list.RedrawRequest(), list.RedrawRequest());
      else
        InvalidateRect(cw.hwnd, nullptr, TRUE);
      break;
    case ControlProperty::Items:
      ShowViewImages(cw, false);
      ListView_SetItemCountEx(cw.hwnd, list.Count(), 0);
      InvalidateRect(cw.hwnd, nullptr, TRUE);
      [[fallthrough]];
    case ControlProperty::Selection:
      PushListSelection(cw, list.VisibleRequest());
      break;
    default:
      break;
  }
}

void Win32FormRenderer::PushListSelection(ControlWindow& cw, int keepInView) {
  const auto& list = static_cast<const ListView&>(*cw.control);
  ListView_SetItemState(cw.hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items()[i].selected) ListView_SetItemState(cw.hwnd, i, LVIS_SELECTED, LVIS_SELECTED);
  if (list.FocusedIndex() >= 0) ListView_SetItemState(cw.hwnd, list.FocusedIndex(), LVIS_FOCUSED, LVIS_FOCUSED);
  if (keepInView >= 0 && keepInView < list.Count()) ListView_EnsureVisible(cw.hwnd, keepInView, FALSE);
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
        case ControlKind::TextBox: {
          const auto& box = static_cast<TextBox&>(c);
          // An edit control breaks lines at CR LF only.
          SetWindowTextA(cw.hwnd, (box.MultiLine ? win32_detail::WithCrLf(box.Text()) : box.Text()).c_str());
          break;
        }
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
      if (c.Kind() == ControlKind::ComboBox) {
        const auto& combo = static_cast<ComboBox&>(c);
        SendMessageA(cw.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
        // No entry chosen empties the edit field; a text of its own goes back there.
        if (combo.ListIndex() < 0 && combo.GetStyle() != ComboBox::DropDownList)
          SetWindowTextA(cw.hwnd, combo.Text().c_str());
      } else if (c.Kind() == ControlKind::DriveListBox || c.Kind() == ControlKind::DirListBox) PushItems(cw);
      break;
    case ControlProperty::Value:
      if (c.Kind() == ControlKind::CheckBox) SendMessageA(cw.hwnd, BM_SETCHECK, static_cast<WPARAM>(static_cast<CheckBox&>(c).Value()), 0);
      else if (c.Kind() == ControlKind::OptionButton) SendMessageA(cw.hwnd, BM_SETCHECK, static_cast<OptionButton&>(c).Value() ? BST_CHECKED : BST_UNCHECKED, 0);
      else if (c.Kind() == ControlKind::TabStrip) SendMessageA(cw.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(static_cast<TabStrip&>(c).SelectedTab()), 0);
      else if (c.Kind() == ControlKind::ScrollBar) {
        const auto& bar = static_cast<ScrollBar&>(c);
        SetScrollRange(cw.hwnd, SB_CTL, bar.Min, bar.Max, FALSE);
        SetScrollPos(cw.hwnd, SB_CTL, bar.Value(), TRUE);
      } else if (c.Kind() == ControlKind::PictureBox) {
        InvalidateRect(cw.hwnd, nullptr, TRUE);
      }
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
    case ControlProperty::ItemImage:
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

}  // namespace tapestrel
