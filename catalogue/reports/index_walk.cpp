#include "reports/index_walk.h"

#include "data/index_cursor.h"
#include "indexes/damaged_index.h"
#include "screen/main_screen.h"

namespace reel {

IndexWalk::IndexWalk(MainScreen& screen, std::string listName, std::string indexFile)
    : screen_(screen), listName_(std::move(listName)), indexFile_(std::move(indexFile)) {}

void IndexWalk::begin() {
    if (screen_.state.ViewMode != listName_) {
        screen_.indexFeatures().closeIndexFile(screen_);
        screen_.state.IndexPosition = 0;
    }
}

std::optional<std::int32_t> IndexWalk::next() {
    std::int32_t& position = screen_.state.IndexPosition;
    if (!opened_) {
        // The list being viewed has its own handle on the file; the report
        // reads through its own, from the list's position.
        file_.open(screen_.app().directory + "/" + indexFile_);
        opened_ = true;
        if (position < 1) position = 1;
    }
    const IndexStep step = IndexCursor(file_, position).forward();
    if (step.kind == IndexStep::Kind::End) return std::nullopt;
    // An entry that cannot be read names no record: it shows as an empty film.
    const std::int32_t record = step.found() ? step.entry.recordNumber() : 0;
    if (record > screen_.state.LastRecord) {
        damagedRecord_ = record;
        return std::nullopt;
    }
    ++position;
    return record;
}

std::string IndexWalk::damageMessage() const {
    return damagedIndexMessage(indexFile_, damagedRecord_, screen_.state.LastRecord);
}

}  // namespace reel
