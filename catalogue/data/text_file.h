#pragma once
// One-line text files (count and colour files): reading their first item and
// replacing them whole.
#include <optional>
#include <string>
#include <string_view>

#include "data/io_result.h"

namespace reel {

// "directory/name" (no separator added when the directory already ends in one).
std::string joinPath(const std::string& directory, std::string_view name);

// The first item of a text file, as raw bytes: leading blanks and tabs are
// skipped, the item ends at a comma or the end of the first line, and trailing
// blanks are dropped. Nothing when the file is missing or cannot be read.
std::optional<std::string> readFirstItem(const std::string& path);

// Writes `contents` to a new file beside `path` and renames it over `path`, so
// the file holds either its old contents or all of the new ones.
// The folder is flushed after the rename, and replacements a killed program
// left behind (the name, a dot and six letters or digits) are removed first.
IoResult replaceFile(const std::string& path, std::string_view contents);

// Removes the leftover replacements of `path` (see replaceFile).
void removeLeftoverTemporaries(const std::string& path);

}  // namespace reel
