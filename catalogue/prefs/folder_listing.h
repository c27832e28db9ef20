#pragma once
// What the copy window's folder and file lists show.
//
// The folder list shows the path from the root down to the current folder,
// one line per folder and indented by depth, followed by the current
// folder's subfolders one level deeper; opening a line goes to that folder.
// The file list shows the catalogue's data files ("*.dat", in any case, so
// "Tavlen.Dat" is among them) of the current folder. Hidden entries (names
// starting with a dot) are left out of both, as the desktop's own lists do.
// Names are sorted without regard to case.
#include <string>
#include <string_view>
#include <vector>

namespace reel {

struct FolderLine {
    std::string shown;  // indented name
    std::string path;   // absolute folder path
};

struct FolderView {
    std::vector<FolderLine> lines;
    int current = 0;  // index of the current folder's line
};

// REQUIRES: `folder` is an absolute, normalised path ("/a/b", or "/").
FolderView folderView(const std::string& folder);

// Whether a file name matches "*.dat" regardless of case.
bool isDataFileName(std::string_view name);

// The data files of `folder` (empty when it cannot be read).
std::vector<std::string> dataFiles(const std::string& folder);

// An absolute, normalised form of `path` (relative to the current folder).
std::string absoluteFolder(const std::string& path);

}  // namespace reel
