#pragma once
// The genre code table: the twenty two-letter codes a film's Genre field
// holds, the item the genre picker lists for each and the name shown beside
// the code. The genre search and the genre report use it too.
//
// The order is the picker's and is not alphabetical (FO before FM, MU before
// MS and MY). Note that MU lists as "MU = Musical" but is named "Musicals".
#include <array>
#include <string>
#include <string_view>

namespace reel {

struct Genre {
    std::string_view code;
    std::string_view listItem;
    std::string_view name;
};

const std::array<Genre, 20>& genreTable();

// The name of a code ("MU" -> "Musicals"); "" for a blank code or one not in
// the table. The code must match exactly (callers upper-case it first).
std::string genreName(std::string_view code);

// The code of a picker item ("IN = Instructional" -> "IN").
std::string genreCodeOfItem(std::string_view listItem);

}  // namespace reel
