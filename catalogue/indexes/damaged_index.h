#pragma once
// An index entry that names a record beyond the end of the master file can
// only come from a damaged index (or one written for another catalogue).
// Following it would show a film that is not there and let Save grow the
// file by blank records, so every reader of an index checks the number
// first and, when it is out of range, tells the user to rebuild.
#include <cstdint>
#include <string>
#include <string_view>

namespace reel {

// True when record `n` lies within the file the screen works on (1 to
// `lastRecord`).
inline bool recordInCatalogue(std::int32_t n, std::int32_t lastRecord) {
    return n >= 1 && n <= lastRecord;
}

// What the user is told about such an entry in `indexFile`.
std::string damagedIndexMessage(std::string_view indexFile, std::int32_t n,
                                std::int32_t lastRecord);

inline constexpr std::string_view DamagedIndexCaption = "Reelvane Deluxe Edition";

}  // namespace reel
