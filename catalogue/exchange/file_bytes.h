#pragma once
// Whole files in and out, for the exchange with CSV: reading a file into
// memory, and replacing a file in one step that a crash or a full disk cannot
// leave half done.
#include <string>
#include <string_view>

#include "data/io_result.h"

namespace reel::exchange {

// Reads the whole file at `path` into `bytes`. A failure names the file.
IoResult readFileBytes(const std::string& path, std::string& bytes);

// Writes `bytes` to a new file beside `path` (exclusively created, named
// unpredictably, owner-only until complete), flushes it to the disk, gives it
// the permissions of the file it replaces (or the usual ones for a new file),
// renames it over `path` and flushes the folder. Until the rename `path` is
// untouched; after a failure the new file is removed and `path` is as it was.
IoResult replaceFileSafely(const std::string& path, std::string_view bytes);

}  // namespace reel::exchange
