#include "app/program_folders.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "app/install_dirs.h"

namespace reel {

namespace {

std::string joined(const std::string& folder, const std::string& relative) {
    return (std::filesystem::path(folder) / relative).lexically_normal().string();
}

}  // namespace

std::string sharedDataFolder(const std::string& programFolder) {
    return joined(programFolder, DataFolderFromProgram);
}

std::string sampleCatalogueFolder(const std::string& programFolder) {
    return joined(sharedDataFolder(programFolder), "sample");
}

std::string libraryFolder(const std::string& programFolder) {
    return joined(programFolder, LibraryFolderFromProgram);
}

std::string runningProgramFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::filesystem::path(std::string(buffer, static_cast<std::size_t>(n))).parent_path().string();
}

}  // namespace reel
