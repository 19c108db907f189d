// A window of the program as a plain object: the properties the program sets and
// reads, its controls and menus, and the events the user raises. A renderer (the real
// window on Windows) mirrors the properties and turns user actions into the events;
// without one, in tests, the object is the whole truth.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/menu.h"

namespace tapestrel {

class Form;
struct Bitmap;

enum class FormProperty { Caption, Bounds, Visible, WindowState, MenuBar, Icon, Picture, TopMost, SystemMenu };

// An item the program adds to a window's system menu, after the system's own.
struct SystemMenuItem {
  int command = 0;
  std::string caption;  // empty: a separator
  bool checked = false;
};

class MessageHook;
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
// Where a window first appears: where the program put it, or centred on the screen
// until the program moves it.
enum class StartUpPosition { Manual = 0, CenterScreen = 2 };

class FormRenderer {
 public:
  virtual ~FormRenderer() = default;
  // The form has been loaded: create its window and the windows of its controls.
  virtual void FormLoaded(Form& form) = 0;
  // A property was set by the program.
  virtual void FormChanged(Form& form, FormProperty property) = 0;
  // The form has been unloaded: destroy its window.
  virtual void FormUnloaded(Form& form) = 0;
  virtual void ControlChanged(Control& control, ControlProperty property) = 0;
  virtual void MenuChanged(Menu& menu, MenuProperty property) = 0;
  virtual void Focus(Control& control) = 0;
  // Shows a pop-up menu at a point of the form (twips) or, with no point, at the mouse;
  // returns when the menu has closed.
  virtual void PopupMenu(Form& form, Menu& menu, Menu* defaultItem, bool atMouse, long x, long y) = 0;
  // Shows the form as a modal dialog over the program's other windows; returns when the
  // form is hidden or unloaded.
  virtual void RunModal(Form& form) = 0;
};

class Form {
 public:
  Form(std::string name, long width, long height);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // Position and outer size in twips; the inner (client) size is the outer less the frame.
  long Left() const { return left_; }
  long Top() const { return top_; }
  long Width() const { return width_; }
  long Height() const { return height_; }
  void Move(long left, long top, long width, long height);
  long ScaleWidth() const { return width_ - frameWidth_; }
  long ScaleHeight() const { return height_ - frameHeight_; }

  StartUpPosition StartPosition() const { return startPosition_; }
  void SetStartUpPosition(StartUpPosition position) { startPosition_ = position; }

  bool Visible() const { return visible_; }
  void Show();
  void Hide();
  // Shows the form modally: returns when it has been hidden or unloaded. Without a
  // renderer (tests) `WhileModal` stands for the user and must close it; a dialog left
  // open is closed as by its system menu.
  void ShowModal();
  std::function<void()> WhileModal;
  // Whether the form is up as a modal dialog (inside ShowModal).
  bool ShowingModally() const { return modal_; }
  WindowState State() const { return state_; }
  void SetWindowState(WindowState state);
  // "Topmost" windows (a splash) stay above the others.
  bool TopMost = false;
  // Whether the window has a caption bar, sizing border and menu bar (dialogs have fewer).
  bool Sizable = true;
  // A window without any frame or caption (a full-screen view); set before it loads.
  bool Borderless = false;
  // The window's background colour (0x00RRGGBB; negative: the system's face colour).
  long BackColor = -1;
  // What is drawn on the window's background and stays there: a picture the size of the
  // window or smaller, at its top left corner, and a text printed over it.
  const std::shared_ptr<const Bitmap>& Picture() const { return picture_; }
  const std::string& PrintedText() const { return printedText_; }
  void SetPicture(std::shared_ptr<const Bitmap> picture, std::string printedText = "");
  // Keys move among the controls as in a dialog: Tab and Shift+Tab, the arrow keys within
  // a group of option buttons, Alt and a caption's underlined letter. Set before it loads.
  bool DialogKeys = false;
  // With KeyPreview the form hears every key of its controls before they do (a key
  // code or character set to 0 goes no further), and the keys that reach the window itself.
  bool KeyPreview = false;
  std::function<void(int& keyCode, int shift)> KeyDown;
  std::function<void(int& keyAscii)> KeyPress;
  // A key pressed in the window or one of its controls, heard before the menus'
  // shortcuts are: answering true takes the key, and no shortcut or control sees it.
  std::function<bool(int keyCode, int shift)> BeforeShortcuts;
  // The mouse on the window's own background.
  std::function<void(int button, int shift, long x, long y)> MouseDown;
  std::function<void(int button, int shift, long x, long y)> MouseUp;
  std::function<void()> DblClick;

  bool Loaded() const { return loaded_; }
  void Load();
  // Unloads the form after asking it; false when it refused.
  bool Unload();

  // The renderer that mirrors this form; set before the form is loaded.
  void SetRenderer(FormRenderer* renderer) { renderer_ = renderer; }
  FormRenderer* Renderer() const { return renderer_; }

  const std::vector<Control*>& Controls() const { return controls_; }
  MenuSet& Menus() { return menus_; }
  const MenuSet& Menus() const { return menus_; }

  // The control with the keyboard focus, or none.
  Control* ActiveControl() const { return activeControl_; }
  void PopupMenu(Menu& menu, Menu* defaultItem = nullptr);
  void PopupMenuAt(Menu& menu, long x, long y, Menu* defaultItem = nullptr);
  // Without a renderer (tests) this stands for the user while a pop-up menu is open.
  std::function<void(Menu& menu, Menu* defaultItem)> WhilePopup;

  // Raised by the renderer for what the user did; the model changes without an echo.
  void UserMoved(long left, long top, long width, long height);
  void UserChangedState(WindowState state);
  void UserFrame(long frameWidth, long frameHeight);
  void UserFocused(Control* control);
  // A menu item was highlighted. In the window's system menu there is no item of the
  // model: `systemCommand` then carries the system's command (0 for the menu itself);
  // elsewhere it is -1. No item and -1: the menu closed.
  std::function<void(Menu* menu, int systemCommand)> MenuSelect;
  // The mouse over the window's own background (not over one of its controls).
  std::function<void(int button, int shift, long x, long y)> MouseMove;
  // F1: help on the highlighted menu item, or on the window.
  std::function<void(Menu* menu)> Help;
  // The close box, the system menu's Close or Alt+F4; answers whether the form unloaded.
  bool UserClose() { return Form_UserClose(); }
  // Brings the window above every other window (or lets it go back among them).
  void SetTopMost(bool topMost);

  // The program's items of the system menu; tell the renderer after changing them.
  std::vector<SystemMenuItem> SystemMenuItems;
  void SystemMenuChanged() { Changed(FormProperty::SystemMenu); }
  // A hook that hears some of this window's messages before the window does.
  MessageHook* Hook = nullptr;

  // The renderer's own handle for the window while it is loaded (none without one).
  void* native = nullptr;
  // The shell's taskbar came back (Explorer restarted): notification-area icons are gone.
  std::function<void()> TaskbarCreated;
  // The monitors changed (a resolution, a monitor plugged in or out), or the machine
  // woke from sleep.
  std::function<void()> DisplayChanged;

  // For controls and menus: tell the renderer about a change.
  void Register(Control& control) { controls_.push_back(&control); }
  void ControlChanged(Control& control, ControlProperty property);
  void MenuChanged(Menu& menu, MenuProperty property);
  void FocusControl(Control& control);

 protected:
  virtual void Form_Load() {}
  // Return false to keep the form open.
  virtual bool Form_QueryUnload() { return true; }
  virtual void Form_Unload() {}
  virtual void Form_Resize() {}
  // The hidden form has just been shown.
  virtual void Form_Shown() {}
  // What closing by the user does: unloading, unless the form has a way out of its own.
  virtual bool Form_UserClose() { return Unload(); }

 private:
  void Changed(FormProperty property);
  bool Rendered() const { return renderer_ && loaded_; }

  std::string name_;
  std::string caption_;
  long left_ = 0;
  long top_ = 0;
  long width_;
  long height_;
  // Typical frame of a sizable window with a caption and a menu bar, until the renderer
  // reports the real one.
  long frameWidth_ = 120;
  long frameHeight_ = 690;
  bool visible_ = false;
  bool loaded_ = false;
  bool modal_ = false;
  WindowState state_ = WindowState::Normal;
  StartUpPosition startPosition_ = StartUpPosition::CenterScreen;
  FormRenderer* renderer_ = nullptr;
  std::vector<Control*> controls_;
  MenuSet menus_{*this};
  Control* activeControl_ = nullptr;
  std::shared_ptr<const Bitmap> picture_;
  std::string printedText_;
};

}  // namespace tapestrel
