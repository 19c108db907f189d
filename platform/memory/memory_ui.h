// The user interface in memory: every message box is recorded and answered from a
// script of answers given by the test (or with its default button when none is left).
#pragma once

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
  void DoEvents() override { ++doEventsCalls_; }
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
  int doEventsCalls_ = 0;
  int beeps_ = 0;
  std::vector<HelpRequest> helpRequests_;
};

}  // namespace tapestrel
