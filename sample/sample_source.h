#pragma once
// Reads the sample catalogue's text source (films.txt) into film records.
//
// The source is a list of blocks separated by blank lines; each line of a block
// is "Field: value". Every value is checked, so the sample can never hold a
// value the screens would not offer or one cut short by its field width.
#include <string>
#include <string_view>
#include <vector>

#include "data/film_record.h"

namespace reel::sample {

struct ParseResult {
    std::vector<FilmRecord> films;
    std::vector<std::string> errors;  // "line N: what is wrong"
};

ParseResult parseSampleSource(std::string_view text);

}  // namespace reel::sample
