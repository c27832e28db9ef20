#pragma once
// A whole file written beside its target and put in place only when it is
// complete and on the disk, so a crash, a kill or a full disk leaves either
// the old file or the new one, never a mixture. Every writer of whole files
// in the catalogue (count and colour files, the copy to a removable volume,
// the CSV exchange, the first copy of the sample) goes through this.
#include <string>
#include <string_view>

namespace reel {

class FileReplacement {
  public:
    // Where the new file is prepared: "name.XXXXXX" beside the target, or a
    // hidden ".name.XXXXXX" where a visible leftover would puzzle the user
    // (a removable volume they look at in a file manager).
    enum class Naming { Beside, Hidden };

    // Creates the new file (exclusively, owner-only, unpredictable name).
    // `createError()` says whether that worked.
    explicit FileReplacement(std::string target, Naming naming = Naming::Beside);
    ~FileReplacement();  // removes the new file unless it was put in place
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // 0 when the new file exists, else the errno of its creation.
    int createError() const { return createError_; }
    int fd() const { return fd_; }

    // Writes all of `bytes` to the new file: 0 or an errno.
    int write(std::string_view bytes);

    // Flushes and closes the new file, then renames it over the target and
    // flushes the folder (a folder that cannot be flushed is no failure: the
    // new contents are already in place). 0 or an errno; on failure the new
    // file is removed and the target is as it was.
    int commit();

    // As commit(), but never replaces a file that exists by then: the new
    // file is linked to the target's name, and EEXIST says someone was first.
    int commitWithoutReplacing();

  private:
    int flushAndClose();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int createError_ = 0;
    bool placed_ = false;
};

}  // namespace reel
