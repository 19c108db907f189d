// A window of the program as a plain object: the properties the program sets and
// reads, and the events the user raises. A renderer (the real window on Windows)
// mirrors the properties and turns user actions into the events; without one, in
// tests, the object is the whole truth.
#pragma once

#include <string>

namespace tapestrel {

class Form;

enum class FormProperty { Caption, Bounds, Visible, WindowState };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
// Where a window first appears: where the program put it, or centred on the screen
// until the program moves it.
enum class StartUpPosition { Manual = 0, CenterScreen = 2 };

class FormRenderer {
 public:
  virtual ~FormRenderer() = default;
  // The form has been loaded: create its window.
  virtual void FormLoaded(Form& form) = 0;
  // A property was set by the program.
  virtual void FormChanged(Form& form, FormProperty property) = 0;
  // The form has been unloaded: destroy its window.
  virtual void FormUnloaded(Form& form) = 0;
};

class Form {
 public:
  Form(std::string name, long width, long height) : name_(std::move(name)), width_(width), height_(height) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // Position and size in twips.
  long Left() const { return left_; }
  long Top() const { return top_; }
  long Width() const { return width_; }
  long Height() const { return height_; }
  void Move(long left, long top, long width, long height);

  StartUpPosition StartPosition() const { return startPosition_; }
  void SetStartUpPosition(StartUpPosition position) { startPosition_ = position; }

  bool Visible() const { return visible_; }
  void Show();
  void Hide();
  WindowState State() const { return state_; }
  void SetWindowState(WindowState state);

  bool Loaded() const { return loaded_; }
  void Load();
  // Unloads the form after asking it; false when it refused.
  bool Unload();

  // The renderer that mirrors this form; set before the form is loaded.
  void SetRenderer(FormRenderer* renderer) { renderer_ = renderer; }

  // Raised by the renderer for what the user did; the model changes without an echo.
  void UserMoved(long left, long top, long width, long height);
  void UserChangedState(WindowState state);
  // The close box or the system menu's Close; answers whether the form unloaded.
  bool UserClose() { return Unload(); }

 protected:
  virtual void Form_Load() {}
  // Return false to keep the form open.
  virtual bool Form_QueryUnload() { return true; }
  virtual void Form_Unload() {}
  virtual void Form_Resize() {}

 private:
  void Changed(FormProperty property);

  std::string name_;
  std::string caption_;
  long left_ = 0;
  long top_ = 0;
  long width_;
  long height_;
  bool visible_ = false;
  bool loaded_ = false;
  WindowState state_ = WindowState::Normal;
  StartUpPosition startPosition_ = StartUpPosition::CenterScreen;
  FormRenderer* renderer_ = nullptr;
};

}  // namespace tapestrel
