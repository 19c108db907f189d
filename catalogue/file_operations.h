// What the user does to the files selected in the current list. The decode operation
// hands them to the decoder; the list then shows what is on disk.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class Program;

class FileOperations {
 public:
  enum Operation { Delete = 0, Move = 1, Remove = 2, Decode = 3 };
  explicit FileOperations(Program& program) : program_(program) {}

  // The command behind the menus, the pop-up, the toolbar and the keys.
  void OperateOnFiles(Operation operation);

 private:
  struct Selected {
    int index;
    std::string path;
  };
  std::vector<Selected> CollectSelected();
  // Takes off the list the processed files that are no longer where they were.
  void CheckProcessed(const std::vector<Selected>& processed);
  void Tell(const std::string& text, int style);

  Program& program_;
};

}  // namespace tapestrel
