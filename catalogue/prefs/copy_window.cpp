// The copy window's handlers: the lists, the copy and replace questions, the
// copy itself and what follows it.
#include <algorithm>
#include <cstring>

#include "data/text_file.h"
#include "prefs/copy_messages.h"
#include "prefs/copy_window.h"
#include "prefs/file_copy.h"
#include "prefs/folder_listing.h"
#include "screen/screen_context.h"

namespace reel {
namespace {

std::string reason(int error) {
    return std::strerror(error);
}

bool sameFile(const FileFacts& a, const FileFacts& b) {
    return a.device == b.device && a.inode == b.inode;
}

}  // namespace

void CopyWindow::open() {
    main_.masterFile().close();
    if (!loaded_) {
        Form_Load();
    } else {
        // Shown again as it was left; volumes may have come and gone since.
        fillDriveList();
        fillFileList();
    }
    show();
    // Not the file list: a list that gains the focus without a current line
    // takes its first one, which would choose a file the user never clicked.
    setFocus("Dir1");
}

void CopyWindow::Form_Load() {
    Form& self = *this;
    main_.masterFile().close();
    abandon_ = false;
    for (const char* hidden : {"Dir2", "File2", "lblCopy3", "lblCopy4", "lblCopy5", "lblCopy7"})
        self[hidden].visible = false;
    chosenFolders_.clear();
    self["Drive1"].listIndex = -1;
    fillDriveList();
    changeFolder(main_.directory());
    loaded_ = true;
}

void CopyWindow::Form_QueryClose() {
    hide();
    loaded_ = false;
    reopenMaster();
}

// ---- Folder and file lists -------------------------------------------------

void CopyWindow::changeFolder(const std::string& folder) {
    folder_ = absoluteFolder(folder);
    Dir1_Change();
}

void CopyWindow::Dir1_Open(const Event& event) {
    Control& dirs = (*this)["Dir1"];
    const int line = event.item >= 0 ? event.item : dirs.listIndex;
    if (line < 0 || line >= static_cast<int>(folderPaths_.size())) return;
    changeFolder(folderPaths_[static_cast<std::size_t>(line)]);
}

// A new folder offers new files and none is chosen yet, so there is nothing
// to copy until a file is clicked again.
void CopyWindow::Dir1_Change() {
    Form& self = *this;
    const FolderView view = folderView(folder_);
    Control& dirs = self["Dir1"];
    dirs.text = folder_;
    dirs.items.clear();
    folderPaths_.clear();
    for (const FolderLine& line : view.lines) {
        dirs.items.push_back(line.shown);
        folderPaths_.push_back(line.path);
    }
    dirs.listIndex = view.current;

    self["File1"].items = dataFiles(folder_);
    self["File1"].listIndex = -1;
    self["Drive1"].enabled = false;
    self["lblCopy3"].visible = false;
}

// Brings File1 up to date, keeping the chosen file when it is still there.
void CopyWindow::fillFileList() {
    Control& files = (*this)["File1"];
    const std::string chosen =
        files.listIndex >= 0 && files.listIndex < static_cast<int>(files.items.size())
            ? files.items[static_cast<std::size_t>(files.listIndex)]
            : std::string();
    files.items = dataFiles(folder_);
    const auto it = std::find(files.items.begin(), files.items.end(), chosen);
    files.listIndex =
        chosen.empty() || it == files.items.end() ? -1 : static_cast<int>(it - files.items.begin());
    if (files.listIndex < 0) {
        (*this)["Drive1"].enabled = false;
        (*this)["lblCopy3"].visible = false;
    }
}

void CopyWindow::File1_Click(const Event& event) {
    Form& self = *this;
    Control& files = self["File1"];
    if (event.item >= 0 && event.item < static_cast<int>(files.items.size()))
        files.listIndex = event.item;
    if (files.listIndex < 0) return;
    self["lblCopy3"].visible = true;
    self["Drive1"].enabled = true;
}

// ---- Drive list ------------------------------------------------------------

// The mounted removable volumes, the folders chosen in this window, and the
// entry that asks for a folder; the place chosen stays chosen when present.
void CopyWindow::fillDriveList() {
    Control& drives = (*this)["Drive1"];
    const std::string chosenRoot =
        drives.listIndex >= 0 && drives.listIndex < static_cast<int>(places_.size())
            ? places_[static_cast<std::size_t>(drives.listIndex)].root
            : std::string();
    places_ = platform_.removableVolumes();
    for (const Volume& folder : chosenFolders_) {
        const bool listed = std::any_of(places_.begin(), places_.end(),
                                        [&](const Volume& v) { return v.root == folder.root; });
        if (!listed) places_.push_back(folder);
    }
    drives.items.clear();
    drives.listIndex = -1;
    for (const Volume& place : places_) {
        if (!chosenRoot.empty() && place.root == chosenRoot)
            drives.listIndex = static_cast<int>(drives.items.size());
        drives.items.push_back(place.label);
    }
    drives.items.push_back(CopyChooseFolderEntry);
}

void CopyWindow::Drive1_GotFocus() {
    (*this)["lblCopy4"].visible = true;
    (*this)["lblCopy5"].visible = true;
}

// Asks for a folder; gives its index among the places, or -1 when cancelled.
int CopyWindow::chooseFolderPlace() {
    Control& drives = (*this)["Drive1"];
    const std::optional<std::string> chosen = platform_.chooseFolder(folder_);
    if (!chosen || chosen->empty()) {
        drives.listIndex = -1;
        return -1;
    }
    const std::string root = absoluteFolder(*chosen);
    if (std::none_of(places_.begin(), places_.end(),
                     [&](const Volume& v) { return v.root == root; }))
        chosenFolders_.push_back({root, root});
    drives.listIndex = -1;
    fillDriveList();
    for (std::size_t i = 0; i < places_.size(); ++i)
        if (places_[i].root == root) drives.listIndex = static_cast<int>(i);
    return drives.listIndex;
}

void CopyWindow::Drive1_Change(const Event& event) {
    Control& drives = (*this)["Drive1"];
    if (event.item >= 0 && event.item < static_cast<int>(drives.items.size()))
        drives.listIndex = event.item;
    main_.masterFile().close();
    if (abandon_) return;
    int index = drives.listIndex;
    if (index < 0 || index > static_cast<int>(places_.size())) return;
    if (index == static_cast<int>(places_.size())) index = chooseFolderPlace();
    if (index < 0) return;
    copyTo(places_[static_cast<std::size_t>(index)]);
}

// ---- The copy --------------------------------------------------------------

void CopyWindow::copyTo(const Volume& place) {
    const Control& files = (*this)["File1"];
    if (files.listIndex < 0 || files.listIndex >= static_cast<int>(files.items.size())) return;
    const std::string sourceName = files.items[static_cast<std::size_t>(files.listIndex)];
    const std::string sourcePath = joinPath(folder_, sourceName);
    const std::string targetPath = joinPath(place.root, sourceName);

    auto sourceUnreadable = [&](int error) {
        platform_.messageBox(
            "\"" + sourcePath + "\" could not be read: " + reason(error) + ". Nothing was copied.",
            MsgIcon::Exclamation, MsgButtons::Ok, EditionCaption);
        fillFileList();
    };
    auto refused = [&](int error, bool targetExisted) {
        showTryAgain();
        platform_.messageBox(sourceName + " could not be copied to " + place.root + ": " +
                                 reason(error) + ". " +
                                 (targetExisted ? "The file already there was not changed."
                                                : "Nothing was left there."),
                             MsgIcon::Exclamation, MsgButtons::Ok, EditionCaption);
        if (error == EINVAL) startAfresh();
    };

    bool repeated = false;
    for (;;) {
        const FileLookup source = lookUpFile(sourcePath);
        if (!source.exists) return sourceUnreadable(source.error != 0 ? source.error : ENOENT);

        FileLookup target;
        int problem = checkFolder(place.root);
        if (problem == 0) {
            target = lookUpFile(targetPath);
            problem = target.error;
        }
        if (problem != 0) {
            if (!isNotReadyError(problem)) return refused(problem, false);
            if (!askAgainAfterNoDisk(repeated)) return;
            repeated = true;
            continue;
        }
        if (target.exists && sameFile(target.facts, source.facts)) {
            platform_.messageBox(targetPath +
                                     " is the very file chosen to be copied. Choose another "
                                     "drive or folder.",
                                 MsgIcon::Exclamation, MsgButtons::Ok, EditionCaption);
            return;
        }

        const bool replacing = target.exists;
        const MsgResult answer =
            replacing
                ? platform_.messageBox(
                      replaceQuestion(place.label,
                                      {joinPath(place.root, upperCased(sourceName)), target.facts},
                                      {upperCased(sourceName), source.facts}),
                      MsgIcon::None, MsgButtons::YesNo, EditionCaption)
                : platform_.messageBox(copyQuestion(sourceName, place.label), MsgIcon::Question,
                                       MsgButtons::YesNo, EditionCaption);
        if (answer != MsgResult::Yes) {
            abandon_ = true;
            closeWindow();
            return;
        }

        const CopyResult copied = copyFileSafely(sourcePath, targetPath);
        if (copied) {
            if (replacing) {
                hideAfterReplacing();
            } else {
                closeWindow();
            }
            return;
        }
        if (copied.sourceFailed) return sourceUnreadable(copied.error);
        if (!isNotReadyError(copied.error)) return refused(copied.error, replacing);
        if (!askAgainAfterNoDisk(repeated)) return;
        repeated = true;
    }
}

// The place is not there. The first time the user is asked to insert the
// medium and the copy is tried again; when it fails once more, the same
// message also offers Cancel, so nobody is held in the window.
bool CopyWindow::askAgainAfterNoDisk(bool repeated) {
    showTryAgain();
    if (!repeated) {
        platform_.messageBox(NoDiskMessage, MsgIcon::Exclamation, MsgButtons::Ok, "");
        platform_.refresh();
        return true;
    }
    const MsgResult answer =
        platform_.messageBox(NoDiskMessage, MsgIcon::Exclamation, MsgButtons::OkCancel, "");
    platform_.refresh();
    return answer == MsgResult::Ok;
}

// The place cannot take the path at all (its file system refuses the name,
// or something that is not a file stands in the way): the window is closed,
// which reopens the master file, and opened again in its opening state,
// saying to try again and to check the medium.
void CopyWindow::startAfresh() {
    closeWindow();
    if (main_.programEnded()) return;  // the master file could not be reopened
    open();
    showTryAgain();
}

void CopyWindow::showTryAgain() {
    (*this)["lblCopy7"].visible = true;
    (*this)["lblCopy5"].visible = true;
}

// ---- Leaving the window ----------------------------------------------------

void CopyWindow::closeWindow() {
    hide();
    loaded_ = false;
    reopenMaster();
}

void CopyWindow::hideAfterReplacing() {
    hide();
    reopenMaster();
}

// The catalogue cannot work without its master file. When it cannot be
// opened again (another program holds it now), the user may try again or
// close the catalogue; nothing is written meanwhile.
void CopyWindow::reopenMaster() {
    for (;;) {
        const IoResult opened = main_.masterFile().open();
        if (opened) {
            const std::int32_t count = main_.masterFile().recordCount();
            main_.setRecordBounds(count, std::max(main_.lastRecord(), count));
            return;
        }
        const MsgResult answer = platform_.messageBox(
            opened.message + "\n\nClick Retry to open it again, or Cancel to close the catalogue.",
            MsgIcon::Critical, MsgButtons::RetryCancel, EditionCaption);
        if (answer != MsgResult::Retry) {
            main_.endProgram();
            return;
        }
    }
}

}  // namespace reel
