// The user interface in memory: every message box is recorded and answered from a
// script of answers given by the test (or with its default button when none is left).
#pragma once

#include <functional>
#include <utility>

#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tapestrel {

class MemoryUi : public Ui {
 public:
  struct Message {
    std::string prompt;
    int style;
    std::string title;
  };

  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title, const std::string& initial) override {
    inputs_.push_back({prompt, 0, title});
    if (typed_.empty()) return initial;  // the user pressed Enter on what was offered
    std::string answer = typed_.front();
    typed_.pop_front();
    return answer;
  }
  std::string BrowseForFolder(const std::string& title) override {
    inputs_.push_back({"", 0, title});
    if (chosen_.empty()) return "";
    std::string folder = chosen_.front();
    chosen_.pop_front();
    return folder;
  }
  std::string OpenFileName(const OpenFileRequest& request) override {
    openRequests.push_back(request);
    if (picked_.empty()) return "";
    std::string file = picked_.front();
    picked_.pop_front();
    return file;
  }
  // The file the user picks in the next file-open dialog (none left: cancelled).
  void Pick(const std::string& file) { picked_.push_back(file); }
  std::vector<OpenFileRequest> openRequests;
  // The folder the user picks in the next folder browser.
  void Choose(const std::string& folder) { chosen_.push_back(folder); }
  // What the user types into the next input box.
  void Type(const std::string& text) { typed_.push_back(text); }
  const std::vector<Message>& Inputs() const { return inputs_; }
  void DoEvents() override {
    ++doEventsCalls_;
    // What the user (or a timer) does while a long command lets events run, or while a
    // message box is open: done once, then forgotten.
    if (auto pending = std::exchange(whilePending, nullptr)) pending();
  }
  std::function<void()> whilePending;
  void Beep() override { ++beeps_; }
  bool ShowHelp(const std::string& file, int context) override {
    helpRequests_.push_back({file, context});
    return true;
  }
  struct HelpRequest {
    std::string file;
    int context;
  };
  const std::vector<HelpRequest>& HelpRequests() const { return helpRequests_; }

  void Answer(int answer) { answers_.push_back(answer); }
  const std::vector<Message>& Messages() const { return messages_; }
  // The texts of the messages shown, in order.
  std::vector<std::string> Prompts() const {
    std::vector<std::string> all;
    for (const Message& m : messages_) all.push_back(m.prompt);
    return all;
  }
  void ClearMessages() { messages_.clear(); }
  int DoEventsCalls() const { return doEventsCalls_; }
  int Beeps() const { return beeps_; }

 private:
  std::vector<Message> messages_;
  std::deque<int> answers_;
  std::deque<std::string> typed_;
  std::deque<std::string> chosen_;
  std::deque<std::string> picked_;
  std::vector<Message> inputs_;
  int doEventsCalls_ = 0;
  int beeps_ = 0;
  std::vector<HelpRequest> helpRequests_;
};

}  // namespace tapestrel
