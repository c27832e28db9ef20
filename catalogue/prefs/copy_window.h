#pragma once
// CopyWindow: the window "frmCopy" (File > Copy Files), which copies one data
// file of the catalogue to a removable volume or a folder the user picks.
//
// Use: the user picks a folder in Dir1 (it starts at the catalogue's working
// directory), clicks a "*.dat" file in File1, which enables the drive list
// Drive1, and then chooses a place in Drive1: one of the mounted removable
// volumes, a folder chosen earlier in this window, or the last entry, which
// asks for a folder. Choosing a place starts the copy: the copy question (or,
// when the place already holds a file of that name, the replace question
// with both files' dates and sizes), then a safe copy (see file_copy.h).
// One file is copied per use.
//
// The master file is closed while the window is open, so that it can be
// copied whole, and reopened when the window closes, or is hidden after a
// replacing copy (it then opens again as it was left). The window is modal:
// the main window takes no input while the master file is closed.
//
// Closing versus hiding mirrors loading and unloading a window: open() runs
// the opening routine (Form_Load) only when the window was closed; after a
// hide it shows the window as it was, with its lists brought up to date.
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/platform.h"

namespace reel {

class ScreenContext;

inline constexpr const char* CopyChooseFolderEntry = "Choose Folder...";

class CopyWindow : public Form {
  public:
    explicit CopyWindow(ScreenContext& main);

    // File > Copy Files: closes the master file and shows the window.
    void open();

    bool abandoned() const { return abandon_; }
    // The folder Dir1 shows (absolute).
    const std::string& folder() const { return folder_; }
    // Moves Dir1 to another folder, as opening it in the list does.
    void changeFolder(const std::string& folder);

    // --- Handlers -------------------------------------------------------------
    void Form_Load();
    void Form_QueryClose();
    void Dir1_Open(const Event& event);  // double click or Enter on a line
    void Dir1_Change();
    void File1_Click(const Event& event);
    void Drive1_GotFocus();
    void Drive1_Change(const Event& event);

  private:
    void buildControls();
    void connectEvents();

    void fillDriveList();
    void fillFileList();
    int chooseFolderPlace();
    void copyTo(const Volume& place);
    bool askAgainAfterNoDisk(bool repeated);
    void showTryAgain();
    void startAfresh();         // after a place that cannot take the path
    void closeWindow();         // unload: hide, reopen the master file
    void hideAfterReplacing();  // hide only; the window stays as it is
    void reopenMaster();

    ScreenContext& main_;
    Platform& platform_;
    bool loaded_ = false;
    bool abandon_ = false;
    std::string folder_;
    std::vector<std::string> folderPaths_;  // Dir1's lines -> folders
    std::vector<Volume> places_;            // Drive1's entries before the chooser entry
    std::vector<Volume> chosenFolders_;     // folders picked in this window
};

}  // namespace reel
