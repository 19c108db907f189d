#include "app/main_menus.h"

#include "app/command_ids.h"
#include "platform/controls/list_view.h"

namespace tapestrel {

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr int kHidden = 1;
constexpr int kDisabled = 2;

struct Row {
  const char* name;
  int index;
  const char* parent;  // nullptr: a top-level menu
  int parentIndex;
  const char* caption;
  int command;
  Shortcut shortcut;
  const char* help;
  int context;
  int flags = 0;
};

constexpr int F(int n) { return 0x6F + n; }  // virtual-key code of function key Fn

// The menu bar, in order.
const Row kMenuBar[] = {
    {"mnuFile", -1, nullptr, -1, "&File", 0, {}, "Contains commands for operating on selected files.", 0},
    {"mnuFindFile", -1, "mnuFile", -1, "&Find", IDM_FIND_FILE, {'F', kCtrl}, "Finds an item in the list.", 1000},
    {"mnuViewFiles", 0, "mnuFile", -1, "View", IDM_VIEW_FILES, {0x08, kAlt}, "Views the selected items.", 1002},
    {"mnuViewFiles", 1, "mnuFile", -1, "Edit", IDM_VIEW_FILES + 1, {'E', kCtrl}, "Edits the selected items.", 1001},
    {"mnuOperateOnFiles", 0, "mnuFile", -1, "&Delete", IDM_OPERATE_ON_FILES, {}, "Deletes the selected items.", 1004},
    {"mnuOperateOnFiles", 1, "mnuFile", -1, "Move", IDM_OPERATE_ON_FILES + 1, {'M', kCtrl}, "Moves the selected items.", 1003},
    {"mnuOperateOnFiles", 2, "mnuFile", -1, "Remove", IDM_OPERATE_ON_FILES + 2, {'U', kCtrl}, "Removes the selected items.", 1011},
    {"mnuOperateOnFiles", 3, "mnuFile", -1, "Dec&ode", IDM_OPERATE_ON_FILES + 3, {'D', kCtrl}, "Decodes the selected items.", 1005},
    {"mnuBackdropHistory", 0, "mnuFile", -1, "-", 0, {}, "", 1006},
    {"mnuExit", 0, "mnuFile", -1, "E&xit", IDM_EXIT, {'Q', kCtrl}, "Exits the program without saving changed settings.", 1007},
    {"mnuExit", 1, "mnuFile", -1, "Exit and &Save", IDM_EXIT + 1, {'K', kCtrl}, "Exits this program and saves all settings.", 1008},

    {"mnuCommandS", -1, nullptr, -1, "&Commands", 0, {}, "Contains commands for the files pane, changing wallpaper and, exploring.", 0},
    {"mnuReadActiveDirectories", -1, "mnuCommandS", -1, "Fill From Actives", IDM_READ_ACTIVE_DIRECTORIES, {'Y', kCtrl}, "Retrieves filenames using the active folders.", 1009},
    {"mnuToggleListView", -1, "mnuCommandS", -1, "Toggle List View", IDM_TOGGLE_LIST_VIEW, {F(1), kShift}, "Toggles the file list between bmp and alt files.", 1012},
    {"mnuListBmpFiles", -1, "mnuCommandS", -1, "List &Bmp files", IDM_LIST_BMP_FILES, {'B', kCtrl}, "Lists bmp files.", 1013},
    {"mnuListAltFiles", -1, "mnuCommandS", -1, "List &Alt Files", IDM_LIST_ALT_FILES, {'A', kCtrl}, "List alt files.", 1014},
    {"mnuRefresh", -1, "mnuCommandS", -1, "Refresh", IDM_REFRESH, {F(5), 0}, "Refreshs the file or folder list.", 1015},
    {"mnuClearListView", -1, "mnuCommandS", -1, "Clear", IDM_CLEAR_LIST_VIEW, {0x2E, kShift}, "Clears the file list.", 1016},
    {"mnuExplorer", 0, "mnuCommandS", -1, "-", 0, {}, "", 0},
    {"mnuExplorer", 1, "mnuCommandS", -1, "Explore De&sktop", IDM_EXPLORER + 1, {}, "Explores the desktop.", 1017},
    {"mnuExplorer", 2, "mnuCommandS", -1, "Explore F&older", IDM_EXPLORER + 2, {}, "Explores the selected folder.", 1018},
    {"mnuExplorer", 3, "mnuCommandS", -1, "Explore &File", IDM_EXPLORER + 3, {}, "Explores the selected file.", 1019},
    {"mnuExplorer", 4, "mnuCommandS", -1, "Explore Wa&llpaper", IDM_EXPLORER + 4, {}, "Explores the wallpaper file.", 1020},
    {"mnuExplorer", 5, "mnuCommandS", -1, "-", 0, {}, "", 0},
    {"mnuChangeWallpapertoNext", 0, "mnuCommandS", -1, "&Next Wallpaper", IDM_CHANGE_WALLPAPER, {'N', kCtrl}, "Changes the wallpaper using the next file in the list.", 1021},
    {"mnuChangeWallpapertoNext", 1, "mnuCommandS", -1, "&Previous Wallpaper", IDM_CHANGE_WALLPAPER + 1, {'P', kCtrl}, "Changes the wallpaper using the previous file in the list.", 1022},
    {"mnuChangeWallpapertoNext", 2, "mnuCommandS", -1, "&Wallpaper", IDM_CHANGE_WALLPAPER + 2, {'W', kCtrl}, "Changes the wallpaper using the selected file.", 1023},
    {"mnuChangeWallpapertoNext", 3, "mnuCommandS", -1, "&Default Wallpaper", IDM_CHANGE_WALLPAPER + 3, {0x2D, kShift}, "Changes the wallpaper using the default file.", 0},
    {"mnuChangeWallpapertoNext", 4, "mnuCommandS", -1, "&Remove Default", IDM_CHANGE_WALLPAPER + 4, {0x2D, kCtrl}, "Removes the default wallpaper.", 0},
    {"mnuSeparator2", -1, "mnuCommandS", -1, "-", 0, {}, "", 0},
    {"mnuTimerOnOff", -1, "mnuCommandS", -1, "&Timer On Off", IDM_TIMER_ON_OFF, {'T', kCtrl}, "Turns the timer on.", 1024},

    {"mnuSettings", -1, nullptr, -1, "&Settings", 0, {}, "Contains commands for setting most program parameters.", 0},
    {"mnuScreenSaver", 0, "mnuSettings", -1, "Screen Saver O&ff", IDM_SCREEN_SAVER, {F(11), 0}, "Turns the screen saver off.", 1026},
    {"mnuScreenSaver", 1, "mnuSettings", -1, "Screen Saver O&n", IDM_SCREEN_SAVER + 1, {F(12), 0}, "Turns the screen saver on.", 1026},
    {"mnuScreenSaver", 2, "mnuSettings", -1, "-", 0, {}, "", 0},
    {"mnuAppendToList", -1, "mnuSettings", -1, "A&ppend/Record", IDM_APPEND_TO_LIST, {}, "Allows appending to file list and recording of folders.", 1025},
    {"mnuInfoMode", -1, "mnuSettings", -1, "To&ggle Info Mode", IDM_INFO_MODE, {'G', kCtrl}, "Enables display of file properties in the status bar.", 1060},
    {"mnuDeleteConfirmation", -1, "mnuSettings", -1, "&Confirm Deletes", IDM_DELETE_CONFIRMATION, {}, "Enables confirmation of file deletions.", 1027},
    {"mnuRenameOnCollision", -1, "mnuSettings", -1, "Rename &Moved", IDM_RENAME_ON_COLLISION, {}, "Enables auto-renaming of files when they are moved onto identically-named ones.", 1028},
    {"mnuView", -1, "mnuSettings", -1, "&View", 0, {}, "", 1029},
    {"mViewStyle", 0, "mnuView", -1, "&Large Icons", IDM_VIEW_STYLE, {}, "Displays the large icon and filename.", 1029},
    {"mViewStyle", 1, "mnuView", -1, "&Small Icons", IDM_VIEW_STYLE + 1, {}, "Displays the small icon and filename.", 1029},
    {"mViewStyle", 2, "mnuView", -1, "&List", IDM_VIEW_STYLE + 2, {}, "Displays the filenames as a list.", 1029},
    {"mViewStyle", 3, "mnuView", -1, "&Details", IDM_VIEW_STYLE + 3, {}, "Displays the filenames and associated details.", 1029},
    {"mViewStyle", 4, "mnuView", -1, "&Thumbnails", IDM_VIEW_STYLE + 4, {}, "Displays a small picture of each file.", 1029},
    {"mnuSort", -1, "mnuSettings", -1, "&Sort", 0, {}, "", 1030},
    {"mSort", 0, "mnuSort", -1, "&Name", IDM_SORT, {}, "Sorts the list of files by filename.", 1030},
    {"mSort", 1, "mnuSort", -1, "&Folder", IDM_SORT + 1, {}, "Sorts the list of files by folder occupied.", 1030},
    {"mSort", 2, "mnuSort", -1, "File &Type", IDM_SORT + 2, {}, "Sorts the list of files by file type.", 1030},
    {"mSort", 3, "mnuSort", -1, "&ID", IDM_SORT + 3, {}, "Sorts the list of files by readin order.", 1030},
    {"mSort", 4, "mnuSort", -1, "File &Size", IDM_SORT + 4, {}, "Sorts the list of files by file size.", 1030},
    {"mSort", 5, "mnuSort", -1, "&Date", IDM_SORT + 5, {}, "Sorts the list of files by file date.", 1030},
    {"Mnu_JPEG", -1, "mnuSettings", -1, "&Jpeg Options", 0, {}, "", 1031},
    {"Mnu_DCTM", -1, "Mnu_JPEG", -1, "&DCT Method...", 0, {}, "", 1032},
    {"Mnu_DCT", 0, "Mnu_DCTM", -1, "&Slow Integer", IDM_DCT, {}, "Enables the slow integer DCT method.", 1032},
    {"Mnu_DCT", 1, "Mnu_DCTM", -1, "&Fast Integer", IDM_DCT + 1, {}, "Enables the fast integer DCT method.", 1032},
    {"Mnu_DCT", 2, "Mnu_DCTM", -1, "Floating &Point", IDM_DCT + 2, {}, "Enables the floating point DCT method.", 1032},
    {"Mnu_JPGDithM", -1, "Mnu_JPEG", -1, "Dithering &Method...", 0, {}, "", 1033},
    {"Mnu_JPGDith", 0, "Mnu_JPGDithM", -1, "&None", IDM_JPEG_DITHER, {}, "Disables dithering of jpeg images.", 1033},
    {"Mnu_JPGDith", 1, "Mnu_JPGDithM", -1, "&Ordered", IDM_JPEG_DITHER + 1, {}, "Enables ordered dithering of jpeg images.", 1033},
    {"Mnu_JPGDith", 2, "Mnu_JPGDithM", -1, "&Floyd-Steinberg", IDM_JPEG_DITHER + 2, {}, "Enables Floyd-Steinburg dithering of jpeg images.", 1033},
    {"Mnu_Fancy", -1, "Mnu_JPEG", -1, "&Fancy Upsampling", IDM_FANCY_UPSAMPLING, {}, "Enables fancy upsampling of jpeg images.", 1034},
    {"Mnu_TwoPass", -1, "Mnu_JPEG", -1, "&Two Pass Quantize", IDM_TWO_PASS, {}, "Enables two-pass quantize decoding of jpeg images.", 1035},
    {"Mnu_Dither", -1, "mnuSettings", -1, "D&ithering...", 0, {}, "", 1036},
    {"Mnu_Dith", 0, "Mnu_Dither", -1, "&No Dithering", IDM_DITHER, {}, "Disables dithering of images by internal decoder.", 1036},
    {"Mnu_Dith", 1, "Mnu_Dither", -1, "&Dither Always", IDM_DITHER + 1, {}, "Enables dithering of images by internal decoder.", 1036},
    {"Mnu_Dith", 2, "Mnu_Dither", -1, "Dither Extra &Colors", IDM_DITHER + 2, {}, "Enables dithering of extra colors of images by internal decoder.", 1036},
    {"mnuDecodeOptions", -1, "mnuSettings", -1, "&Decode options", 0, {}, "", 1037},
    {"mnuInternalDecode", -1, "mnuDecodeOptions", -1, "Internal", IDM_INTERNAL_DECODE, {}, "Enables internal decoding of jpeg images.", 1037},
    {"mnuExternalDecoding", -1, "mnuDecodeOptions", -1, "External", 0, {}, "Enables external decoding of jpeg images.", 1037},
    {"mnuExternalDecodeOn", -1, "mnuExternalDecoding", -1, "On", IDM_EXTERNAL_DECODE_ON, {}, "Enables external decoding of jpeg images.", 1037},
    {"mnuSeparator", -1, "mnuExternalDecoding", -1, "-", 0, {}, "", 0},
    {"Mnu_ReduceJpegSize", -1, "mnuExternalDecoding", -1, "1/2 Size", IDM_REDUCE_JPEG_SIZE, {}, "Enables external resizing of jpeg images by 1/2.", 1037},
    {"mnu24bitColor", -1, "mnuExternalDecoding", -1, "24 bit color", IDM_24BIT_COLOR, {}, "Enables external decoding of jpeg files to maximum number of colors.", 1037},
    {"mnu8bitColor", -1, "mnuExternalDecoding", -1, "8 bit color", IDM_8BIT_COLOR, {}, "Enables external decoding of jpeg files to 256 colors.", 1037},
    {"mnuSetFileFilters", -1, "mnuSettings", -1, "Set file filters", 0, {}, "", 1038},
    {"mnuSetBMPFileFilter", -1, "mnuSetFileFilters", -1, "BMP Filter", IDM_SET_BMP_FILTER, {'H', kCtrl}, "Sets the filter for bmp-type files.", 1038},
    {"mnuSetAlternateFileFilter", -1, "mnuSetFileFilters", -1, "Alternate Filter", IDM_SET_ALTERNATE_FILTER, {'I', kCtrl}, "Sets the filter for alt-type files.", 1038},
    {"mnuAltFilePattern", -1, "mnuSetFileFilters", -1, "Alternate Extension", IDM_ALT_FILE_PATTERN, {'J', kCtrl}, "Sets the extension filter for the alt-file pane.", 1038},
    {"mnuLoadSettings", -1, "mnuSettings", -1, "Load Settings", IDM_LOAD_SETTINGS, {'L', kCtrl}, "Loads the program settings.", 1039},
    {"mnuSaveSettings", -1, "mnuSettings", -1, "S&ave Settings", IDM_SAVE_SETTINGS, {'S', kCtrl}, "Saves the program settings.", 1040},
    {"mnuMinimize", -1, "mnuSettings", -1, "Minimize", IDM_MINIMIZE, {F(3), 0}, "Collapses this window to an icon.", 1041},
    {"mnuSmallSize", -1, "mnuSettings", -1, "Toggle Height", IDM_SMALL_SIZE, {F(3), kShift}, "Toggles the window height between small size and back.", 1042},
    {"mnuOptions", -1, "mnuSettings", -1, "&Options", IDM_OPTIONS, {F(1), kCtrl}, "Displays the options dialog.", 1043},

    {"mnuTimerOptions", -1, nullptr, -1, "&Interval", 0, {}, "Contains commands for setting the number of minutes between picture changes. ", 0},
    {"mnuTimeInterval", 0, "mnuTimerOptions", -1, "Sixty", IDM_TIME_INTERVAL, {F(4), kCtrl}, "Sets the time interval to one hour.", 1044},
    {"mnuTimeInterval", 1, "mnuTimerOptions", -1, "Thirty", IDM_TIME_INTERVAL + 1, {F(5), kCtrl}, "Sets the time interval to one-half hour.", 1044},
    {"mnuTimeInterval", 2, "mnuTimerOptions", -1, "&Fifteen", IDM_TIME_INTERVAL + 2, {F(6), kCtrl}, "Sets the time interval to fifteen minutes.", 1044},
    {"mnuTimeInterval", 3, "mnuTimerOptions", -1, "F&ive", IDM_TIME_INTERVAL + 3, {F(7), kCtrl}, "Sets the time interval to five minutes.", 1044},
    {"mnuTimeInterval", 4, "mnuTimerOptions", -1, "One ", IDM_TIME_INTERVAL + 4, {F(8), kCtrl}, "Sets the time interval to one minute.", 1044},
    {"mnuTimeInterval", 5, "mnuTimerOptions", -1, "&Custom", IDM_TIME_INTERVAL + 5, {F(9), kCtrl}, "Sets the time interval to a custom value.", 1044},

    {"mnuMode", -1, nullptr, -1, "&View Mode", 0, {}, "Contains the style options for the next picture change and the mode of view to use when the user set time has elapsed.", 1045},
    {"mnuToggleBackdropMode", 0, "mnuMode", -1, "Toggle", IDM_TOGGLE_BACKDROP_MODE, {}, "Toggles the view mode between wallpaper or internal view.", 1045},
    {"mnuToggleBackdropMode", 1, "mnuMode", -1, "Toggle", IDM_TOGGLE_BACKDROP_MODE + 1, {}, "Toggles the view mode between wallpaper or internal view.", 1045},
    {"mnuViewSeparator", -1, "mnuMode", -1, "-", 0, {}, "", 0},
    {"mnuBackdropMode", 0, "mnuMode", -1, "Tiled, Desktop", IDM_BACKDROP_MODE, {}, "Enables a tiled wallpaper view of the image.", 1045},
    {"mnuBackdropMode", 1, "mnuMode", -1, "Single, Desktop", IDM_BACKDROP_MODE + 1, {}, "Enables a single-picture wallpaper view of the image.", 1045},
    {"mnuBackdropMode", 2, "mnuMode", -1, "Stretched,Desktop", IDM_BACKDROP_MODE + 2, {}, "Enables a stretched wallpaper view of the image.", 1045},
    {"mnuBackdropMode", 3, "mnuMode", -1, "Tiled, Internal", IDM_BACKDROP_MODE + 3, {}, "Enables a tiled internal full-screen view of the image.", 1045},
    {"mnuBackdropMode", 4, "mnuMode", -1, "Single, Internal", IDM_BACKDROP_MODE + 4, {}, "Enables a single-picture internal full-screen view of the image.", 1045},
    {"mnuBackdropMode", 5, "mnuMode", -1, "Fill", IDM_BACKDROP_MODE + 5, {}, "Scales each picture to cover its screen, cutting off what overhangs evenly.", 1045},
    {"mnuBackdropMode", 6, "mnuMode", -1, "Fit", IDM_BACKDROP_MODE + 6, {}, "Scales each picture to fit inside its screen, with bars in the desktop colour.", 1045},
    {"mnuScreensSeparator", -1, "mnuMode", -1, "-", 0, {}, "", 0},
    {"mnuScreenArrangement", 0, "mnuMode", -1, "Same picture on every screen", IDM_SCREEN_ARRANGEMENT, {}, "Shows the same picture on every monitor.", 1045},
    {"mnuScreenArrangement", 1, "mnuMode", -1, "A picture for each screen", IDM_SCREEN_ARRANGEMENT + 1, {}, "Gives every monitor the next picture of the rotation at each change.", 1045},
    {"mnuScreenArrangement", 2, "mnuMode", -1, "One picture across all screens", IDM_SCREEN_ARRANGEMENT + 2, {}, "Spreads one picture across all monitors together.", 1045},

    {"mnuAbout", -1, nullptr, -1, "&Help", 0, {}, "Contains command to access help and to display the Aboutbox and system information.", 0},
    {"mAbout", 0, "mnuAbout", -1, "&About...", IDM_ABOUT, {}, "Displays program and system information, version number, and copyright information.", 1047},
    {"mAbout", 1, "mnuAbout", -1, "&Help", IDM_ABOUT + 1, {}, "Opens the Help file for the program.", 1047},
    {"mAbout", 2, "mnuAbout", -1, "What this help", IDM_ABOUT + 2, {}, "", 0, kHidden | kDisabled},
};

// Help lines of the pop-up items: those of the menu bar's items with the same command.
constexpr const char* kTimerHelp = "Turns the timer on.";
constexpr const char* kNextHelp = "Changes the wallpaper using the next file in the list.";
constexpr const char* kPreviousHelp = "Changes the wallpaper using the previous file in the list.";
constexpr const char* kDefaultHelp = "Changes the wallpaper using the default file.";
constexpr const char* kRemoveDefaultHelp = "Removes the default wallpaper.";
constexpr const char* kSaverOffHelp = "Turns the screen saver off.";
constexpr const char* kSaverOnHelp = "Turns the screen saver on.";
constexpr const char* kExitHelp = "Exits the program without saving changed settings.";
constexpr const char* kDesktopHelp = "Explores the desktop.";
constexpr const char* kFolderHelp = "Explores the selected folder.";
constexpr const char* kWallpaperFileHelp = "Explores the wallpaper file.";
constexpr const char* kAboutHelp = "Displays program and system information, version number, and copyright information.";
constexpr const char* kOptionsHelp = "Displays the options dialog.";
constexpr const char* kMinimizeHelp = "Collapses this window to an icon.";
constexpr const char* kRestoreHelp = "Restores this window to normal size.";

struct PopupItem {
  const char* caption;
  const char* help;
};

// "Custom": the notification-area menu.
const PopupItem kCustom[] = {
    {"&Timer On", kTimerHelp}, {"-", ""}, {"&Next Wallpaper", kNextHelp}, {"&Previous Wallpaper", kPreviousHelp},
    {"&Default Wallpaper", kDefaultHelp}, {"Remove &Default", kRemoveDefaultHelp}, {"-", ""},
    {"Full-&Screen Mode", "Enables full-screen display after the set-time elapses."}, {"-", ""},
    {"Screen Saver O&ff", kSaverOffHelp}, {"Screen Sa&ver On", kSaverOnHelp}, {"-", ""}, {"E&xit", kExitHelp},
    {"-", ""}, {"Explore Des&ktop", kDesktopHelp}, {"Explore Fo&lder", kFolderHelp},
    {"&Explore Wallpaper File", kWallpaperFileHelp}, {"-", ""}, {"&About", kAboutHelp}, {"-", ""},
    {"&Options", kOptionsHelp}, {"&Minimize", kMinimizeHelp}, {"&Restore", kRestoreHelp}};

// "Custom2": the full-screen viewer's menu.
const PopupItem kCustom2[] = {
    {"&Timer On", kTimerHelp}, {"Chan&ge time", ""}, {"-", ""}, {"Display &Info", ""}, {"&Switch View", ""},
    {"&Switch View", ""}, {"-", ""}, {"&Next Image", kNextHelp}, {"&Previous Image", kPreviousHelp},
    {"&Default Image", kDefaultHelp}, {"Remove &Default", kRemoveDefaultHelp}, {"-", ""},
    {"Screen Saver O&ff", kSaverOffHelp}, {"Screen Sa&ver On", kSaverOnHelp}, {"-", ""}, {"Exit", ""},
    {"Exit Update Wallpaper", ""}, {"-", ""}, {"&About", kAboutHelp}, {"-", ""}, {"Explore Des&ktop", kDesktopHelp},
    {"Explo&re Folder", kFolderHelp}, {"Explo&re File", "Explores the selected file."}, {"R&un File", ""},
    {"-", ""}, {"&Options", kOptionsHelp}, {"E&xit Program", kExitHelp}};

// "Custom3": the file list's menu (items 10 and 11 open sub-menus).
const PopupItem kCustom3[] = {
    {"&Run File", "Opens the file using the associated program."}, {"&View Files", "Views the selected items."},
    {"&Edit Files", "Edits the selected items."}, {"&Delete", "Deletes the selected items."},
    {"&Move", "Moves the selected items."}, {"Re&move", "Removes the selected items."},
    {"Dec&ode", "Decodes the selected items."}, {"E&xplore", "Explores the selected file."},
    {"&Wallpaper", "Changes the wallpaper using the selected file."}, {"-", ""}, {"Vie&w", ""}, {"Sor&t", ""},
    {"-", ""}, {"&About", kAboutHelp}, {"&Cancel", "Dismisses this menu."}};

const char* const kViewStyles[] = {"&Large Icons", "&Small Icons", "&List", "&Details", "&Thumbnails"};
const char* const kSortKeys[] = {"&Name", "&Folder", "File &Type", "&ID", "File &Size", "&Date"};

Menu& addItem(MenuSet& menus, const char* name, int index, Menu* parent, const std::string& caption, int command,
              const std::string& help, int context) {
  Menu& m = menus.Add(name, index, parent);
  m.SetCaption(caption);
  m.SetCommandId(caption == "-" ? 0 : command);
  m.SetHelpLine(help);
  m.SetHelpContextID(context);
  return m;
}

template <std::size_t N>
void addPopup(MenuSet& menus, const char* topName, const char* itemName, const PopupItem (&items)[N], int base,
              int context) {
  // Hidden and without a caption in the menu bar: it only ever opens as a pop-up.
  Menu& top = menus.Add(topName, -1, nullptr);
  top.SetVisible(false);
  for (std::size_t i = 0; i < N; ++i)
    addItem(menus, itemName, static_cast<int>(i), &top, items[i].caption, base + static_cast<int>(i), items[i].help,
            items[i].caption == std::string("-") ? 0 : context);
}

}  // namespace

void BuildMainMenus(MenuSet& menus) {
  for (const Row& row : kMenuBar) {
    Menu* parent = row.parent ? &menus.Get(row.parent, row.parentIndex) : nullptr;
    Menu& m = addItem(menus, row.name, row.index, parent, row.caption, row.command, row.help, row.context);
    m.SetShortcut(row.shortcut);
    if (row.flags & kHidden) m.SetVisible(false);
    if (row.flags & kDisabled) m.SetEnabled(false);
    // The interval and the backdrop mode are each one of a group.
    const std::string name = row.name;
    if (name == "mnuTimeInterval" || name == "mnuBackdropMode" || name == "mnuScreenArrangement") m.SetRadioMark(true);
  }
  addPopup(menus, "mPopUp", "mCustom", kCustom, IDM_CUSTOM, 1048);
  addPopup(menus, "mPopUp2", "mCustom2", kCustom2, IDM_CUSTOM2, 1049);
  addPopup(menus, "mPopUp3", "mCustom3", kCustom3, IDM_CUSTOM3, 1050);
  Menu& view = menus.Get("mCustom3", 10);
  Menu& sort = menus.Get("mCustom3", 11);
  for (int i = 0; i < ListView::kViews; ++i)
    addItem(menus, "mViewStylePopUp", i, &view, kViewStyles[i], IDM_VIEW_STYLE_POPUP + i,
            menus.Get("mViewStyle", i).HelpLine(), 1050);
  for (int i = 0; i < 6; ++i)
    addItem(menus, "mSortPopUp", i, &sort, kSortKeys[i], IDM_SORT_POPUP + i, menus.Get("mSort", i).HelpLine(), 1050);
  // Sub-menu headers carry no command of their own.
  view.SetCommandId(0);
  sort.SetCommandId(0);
}

}  // namespace tapestrel
