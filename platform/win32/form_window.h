// Mirrors forms of the control model into real windows: the form's own window with
// its menu bar and accelerators, a native control for each control of the form, the
// system timers of its timers, and pop-up menus. What the user does to them comes back
// as the model's events; the program's own changes are pushed out and never echoed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/list_view.h"
#include "platform/controls/thumbnail_list.h"
#include "platform/runtime_error.h"

namespace tapestrel {

class Win32FormRenderer : public FormRenderer {
 public:
  explicit Win32FormRenderer(HINSTANCE instance);
  ~Win32FormRenderer() override;
  Win32FormRenderer(const Win32FormRenderer&) = delete;
  Win32FormRenderer& operator=(const Win32FormRenderer&) = delete;

  // Unloading this form ends the message loop.
  void SetMainForm(Form* form) { mainForm_ = form; }
  HWND WindowOf(const Form& form) const;
  HWND WindowOf(const Control& control) const;
  HMENU MenuBarOf(const Form& form) const;
  // The command identifier of a toolbar button, as WM_COMMAND carries it.
  static int ToolbarCommand(int buttonIndex) { return kFirstToolbarCommand + buttonIndex; }
  // Lets a form's accelerators act on a message before it is dispatched.
  bool PreTranslate(MSG& msg);
  // While long work lets messages run: only Esc on a window's cancel button acts.
  bool PreTranslateDuringWork(MSG& msg);

  void FormLoaded(Form& form) override;
  void FormChanged(Form& form, FormProperty property) override;
  void FormUnloaded(Form& form) override;
  void ControlChanged(Control& control, ControlProperty property) override;
  void MenuChanged(Menu& menu, MenuProperty property) override;
  void Focus(Control& control) override;
  void PopupMenu(Form& form, Menu& menu, Menu* defaultItem, bool atMouse, long x, long y) override;
  void RunModal(Form& form) override;

  // Twips per screen pixel (15 at 96 dots per inch).
  static int TwipsPerPixel();

  // Every window message the program's handlers serve runs inside a trap: a failure
  // that no handler caught is given here (where: the form, and the control, the event
  // came to), and the program goes on. Without one it is shown in a plain message box.
  std::function<void(const RuntimeError& error, const std::string& where)> ErrorTrap;

 private:
  struct FormWindow;
  struct ControlWindow;
  // Runs a handler's work; what it throws goes to ErrorTrap.
  template <typename Work>
  LRESULT Trapped(const std::string& where, Work&& work);
  void Report(const RuntimeError& error, const std::string& where);
  void HookComboEdit(ControlWindow& cw);
  // Esc in a window with a cancel button presses it; false when there is none.
  bool PressCancelButton(HWND target);
  // The item's check shows as a radio mark.
  static void ShowAsRadio(HMENU menu, UINT command);
  void RepointImageList(const class ImageList* list, HIMAGELIST handle);
  void AddImage(HIMAGELIST handle, const std::string& source, int size);
  static constexpr int kFirstControlId = 3000;
  static constexpr int kFirstToolbarCommand = 4000;
  static constexpr UINT_PTR kFirstTimerId = 100;

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleForm(FormWindow& fw, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleControl(ControlWindow& cw, UINT message, WPARAM wParam, LPARAM lParam);
  void HandleCommand(FormWindow& fw, WPARAM wParam, LPARAM lParam);
  LRESULT HandleNotify(FormWindow& fw, NMHDR& header);
  // The background a caption-bearing control on a tab strip's page paints with: the
  // page's own colour, which a theme may make other than the window's. None for a
  // control elsewhere.
  HBRUSH PageBrushFor(HWND child, HDC dc);
  void HandleMenuSelect(FormWindow& fw, WPARAM wParam, LPARAM lParam);
  void BuildSystemMenu(FormWindow& fw);
  // A scroll bar's arrows, track and thumb, turned into its new value.
  void HandleScroll(HWND bar, int code);

  void CreateControl(FormWindow& fw, Control& control);
  void StackContainersBelow(const Form& form);
  bool StepTab(Form& form);
  void Push(ControlWindow& cw, ControlProperty property);
  void PushAll(ControlWindow& cw);
  void PushBounds(ControlWindow& cw);
  void PushItems(ControlWindow& cw);
  void PushToolbar(ControlWindow& cw);
  void PushStatusParts(ControlWindow& cw);
  void FlushStatusTexts(ControlWindow& cw);
  void PushListView(ControlWindow& cw, ControlProperty property);
  // The items' selection and focus from the model, and an item brought into view (-1: none).
  void PushListSelection(ControlWindow& cw, int keepInView);
  void PushTimer(ControlWindow& cw);
  void ReportBars(FormWindow& fw);
  void ReportPlacement(FormWindow& fw);
  HIMAGELIST ImagesFor(const class ImageList* list);
  // The image list of a list's Thumbnails view, brought up to date with its pictures and
  // icons; nullptr when the list has no pictures.
  HIMAGELIST ThumbnailsFor(const ListView& list);
  // The image a list's item shows in the Thumbnails view.
  int ThumbnailImageOf(ListView& list, int index);
  // The image lists of a list's view; for a new view, the icons' spacing too.
  void ShowViewImages(ControlWindow& cw, bool newView);

  void BuildMenuBar(FormWindow& fw);
  HMENU BuildMenu(FormWindow& fw, const Menu& parent, bool popup);
  void BuildAccelerators(FormWindow& fw);

  FormWindow* FormOf(const Form& form) const;
  ControlWindow* ControlOf(const Control& control) const;

  HINSTANCE instance_;
  Form* mainForm_ = nullptr;
  std::map<const Form*, std::unique_ptr<FormWindow>> forms_;
  std::map<const Control*, std::unique_ptr<ControlWindow>> controls_;
  // One system image list a model image list, shared by every window that shows it (both
  // file lists use the same icons); `sources` are the images it holds, in order.
  struct ImageListHandle {
    HIMAGELIST handle = nullptr;
    std::vector<std::string> sources;
  };
  std::map<const class ImageList*, ImageListHandle> imageLists_;
  // One system image list a model thumbnail list: the icons of the lists that show it,
  // centred in cells of the pictures' size, then the pictures, each replaced where its
  // slot takes another.
  struct ThumbnailHandle {
    HIMAGELIST handle = nullptr;
    int size = 0;
    std::vector<std::string> iconSources;
    std::vector<std::uint64_t> slotSerials;
    std::vector<int> slotImages;
  };
  std::map<const class ThumbnailList*, ThumbnailHandle> thumbnailLists_;
  HFONT defaultFont_;
  bool ownsDefaultFont_ = false;
  // Set while the renderer itself changes a window, so that the echo of its own change
  // is not taken for the user's.
  bool pushing_ = false;
};

}  // namespace tapestrel
