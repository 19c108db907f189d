// The main window's side of MainView: what the routine groups ask it to show, mapped to
// its controls and menus.
#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/program.h"
#include "catalogue/file_list.h"
#include "platform/text.h"
#include "wallpaper/screen_layout.h"

namespace tapestrel {

const MenuArray& FrmMain::PopUpItems(PopUp menu) const {
  switch (menu) {
    case PopUp::Viewer:
      return mCustom2;
    case PopUp::List:
      return mCustom3;
    case PopUp::Tray:
      break;
  }
  return mCustom;
}

void FrmMain::ShowFilter(int list, const std::string& filter) {
  StatusBar.SetPanelText(list == 1 ? "bmpfilter" : "altfilter", filter);
}

void FrmMain::LeaveForViewer() {
  Hide();
  mCustom[21].SetVisible(true);
  mCustom[22].SetVisible(false);
  tbrCommands.SetEnabled(false);
}

void FrmMain::ReturnFromViewer() {
  Show();
  SetWindowState(WindowState::Normal);
  mCustom[22].SetVisible(false);
  tbrCommands.SetEnabled(true);
}

void FrmMain::ShowFileList(int list) {
  SetCurrentList(list);
  tbrCommands.SetPressed("bmps", list == 1);
  tbrCommands.SetPressed("alts", list == 0);
  tbrCommands.SetButtonEnabled("decode", list == 0);
}

void FrmMain::AddFileIcon(const std::string& key, const std::string& icon, bool large) {
  (large ? imglstLargeIcon : imglstSmallIcon).Add(key, icon);
}

void FrmMain::ShowSortKey(int key) {
  for (int i = 0; i < 6; ++i) {
    mSort[i].SetChecked(i == key);
    mSortPopUp[i].SetChecked(i == key);
  }
}

void FrmMain::SetUserAltPattern(const std::string& entry) {
  // The user's extension takes the place after the fixed entries, for this run only.
  while (cboListAltFilePatterns.ListCount() > kUserAltPatternPlace) cboListAltFilePatterns.RemoveItem(kUserAltPatternPlace);
  cboListAltFilePatterns.AddItem(entry);
}

std::string FrmMain::ChosenPaneFolder() const {
  const int index = dirPictures.ListIndex();
  if (index >= 0 && index < static_cast<int>(dirPictures.Entries().size()))
    return dirPictures.Entries()[static_cast<std::size_t>(index)].path;
  return dirPictures.Path();
}

void FrmMain::ShowPaneFolder(const std::string& folder, const std::vector<FolderEntry>& entries) {
  dirPictures.SetPath(folder, entries);
}

void FrmMain::ShowFolderBoxEntries(const std::vector<std::string>& folders) {
  cboPictureDirectories.Clear();
  for (const std::string& folder : folders) cboPictureDirectories.AddItem(folder);
}

void FrmMain::ShowClockState(bool running) {
  tbrCommands.SetPressed("timer", running);
  mCustom[0].SetChecked(running);
  mCustom2[0].SetChecked(running);
  // The help lines say what choosing the item would do now.
  const char* const help = running ? "Turns the timer off." : "Turns the timer on.";
  for (Menu* item : {&mnuTimerOnOff, &mCustom[0], &mCustom2[0]}) item->SetHelpLine(help);
}

void FrmMain::FocusIntervalBox() {
  txtCustomChangeInterval.SetFocus();
  SelectIntervalText();
}

void FrmMain::SelectIntervalText() {
  txtCustomChangeInterval.SetSelection(0, static_cast<int>(txtCustomChangeInterval.Text().size()));
}

void FrmMain::ShowHistory(const std::vector<std::string>& paths) {
  MenuSet& menus = Menus();
  Menu& file = menus.Get("mnuFile");
  // Take the old entries out, then put one item a path after the separator.
  for (int i = 1; Menu* old = menus.Find("mnuBackdropHistory", i); ++i) menus.Remove(*old);
  if (Menu* trailing = menus.Find("mnuBackdropHistoryEnd")) menus.Remove(*trailing);
  int at = file.PositionOf(mnuBackdropHistory[0]) + 1;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    Menu& item = menus.Add("mnuBackdropHistory", static_cast<int>(i) + 1, &file, at++);
    item.SetHelpContextID(1006);
    item.SetCommandId(IDM_BACKDROP_HISTORY + static_cast<int>(i) + 1);
    item.SetCaption("&" + NumberText(static_cast<double>(i + 1)) + " " + paths[i]);
    const int id = item.CommandId();
    item.Click = [this, id] { Dispatch(id); };
  }
  if (!paths.empty()) menus.Add("mnuBackdropHistoryEnd", -1, &file, at).SetCaption("-");
}

void FrmMain::ShowBackdropMode(int mode) {
  for (int i = 0; i < backdrop::kCount; ++i) mnuBackdropMode[i].SetChecked(i == mode);
  const bool internal = IsInternalMode(mode);
  mCustom[7].SetChecked(internal);
  program_.systemMenu.SetSystemMenuCheck(internal ? 1 : 0, 7);
  mnuToggleBackdropMode[0].SetVisible(internal);
  mnuToggleBackdropMode[1].SetVisible(!internal);
}

void FrmMain::ShowScreenArrangement(int arrangement) {
  for (int i = 0; i < kScreenArrangements; ++i) mnuScreenArrangement[i].SetChecked(i == arrangement);
}

void FrmMain::ShowScreenSaverChoice(bool on) {
  mnuScreenSaver[1].SetChecked(on);
  mnuScreenSaver[0].SetChecked(!on);
}

void FrmMain::ShowDecoderMarks(const DecoderMarks& marks) {
  RadioCheck(Mnu_DCT, 3, marks.dctMethod);
  mnu24bitColor.SetChecked(!marks.eightBit);
  mnu8bitColor.SetChecked(marks.eightBit);
  RadioCheck(Mnu_Dith, 3, marks.dither);
  RadioCheck(Mnu_JPGDith, 3, marks.jpegDither);
  Mnu_TwoPass.SetChecked(marks.twoPass);
  Mnu_Fancy.SetChecked(marks.fancy);
  mnuInternalDecode.SetChecked(marks.internal);
  mnuExternalDecodeOn.SetChecked(!marks.internal);
  Mnu_ReduceJpegSize.SetChecked(marks.reduceJpegSize);
}

void FrmMain::SetPopUpItemCaption(PopUp menu, int index, const std::string& caption) {
  PopUpItems(menu)[index].SetCaption(caption);
}

void FrmMain::UpdatePopUpCaptions(PopUp menu) { UpdatePopUpCaptions(menu == PopUp::Viewer ? "mCustom2" : "mCustom"); }

void FrmMain::RunPopUpItem(PopUp menu, int index) {
  switch (menu) {
    case PopUp::Tray:
      mCustom_Click(index);
      break;
    case PopUp::Viewer:
      mCustom2_Click(index);
      break;
    case PopUp::List:
      mCustom3_Click(index);
      break;
  }
}

void FrmMain::ShowViewerPopUp(int defaultItem) {
  Menu& menu = Menus().Get("mPopUp2");
  menu.SetVisible(true);
  PopupMenu(menu, &mCustom2[defaultItem]);
  menu.SetVisible(false);
}

}  // namespace tapestrel
