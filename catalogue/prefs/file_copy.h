#pragma once
// Copying one catalogue file to a removable volume or a folder, safely.
//
// The copy goes to a hidden temporary file in the target folder first and is
// renamed over the target only once every byte has been written and flushed
// to the medium. So the target holds either its old contents or the whole new
// file: a full volume, a read-only medium or a stick pulled out half-way
// leaves the old file as it was (and no temporary file behind; one that a
// killed program left is removed by the next copy of that file).
//
// Errors are errno values, sorted into "the place is not there" (no medium,
// an unmounted volume, a folder that has gone), which the user can mend by
// inserting the medium and trying again, and every other failure, which is
// reported with its reason.
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <string>

namespace reel {

// What the copy questions tell about a file.
struct FileFacts {
    std::time_t modified = 0;  // last modification, seconds since the epoch
    std::int64_t size = 0;     // length in bytes
    dev_t device = 0;          // device and inode tell whether two names are one file
    ino_t inode = 0;
};

struct FileLookup {
    bool exists = false;
    int error = 0;  // errno when the file could not be looked at (and is not simply missing)
    FileFacts facts;
};

// Looks at a file without opening it. A name that exists but is not a
// regular file counts as an error (EISDIR or EINVAL).
FileLookup lookUpFile(const std::string& path);

// 0 when `folder` is an existing folder, else the errno that says why not
// (ENOTDIR when something else has that name).
int checkFolder(const std::string& folder);

// The place to copy to is missing or not ready, as opposed to refusing the file.
bool isNotReadyError(int error);

struct CopyResult {
    int error = 0;              // 0: the target now holds the whole copy
    bool sourceFailed = false;  // the error came from reading the source
    explicit operator bool() const { return error == 0; }
};

// Copies `source` byte for byte to `target`, replacing a file already there,
// and gives the copy the source's last-modification time.
CopyResult copyFileSafely(const std::string& source, const std::string& target);

}  // namespace reel
