#pragma once
// The searches' matching rule: a field matches when the search text occurs
// anywhere in the field's content, trimmed of blanks at both ends, with case
// ignored. The search text itself is upper-cased but not trimmed, so "LEE "
// does not match a name that ends in "Lee". An empty field never matches.
//
// Matching works on the Windows-1252 bytes of the master file, so accented
// letters match whatever their case and a search costs no conversions.
#include <string>
#include <string_view>

#include "data/film_record.h"

namespace reel {

// Windows-1252 bytes with every lower-case letter replaced by its capital.
std::string upperCp1252(std::string_view bytes);

// A typed search text prepared for matching: its Windows-1252 bytes in
// upper case.
std::string searchKey(std::string_view typedUtf8);

// REQUIRES: key comes from searchKey().
bool fieldContains(const FilmRecord& record, Field field, std::string_view key);
// The same on the 649 bytes of a record as the master file holds them.
bool fieldContains(std::string_view recordBytes, Field field, std::string_view key);

}  // namespace reel
