#pragma once
// The thirteen field searches of the Find menu. They share one routine
// (IndexModule::fieldSearch) and differ only in what this table holds.
#include <array>
#include <string_view>
#include <vector>

#include "data/film_record.h"

namespace reel {

// How the heading names a hit.
enum class HitHeading {
    Stored,   // prefix + the matching field as stored, trailing blanks included
    Trimmed,  // prefix + the field without its blanks
    None,     // the record display's heading stays
    Rating,   // "TV Rating is  " or "MPAA Rating is  " + the rating as stored
};

// The three wordings of the not-found message.
enum class NotFoundWording {
    Title,  // "The search for" + quoted upper-case text + " was not found."
    Star,   // "The search for " + quoted text as typed + " was not found."
    Other,  // "The search for " + quoted upper-case text + " was not found. "
};

struct FieldSearchKind {
    std::string_view kind;      // LastSearch
    std::vector<Field> fields;  // tested in this order; the first that matches names the hit
    std::string_view prompt;
    std::string_view inputTitle;
    std::string_view startHeading;
    HitHeading heading;
    std::string_view hitPrefix;
    std::string_view endTitle;
    std::string_view notFoundTitle;
    NotFoundWording wording;
    bool setsMatchCaption;  // the button's caption becomes "&Match"
};

// In menu order.
const std::array<FieldSearchKind, 13>& fieldSearchKinds();
// The index of `kind` in fieldSearchKinds(), or -1.
int fieldSearchIndex(std::string_view kind);

}  // namespace reel
