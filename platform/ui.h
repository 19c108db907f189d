// Message boxes and the other small services of the user interface that logic needs
// without knowing any window.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tapestrel {

// Buttons, icons and answers of a message box, as Windows numbers them.
namespace mb {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdAbort = 3;
inline constexpr int IdRetry = 4;
inline constexpr int IdIgnore = 5;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
}  // namespace mb

// What the system's file-open dialog is given: its filters (description, pattern) in
// order, the one shown first (counted from 1), the extension a bare name gets, its
// title, and the file and folder it opens on.
struct OpenFileRequest {
  std::vector<std::pair<std::string, std::string>> filters;
  int filterIndex = 1;
  std::string defaultExtension;
  std::string title;
  std::string initialFile;
  std::string initialFolder;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows a modal message box; returns the answer (mb::IdOk, mb::IdYes, ...).
  virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
  // The shell's folder browser; the chosen file-system folder, or empty text when the
  // user cancels or picks something that is not a folder on disk.
  virtual std::string BrowseForFolder(const std::string& title) = 0;
  // The system's file-open dialog, owned by the active window: the chosen file, or empty
  // text when the user cancels.
  virtual std::string OpenFileName(const OpenFileRequest& request) = 0;
  // Asks for a line of text; empty text when the user cancels.
  virtual std::string InputBox(const std::string& prompt, const std::string& title, const std::string& initial) = 0;
  // Lets pending window, timer and input events run. Loops call it once per item; calls
  // that come in quick succession may be answered by one pass every few milliseconds.
  virtual void DoEvents() = 0;
  virtual void Beep() = 0;
  // Opens a help file at a context number (0: its contents); false when it could not.
  virtual bool ShowHelp(const std::string& file, int context) = 0;

  // Whether one of the boxes above (or another modal window the program opened and
  // counted with ModalScope) is open: the program's timers and the events window still
  // run meanwhile, and must not open more windows over it.
  bool ModalOpen() const { return modalDepth_ > 0; }
  class ModalScope {
   public:
    explicit ModalScope(Ui& ui) : ui_(ui) { ++ui_.modalDepth_; }
    ~ModalScope() { --ui_.modalDepth_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    Ui& ui_;
  };

 private:
  int modalDepth_ = 0;
};

}  // namespace tapestrel
