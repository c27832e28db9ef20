#include "indexes/working_directory.h"

namespace reel {

WorkingDirectory::WorkingDirectory(const std::string& directory) {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    if (ec) {
        ok_ = false;
        error_ = "The current folder cannot be determined: " + ec.message() + ".";
        return;
    }
    std::filesystem::current_path(directory, ec);
    if (ec) {
        ok_ = false;
        error_ =
            "The catalogue folder \"" + directory + "\" cannot be entered: " + ec.message() + ".";
        return;
    }
    changed_ = true;
}

WorkingDirectory::~WorkingDirectory() {
    if (!changed_) return;
    std::error_code ignored;  // nowhere to report it; the build has finished
    std::filesystem::current_path(previous_, ignored);
}

}  // namespace reel
