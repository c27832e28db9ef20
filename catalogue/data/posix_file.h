#pragma once
// The small POSIX file chores every writer in the catalogue needs: writing a
// buffer whole, copying one descriptor into another, the mode a new file gets,
// and flushing a folder so a rename in it lasts.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace reel {

// Writes all of `bytes`, retrying short writes and EINTR. 0, or the errno of
// the failure (ENOSPC when the system takes nothing more).
int writeAll(int fd, std::string_view bytes);

// As writeAll, at `offset` (pwrite), leaving the file position alone.
int writeAllAt(int fd, std::string_view bytes, off_t offset);

// Copies the rest of `in` to `out`. 0 or an errno; `readFailed` is set when
// the error came from `in`, so a caller can blame the right file.
int copyAll(int in, int out, bool& readFailed);

// What a file created now gets under the process's umask (0666 & ~umask).
mode_t newFileMode();

// The folder part of `path` ("." for a bare name, "/" at the root) and the
// name part.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// Flushes the folder holding `path`, so that a file created or renamed in it
// survives a crash. 0 or an errno; file systems that cannot flush a folder
// (EINVAL) count as success.
int syncFolderOf(const std::string& path);

}  // namespace reel
