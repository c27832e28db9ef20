#pragma once
// Lets failed comparisons of records show their text instead of raw memory.
#include <ostream>

#include "data/film_record.h"

namespace reel {

inline void PrintTo(const FilmRecord& record, std::ostream* out) {
    if (record.isPastEnd()) {
        *out << "<past end>";
        return;
    }
    *out << '"' << record.bytes().substr(0, FilmRecord::TextSize) << '"';
}

}  // namespace reel
