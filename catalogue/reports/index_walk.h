#pragma once
// IndexWalk: how a report steps through an index, film by film.
//
// The screen's IndexPosition is the number of the next entry to read. A
// report whose own list is not the one being viewed closes that list's index
// and starts from entry 1; a report started while its own list is viewed
// prints from the list's current position on. A blank-titled entry is passed
// over (one at a time, as the views do).
//
// Call order: begin() before the report changes ViewMode, then next() until
// it gives nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "data/index_file.h"

namespace reel {

class ScreenContext;

class IndexWalk {
  public:
    // `listName` is the ViewMode of the list that reads the same index
    // ("Title", "DVD", "Laser", "VHS"); `indexFile` its file name.
    IndexWalk(ScreenContext& screen, std::string listName, std::string indexFile);

    // Closes another list's index and starts from the first entry.
    void begin();
    // The master record number of the next film, or nothing when the index
    // is exhausted or names a record beyond the last one (see damaged()).
    std::optional<std::int32_t> next();

    // The walk stopped at an entry naming a record beyond the end of the
    // master file: the index is damaged and the report must not go on.
    bool damaged() const { return damagedRecord_ != 0; }
    // What the user is told then.
    std::string damageMessage() const;

  private:
    ScreenContext& screen_;
    std::string listName_;
    std::string indexFile_;
    IndexFile file_;
    bool opened_ = false;
    std::int32_t damagedRecord_ = 0;
};

}  // namespace reel
