// The options dialog's fields of outside viewers and editors, as the outside-programs
// group fills and reads them: five viewers (0-4) and five editors (5-9), and one box of
// choices for each kind (0 viewers, 1 editors).
#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

namespace tapestrel {

class ProgramFields {
 public:
  virtual ~ProgramFields() = default;
  virtual std::string ProgramField(int n) const = 0;
  // A file chosen in the open-file box goes into field `n` (answered; empty: none); the
  // box starts on the field's file when `fromField` is set.
  virtual std::string BrowseIntoProgramField(int n, const OpenFileRequest& request, bool fromField) = 0;
  // The entry chosen in a kind's box (-1: none), and its entries with one chosen.
  virtual int ProgramChoice(int kind) const = 0;
  virtual void ShowProgramChoices(int kind, const std::vector<std::string>& entries, int chosen) = 0;
};

}  // namespace tapestrel
