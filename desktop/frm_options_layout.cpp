// The options dialog's captions, initial texts and places (twips), tab by tab.
#include "desktop/frm_options.h"

namespace tapestrel {

namespace {

// The tab strip, and where a tab's page begins.
constexpr long kTabLeft = 90;
constexpr long kTabTop = 90;
constexpr long kTabWidth = 7260;
constexpr long kTabHeight = 5160;
constexpr long kPageTop = 540;
// Frames span the page but for a margin.
constexpr long kFrameLeft = 240;
constexpr long kFrameWidth = 6960;
constexpr long kRow = 255;    // a check box, option button or label
constexpr long kField = 315;  // a text box or combo box
constexpr long kButton = 330;

struct Captioned {
  int index;
  const char* caption;
};

const Captioned kFrames[] = {{0, "File filters"},
                             {1, "External programs"},
                             {2, "&Modify active-folders list"},
                             {3, "Enter &Viewers"},
                             {4, "Enter &Editors"},
                             {5, "&Load event"},
                             {6, "Backdr&op event"},
                             {7, "E&xit event"},
                             {8, "Startup opt&ions"},
                             {9, "Single-Ima&ge Display Position"},
                             {10, "Viewing Window Si&ze"},
                             {11, "Default &Screen Saver"},
                             {12, "Default &Wallpaper and Full-screen Image"}};

const Captioned kLabels[] = {{0, "Viewe&r:"},
                             {1, "Edi&tor:"},
                             {2, "&Alternate image filter:"},
                             {3, "&Bmp image filter:"},
                             {4, "&Custom Filters:"},
                             {5, "Search progress"},
                             {6, "Desktop &Hotkey"}};

const Captioned kMiscBoxes[] = {{0, "&4) Allow toolbar to wrap?"},
                                {1, "&5) Change backdrop randomly?"},
                                {2, "&7) Display Jpeg comments?"},
                                {3, "&9) Observe DOS Box while decoding?"},
                                {4, "1&0) Open Explorer as a single pane?"},
                                {5, "11) Remove f&iles following decoding?"},
                                {6, "12) Save settings immediatel&y?"},
                                {7, "13) Sort after f&illing the list?"},
                                {8, "14) Speed f&ill?"},
                                {9, "Change wallpaper at start&?"},
                                {10, "Display splash screen&?"},
                                {11, "Fill from active folders&?"},
                                {12, "List \"alt\" files&?"},
                                {13, "Run program at startup&?"},
                                {14, "15) Try Jpg2Bmp without conf&irmation?"},
                                {15, "&Play One CD Track"},
                                {18, "&6) Clear active folders at start?"},
                                {19, "&8) Minimize to the tray?"}};

// The "Misc." column, in the order of the numbers in the captions.
const int kMiscColumn[] = {0, 1, 18, 2, 19, 3, 4, 5, 6, 7, 8, 14};

const char* const kJustifications[] = {"Left", "Center", "Right", "Top left", "Top", "Top right",
                                       "Bottom left", "Bottom", "Bottom right"};
const char* const kWindowSizes[] = {"Desktop", "3/4", "1/2", "1/4", "None"};

}  // namespace

void FrmOptions::SetCaptions() {
  SetCaption("Tapestrel Options");
  tabOptions.Tabs = {"&File Options", "Helper Apps", "Play Settings", "Misc.", "More Misc."};
  for (const Captioned& f : kFrames) fraOptions[f.index].SetCaption(f.caption);
  for (const Captioned& l : kLabels) lblOptions[l.index].SetCaption(l.caption);
  for (const Captioned& b : kMiscBoxes) chkMiscOptions[b.index].SetCaption(b.caption);
  static const char* const buttons[] = {"O&K", "CANCEL", "Help"};
  for (int i = 0; i < 3; ++i) cmdOptions[i].SetCaption(buttons[i]);

  static const char* const filterTexts[] = {"cboAlternateImageFilter", "cboBitmapFilter", "Custom Filters"};
  for (int i = 0; i < 3; ++i) cboFileFilters[i].SetText(filterTexts[i]);
  cmdBrowseForActiveDirectories.SetCaption("...");
  static const char* const styles[] = {"&Just One", "Add Sub&-folders", "Add All S&ub-folders"};
  for (int i = 0; i < 3; ++i) optActiveDirectoryAddStyle[i].SetCaption(styles[i]);
  optActiveDirectoryAddStyle[0].SetValue(true);

  for (int i = 0; i < 10; ++i) {
    txtViewer[i].SetText("Viewer");
    cmdBrowseForViewer[i].SetCaption("...");
  }

  static const char* const onCaptions[] = {"&1. On", "&2. On", "&3. On "};
  static const char* const fieldTexts[] = {"MCI device for loaded", "MCI device for backdrop change",
                                           "MCI device for exiting"};
  for (int i = 0; i < 3; ++i) {
    chkMciEvent[i].SetCaption(onCaptions[i]);
    txtMciDevice[i].SetText(fieldTexts[i]);
    cmdBrowseForMciDevice[i].SetCaption("...");
    chkLoopVideo[i].SetCaption("&Loop video.");
    chkMuteVideo[i].SetCaption("Mute vide&o");
    chkPlayNext[i].SetCaption("&Play next");
    cmdPlay[i].SetCaption("Play");
    cmdPause[i].SetCaption("Pause");
    cmdStop[i].SetCaption("Stop");
    cmdRepeat[i].SetCaption("Repeat");
  }
  cmdEjectCD.SetCaption("CD &Door");

  optStartStyle[1].SetCaption("&Normal");
  optStartStyle[0].SetCaption("Minimi&zed");
  txtDefaults[0].SetText("Boss image");
  txtDefaults[1].SetText("Default screen saver");
  for (int i = 0; i < 2; ++i) cmdBrowseForDefaults[i].SetCaption("Browse...");
  optDefaultStyle[0].SetCaption("Tiled");
  optDefaultStyle[1].SetCaption("Single");
  for (int i = 0; i < 9; ++i) optImageJustification[i].SetCaption(kJustifications[i]);
  for (int i = 0; i < 5; ++i) optWindowSize[i].SetCaption(kWindowSizes[i]);
  cmdApply.SetCaption("Apply");
  fraScreens.SetCaption("Screens");
  chkSmoothShrinking.SetCaption("Smooth shrinking");
  chkMatchOrientation.SetCaption("Match orientation");
  lblSkipSmaller.SetCaption("Skip pictures smaller than");
  lblSkipSmallerUnit.SetCaption("% of the screen");
}

void FrmOptions::Place(Control& control, int tab, Control* container, long left, long top, long width, long height) {
  control.SetContainer(container);
  control.Move(left, top, width, height);
  tabs_.emplace_back(&control, tab);
}

void FrmOptions::LayOut() {
  tabOptions.Move(kTabLeft, kTabTop, kTabWidth, kTabHeight);
  const long buttonsTop = kTabTop + kTabHeight + 120;
  for (int i = 0; i < 3; ++i) cmdOptions[i].Move(3720 + i * 1200, buttonsTop, 1100, 360);
  dirActiveDirs.SetVisible(false);
  // Boxes 16 and 17 do not exist: they are never shown.
  chkMiscOptions[16].SetVisible(false);
  chkMiscOptions[17].SetVisible(false);
  Control* tab = &tabOptions;
  const auto frame = [&](int index, int page, long left, long top, long width, long height) {
    Place(fraOptions[index], page, tab, left, top, width, height);
    return &fraOptions[index];
  };

  // "&File Options": the programs in use, the active folders and the filters.
  Control* programs = frame(1, FileOptions, kFrameLeft, kPageTop, kFrameWidth, 1140);
  for (int k = 0; k < 2; ++k) {
    const long top = kPageTop + 330 + k * 390;
    Place(lblOptions[k], FileOptions, programs, kFrameLeft + 160, top + 40, 860, kRow);
    Place(cboViewers[k], FileOptions, programs, 1340, top, 5700, kField);
  }
  Control* active = frame(2, FileOptions, kFrameLeft, 1770, kFrameWidth, 1560);
  Place(cboActiveDirectories, FileOptions, active, kFrameLeft + 160, 2060, 5900, kField);
  Place(cmdBrowseForActiveDirectories, FileOptions, active, 6480, 2050, 560, kButton);
  for (int i = 0; i < 3; ++i)
    Place(optActiveDirectoryAddStyle[i], FileOptions, active, kFrameLeft + 160, 2480 + i * 270, 2100, kRow);
  Place(lblOptions[5], FileOptions, active, 2600, 2480, 4440, 780);
  Control* filters = frame(0, FileOptions, kFrameLeft, 3480, kFrameWidth, 1560);
  for (int k = 0; k < 3; ++k) {
    const long top = 3780 + k * 400;
    Place(lblOptions[2 + k], FileOptions, filters, kFrameLeft + 160, top + 40, 2050, kRow);
    Place(cboFileFilters[k], FileOptions, filters, 2500, top, 4540, kField);
  }

  // "Helper Apps": five viewers above five editors.
  Control* viewers = frame(3, HelperApps, kFrameLeft, kPageTop, kFrameWidth, 2250);
  Control* editors = frame(4, HelperApps, kFrameLeft, 2880, kFrameWidth, 2250);
  for (int n = 0; n < 10; ++n) {
    const long top = (n < 5 ? kPageTop : 2880) + 300 + (n % 5) * 380;
    Control* holder = n < 5 ? viewers : editors;
    Place(txtViewer[n], HelperApps, holder, kFrameLeft + 160, top, 6100, kField);
    Place(cmdBrowseForViewer[n], HelperApps, holder, 6560, top - 8, 480, kButton);
  }

  // "Play Settings": the load, backdrop and exit events one under the other.
  for (int event = 0; event < 3; ++event) {
    const long top = kPageTop + event * 1160;
    Control* holder = frame(5 + event, PlaySettings, kFrameLeft, top, kFrameWidth, 1080);
    const long row1 = top + 270;
    const long row2 = top + 660;
    Place(chkMciEvent[event], PlaySettings, holder, kFrameLeft + 160, row1 + 30, 900, kRow);
    Place(txtMciDevice[event], PlaySettings, holder, 1350, row1, 5100, kField);
    Place(cmdBrowseForMciDevice[event], PlaySettings, holder, 6560, row1 - 8, 480, kButton);
    Place(chkLoopVideo[event], PlaySettings, holder, kFrameLeft + 160, row2 + 40, 1300, kRow);
    Place(chkMuteVideo[event], PlaySettings, holder, 1750, row2 + 40, 1300, kRow);
    Place(chkPlayNext[event], PlaySettings, holder, 3100, row2 + 40, 1200, kRow);
    CommandButton* const buttons[] = {&cmdPlay[event], &cmdPause[event], &cmdStop[event], &cmdRepeat[event]};
    for (int b = 0; b < 4; ++b) Place(*buttons[b], PlaySettings, holder, 4400 + b * 660, row2, 640, kButton);
  }
  Place(cmdEjectCD, PlaySettings, tab, kFrameLeft, 4130, 1300, 360);
  Place(chkMiscOptions[15], PlaySettings, tab, 1800, 4180, 2600, kRow);

  // "Misc.": the numbered boxes on the left, the start-up choices on the right.
  for (std::size_t i = 0; i < std::size(kMiscColumn); ++i)
    Place(chkMiscOptions[kMiscColumn[i]], Misc, tab, 300, kPageTop + 60 + static_cast<long>(i) * 330, 3300, kRow);
  Control* startUp = frame(8, Misc, 3700, kPageTop, 3500, 2520);
  for (int i = 0; i < 5; ++i) Place(chkMiscOptions[9 + i], Misc, startUp, 3860, kPageTop + 300 + i * 330, 3200, kRow);
  Place(optStartStyle[1], Misc, startUp, 3860, kPageTop + 2040, 1300, kRow);
  Place(optStartStyle[0], Misc, startUp, 5300, kPageTop + 2040, 1500, kRow);
  Control* screens = &fraScreens;
  Place(fraScreens, Misc, tab, 3700, kPageTop + 2640, 3500, 1700);
  Place(chkSmoothShrinking, Misc, screens, 3860, kPageTop + 2940, 3200, kRow);
  Place(chkMatchOrientation, Misc, screens, 3860, kPageTop + 3270, 3200, kRow);
  Place(lblSkipSmaller, Misc, screens, 3860, kPageTop + 3600, 3200, kRow);
  Place(txtSkipSmaller, Misc, screens, 3860, kPageTop + 3900, 480, kField);
  Place(lblSkipSmallerUnit, Misc, screens, 4420, kPageTop + 3940, 2600, kRow);

  // "More Misc.": the hot key, the two defaults, the picture's place and the viewing size.
  Place(lblOptions[6], MoreMisc, tab, 300, kPageTop + 100, 1400, kRow);
  Place(txtPopUpHotKey, MoreMisc, tab, 1750, kPageTop + 60, 1500, kField);
  Control* wallpaper = frame(12, MoreMisc, kFrameLeft, 1000, kFrameWidth, 1050);
  Place(txtDefaults[0], MoreMisc, wallpaper, kFrameLeft + 160, 1300, 5000, kField);
  Place(cmdBrowseForDefaults[0], MoreMisc, wallpaper, 5640, 1292, 1400, kButton);
  Place(optDefaultStyle[0], MoreMisc, wallpaper, kFrameLeft + 160, 1700, 1000, kRow);
  Place(optDefaultStyle[1], MoreMisc, wallpaper, 1500, 1700, 1000, kRow);
  Control* saver = frame(11, MoreMisc, kFrameLeft, 2150, kFrameWidth, 700);
  Place(txtDefaults[1], MoreMisc, saver, kFrameLeft + 160, 2450, 5000, kField);
  Place(cmdBrowseForDefaults[1], MoreMisc, saver, 5640, 2442, 1400, kButton);
  // The picture's place: top row 3 to 5, middle row 0 to 2, bottom row 6 to 8.
  Control* position = frame(9, MoreMisc, kFrameLeft, 3000, 4150, 1400);
  static const int rows[] = {1, 1, 1, 0, 0, 0, 2, 2, 2};
  for (int i = 0; i < 9; ++i)
    Place(optImageJustification[i], MoreMisc, position, kFrameLeft + 160 + (i % 3) * 1250, 3300 + rows[i] * 330, 1250,
          kRow);
  Control* size = frame(10, MoreMisc, 4500, 3000, 2700, 1900);
  for (int i = 0; i < 5; ++i) Place(optWindowSize[i], MoreMisc, size, 4660, 3280 + i * 300, 2400, kRow);
  Place(cmdApply, MoreMisc, tab, kFrameLeft, 4560, 1100, 360);
}

}  // namespace tapestrel
