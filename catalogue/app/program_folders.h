#pragma once
// The folders that ship with the program, found relative to the folder of
// the running program, so that the build tree (which mirrors the install
// layout) and an install under any prefix work alike, with nothing
// hard-coded but the layout itself (GNUInstallDirs, e.g. a multiarch
// library folder under /usr).
#include <string>

namespace reel {

// The data folder (help file, collating table, sample catalogue), the
// sample catalogue in it, and the library folder (the sort engine).
std::string sharedDataFolder(const std::string& programFolder);
std::string sampleCatalogueFolder(const std::string& programFolder);
std::string libraryFolder(const std::string& programFolder);

// The folder of the running program, "" when it cannot be told.
std::string runningProgramFolder();

}  // namespace reel
