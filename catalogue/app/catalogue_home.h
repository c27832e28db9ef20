#pragma once
// Where a catalogue lives when reelbook is started without a folder.
//
// Started from the desktop menu the working folder is the home folder, and
// a catalogue of a dozen loose files does not belong there: the catalogue
// gets its own folder under the user's data folder,
// $XDG_DATA_HOME/reelbook, i.e. ~/.local/share/reelbook by default. The
// folder is made on first start (owner-only, as it holds private data); a
// first start may fill it with a copy of the sample catalogue that ships
// with the program.
//
// All of this is plain file work, so main() can do it before any window
// exists and the tests can check it without a display.
#include <functional>
#include <optional>
#include <string>

#include "data/io_result.h"

namespace reel {

// Reads one environment variable; nothing when it is unset.
using Environment = std::function<std::optional<std::string>(const char* name)>;

// The process's own environment.
Environment processEnvironment();

// $XDG_DATA_HOME/reelbook, or $HOME/.local/share/reelbook when
// XDG_DATA_HOME is unset, empty or not an absolute path (the XDG rule).
// Empty when neither gives a folder (no usable HOME).
std::string userCatalogueFolder(const Environment& environment);

struct CatalogueFolder {
    std::string path;
    // The folder holds no master file yet: nothing has been catalogued here.
    bool firstStart = false;
    IoResult result;  // why the folder cannot be used
};

// Makes `path` (and its missing parents) when it does not exist and tells
// whether this is the catalogue's first start.
CatalogueFolder prepareCatalogueFolder(const std::string& path);

// Copies every file of the sample catalogue in `sampleFolder` into
// `folder`, leaving any file that is already there untouched. Each file is
// written under a temporary name and renamed into place, so a failure
// leaves no half-copied file. On failure the message names the file.
IoResult copySampleCatalogue(const std::string& sampleFolder, const std::string& folder);

}  // namespace reel
