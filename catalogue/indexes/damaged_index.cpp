#include "indexes/damaged_index.h"

namespace reel {

std::string damagedIndexMessage(std::string_view indexFile, std::int32_t n,
                                std::int32_t lastRecord) {
    return "The index file " + std::string(indexFile) + " is damaged.  It names record " +
           std::to_string(n) + ", but the last record is " + std::to_string(lastRecord) +
           ".\n\nChoose Sort All Files in the Sort menu to rebuild the indexes.";
}

}  // namespace reel
