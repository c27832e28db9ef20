#pragma once
// The master file as bytes in memory, grown the way the record screen grows
// the file on disk, so an import can build the whole new file before it
// replaces the old one.
#include <string>
#include <vector>

#include "data/film_record.h"

namespace reel::exchange {

// `image` with each film written, in order, where New would put it: the first
// record whose title is 40 blanks, else after the last record (MasterFile's
// freeSlot() and writeRecord(): record count rounded as for the file's length,
// a partial last record completed or overwritten, the bytes beyond the records
// kept).
std::string withNewFilms(std::string image, const std::vector<FilmRecord>& films);

}  // namespace reel::exchange
