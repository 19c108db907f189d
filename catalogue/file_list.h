// The file lists: filling them from a folder or from dropped files, the columns of each
// picture file, totals and progress in the status bar, sorting, finding and clearing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"

namespace tapestrel {

// The alternate file patterns the toolbar's combo always offers: the old ones, "User",
// then the newer kinds of picture. An extension the user adds takes the place after them.
inline constexpr const char* kAltPatterns[] = {".*",   ".bmp", ".jp?",  ".pcx",  ".png",  ".tga", ".wmf",
                                               "User", ".gif", ".tif*", ".webp", ".heic", ".avif"};
inline constexpr int kUserAltPatternPlace = static_cast<int>(sizeof kAltPatterns / sizeof kAltPatterns[0]);
// The alternate-files button's tip for a pattern: "List all files", "List jp? files"...
std::string AltPatternTip(const std::string& pattern);

class Desktop;
class HeaderReader;
class MainView;
class Settings;
class TrayTip;
class Ui;
struct Options;
struct ProgramState;

class ListView;
struct ListItem;

class FileList {
 public:
  FileList(Ui& ui, FileSystem& files, Desktop& desktop, Options& options, ProgramState& state, Settings& settings,
           HeaderReader& headers, MainView& view, TrayTip& tray)
      : ui_(ui),
        files_(files),
        desktop_(desktop),
        options_(options),
        state_(state),
        settings_(settings),
        headers_(headers),
        view_(view),
        tray_(tray) {}

  // Fills the current list from `folder` (none: the picture folder) or, when given, from
  // dropped files. Answers false when the fill was stopped by an error or by Esc.
  bool FillListView(const std::string& folder = "", const std::vector<std::string>* dropped = nullptr);
  // Searches `folder` for the current list's files ahead of the fill that lists them and
  // answers the folder's sub-folders from the same listing: the next fill, when it is of
  // that folder and pattern, takes these files instead of searching again. Start-up
  // shows the folder tree and fills the list from one directory listing this way.
  std::vector<std::string> SearchAhead(const std::string& folder);
  bool ListViewAdd(const std::string& name, const std::string& folder, bool checkForRepeats, bool& imagesReadIn,
                   int& repeatCount);
  bool ListViewAddHelp(ListItem& item, const std::string& name, const std::string& type, const std::string& fullName);
  static std::string FormatFileSize(std::uint64_t size, bool inKiloBytes);
  // The file type shown in the list: the last three characters of the name in lower case,
  // "jpeg" and "mpeg" for those endings.
  static std::string FileTypeOf(const std::string& name);

  // The pattern a directory search of the current list uses.
  std::string CurrentPattern() const;
  std::vector<std::string> CustomPatterns() const;

  void ShowTotals();
  void ShowSelection();
  // The clock's look at the selection: shown again when it changed since last shown.
  void RefreshSelection();
  // In info mode: the focused picture's width and height in the status bar.
  void ShowFocusedDimensions();
  // A click on an item: a file that is gone is taken off the list, then the selection shown.
  void ItemClicked(int index);
  // Takes the selected files that no longer exist off the list; answers how many.
  int RemoveMissingSelected();
  // "<free bytes> bytes on C:\", or why it is not known.
  std::string FreeDiskSpaceText(const std::string& root);
  void ShowProgress(int current, int mode, int total, const std::string& suffix = "");
  // Sorts the current list by column `key`; the same key again reverses the order.
  bool SortByKey(int key, bool severalFolders = false);
  // After a fill, with "sort after filling" on: the stored key and order.
  void SortAfterFill();
  // Active folders read one after another into one list: the sort waits for the last,
  // and what is listed and which folders are active is carried from folder to folder
  // instead of being gathered again for each (that would grow with the square of the
  // folders).
  void BeginActiveFill();
  void EndActiveFill();
  // The list's own sort again, after items were added to a sorted list.
  void Resort();
  // Selects the wallpaper's item and scrolls it into view, when the list has it.
  void SelectWallpaperItem();
  void ClearListView();
  // Makes list 0 ("alt") or 1 (bmp) the one shown.
  void ShowList(int list);
  // Selects the first item after the selected one whose name begins with `text`.
  bool FindInList(const std::string& text);
  // The filter dialogs and the alternate pattern.
  void AskBmpFilter();
  void AskAlternateFilter();
  void AskAlternateExtension();
  void ChooseAlternatePattern(int index);
  void AskFind();
  // Keeps the last five different filters of a kind, the newest last.
  static void AddToFilterHistory(std::array<std::string, 5>& history, const std::string& filter);

  // Whether a fill is running. It lets events run between files; a command that would
  // change the list meanwhile (another fill, a clear, the other list, a sort) is refused
  // with a beep, so that the list only ever holds what one search found.
  bool Filling() const { return filling_; }
  // Whether a fill or a file operation is running: commands that would change the list
  // (another fill or operation, a clear, a sort, the other list) are refused meanwhile.
  bool Busy() const { return filling_ || operating_; }
  // A beep and true while busy: for the command about to change the list.
  bool RefusedWhileBusy();
  // Marks a file operation as running for its lifetime.
  class OperationScope {
   public:
    explicit OperationScope(FileList& list) : list_(list) { list_.BeginOperation(); }
    ~OperationScope() { list_.operating_ = false; }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

   private:
    FileList& list_;
  };
  // The folder pane's folder when the running fill began.
  const std::string& FolderAtFillStart() const { return folderAtFillStart_; }

  // Whether the last fill ended because the user pressed Esc.
  bool StoppedByEscape() const { return stoppedByEscape_; }
  // The position of the wallpaper's file in the current list, or -1.
  int WallpaperIndex() const;

  // The list shown now.
  ListView& Current() const;
  // Esc pressed since the escape flag was cleared (the flag is then set).
  bool EscapePressed();
  // Forgets an Esc pressed before the work about to begin.
  void ForgetEarlierEscape();
  // One step of long work over the list: its progress shown, the window's messages run;
  // false when the user pressed Esc (the escape flag is then cleared).
  bool StepGoesOn(int done, int total, const char* suffix);

  // The three kinds of filter: 0 alternate, 1 bitmap, 2 custom. Setting one makes it the
  // current filter of its kind, keeps it in the kind's history and shows it.
  void SetFilter(int kind, const std::string& filter);
  // The status bar's two filter panels, from the current filters.
  void ShowFilterPanels();

 private:
  void SortBy(int key, bool descending);

  // Collaborators.
  Ui& ui_;
  FileSystem& files_;
  Desktop& desktop_;
  Options& options_;
  ProgramState& state_;
  Settings& settings_;
  HeaderReader& headers_;
  MainView& view_;
  TrayTip& tray_;
  // What the directory search said of the file being added.
  const FoundFile* current_ = nullptr;
  // What the last directory search found; kept so that its room is reused.
  std::vector<FoundFile> found_;
  // The folder and pattern whose files found_ holds for the next fill; empty: none.
  std::string searchedAhead_;
  // The files already listed (folder and name in lower case), while appending.
  std::unordered_set<std::string> listed_;
  std::int32_t readIn_ = 0;
  std::uint64_t totalBytes_ = 0;
  bool stoppedByEscape_ = false;
  bool filling_ = false;
  bool operating_ = false;
  void BeginOperation();
  bool activeFill_ = false;
  // The selection last shown: list, count and focused item.
  int shownList_ = -1;
  int shownCount_ = -1;
  int shownFocus_ = -1;
  // During an active fill: listed_ holds the list's items, and the active folders.
  bool listedKept_ = false;
  std::vector<std::string> activeFolders_;
  bool activeFoldersKept_ = false;
  std::string folderAtFillStart_;
  std::string lastFind_;
};

}  // namespace tapestrel
