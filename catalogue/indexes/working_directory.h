#pragma once
// WorkingDirectory: makes a folder the process's current directory for as
// long as it lives, and goes back afterwards.
//
// The sort engine names its files (the master file, the index file and the
// collating table its command names) relative to the current directory, so
// an index build runs inside the catalogue's folder whatever the current
// directory was.
#include <filesystem>
#include <string>

namespace reel {

class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& directory);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    // False when the folder could not be entered; error() says why.
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

  private:
    std::filesystem::path previous_;
    bool changed_ = false;
    bool ok_ = true;
    std::string error_;
};

}  // namespace reel
