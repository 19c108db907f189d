// The status bar with keyed panels and the toolbar with keyed buttons.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace tapestrel {

class ImageList;

class StatusBar : public Control {
 public:
  struct Panel {
    std::string key;
    std::string text;
    long width = 1440;    // twips
    bool autoSize = false;  // takes the room the others leave
  };

  StatusBar(Form& form, std::string name) : Control(form, ControlKind::StatusBar, std::move(name)) {
    Control::UserSized(Width(), 315);
  }
  const std::vector<Panel>& Panels() const { return panels_; }
  void AddPanel(const std::string& key, long width, bool autoSize = false);
  void ClearPanels();
  bool HasPanel(const std::string& key) const { return IndexOf(key) >= 0; }
  const std::string& PanelText(const std::string& key) const;
  void SetPanelText(const std::string& key, const std::string& text);
  int IndexOf(const std::string& key) const;
  // The panel a renderer should update after the last change (-1: all of them).
  int ChangedPanel() const { return changedPanel_; }

  // The mouse button of the last press on the bar (1 left, 2 right).
  int LastButton = 1;
  // The user clicked or double-clicked a panel (by key); LastButton says with which button.
  std::function<void(const std::string& key)> PanelClick;
  std::function<void(const std::string& key)> PanelDblClick;

 private:
  std::vector<Panel> panels_;
  int changedPanel_ = -1;
};

class Toolbar : public Control {
 public:
  enum class Style { Default, Check, Separator, Placeholder };
  struct Button {
    std::string key;
    std::string image;
    std::string toolTip;
    Style style = Style::Default;
    bool pressed = false;
    bool enabled = true;
    long width = 0;  // placeholders: the room kept for a control placed on the bar
    long left = 0;   // where the button sits on the bar, in twips
  };

  Toolbar(Form& form, std::string name) : Control(form, ControlKind::Toolbar, std::move(name)) {
    Control::UserSized(Width(), 390);
  }
  // The size of an ordinary button and of a separator, in twips (the renderer may
  // report the real ones).
  long ButtonWidth = 345;
  long SeparatorWidth = 120;

  ImageList* Images = nullptr;
  bool Wrappable() const { return wrappable_; }
  void SetWrappable(bool wrappable);

  const std::vector<Button>& Buttons() const { return buttons_; }
  void AddButton(const std::string& key, const std::string& image, const std::string& toolTip,
                 Style style = Style::Default, long width = 0);
  void ClearButtons();
  int IndexOf(const std::string& key) const;
  const Button& ButtonOf(const std::string& key) const;
  void SetToolTip(const std::string& key, const std::string& toolTip);
  void SetPressed(const std::string& key, bool pressed);
  void SetButtonEnabled(const std::string& key, bool enabled);
  // The renderer reports where a button really is after the bar laid itself out.
  void UserPlacedButton(int index, long left, long width);

  // The user pressed a button (by key).
  std::function<void(const std::string& key)> ButtonClick;

 private:
  void Relayout();
  std::vector<Button> buttons_;
  bool wrappable_ = true;
};

}  // namespace tapestrel
