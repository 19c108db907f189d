// The main window of the program.
#pragma once

#include "platform/controls/form.h"

namespace tapestrel {

class Program;

class FrmMain : public Form {
 public:
  // Design size in twips, kept when no position has been saved.
  static constexpr long kDesignWidth = 11520;
  static constexpr long kDesignHeight = 7200;

  explicit FrmMain(Program& program) : Form("frmMain", kDesignWidth, kDesignHeight), program_(program) {}

 protected:
  void Form_Unload() override;

 private:
  Program& program_;
};

}  // namespace tapestrel
