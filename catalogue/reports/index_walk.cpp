#include "reports/index_walk.h"

#include "data/index_cursor.h"
#include "indexes/damaged_index.h"
#include "screen/screen_context.h"

namespace reel {

IndexWalk::IndexWalk(ScreenContext& screen, std::string listName, std::string indexFile)
    : screen_(screen), listName_(std::move(listName)), indexFile_(std::move(indexFile)) {}

void IndexWalk::begin() {
    if (screen_.cursor().ViewMode != listName_) {
        screen_.indexes().closeIndexFile(screen_);
        screen_.cursor().IndexPosition = 0;
    }
}

std::optional<std::int32_t> IndexWalk::next() {
    std::int32_t& position = screen_.cursor().IndexPosition;
    if (!opened_) {
        // The list being viewed has its own handle on the file; the report
        // reads through its own, from the list's position.
        file_.open(screen_.directory() + "/" + indexFile_);
        opened_ = true;
        if (position < 1) position = 1;
    }
    const IndexStep step = IndexCursor(file_, position).forward();
    if (step.kind == IndexStep::Kind::End) return std::nullopt;
    // An entry that cannot be read names no record: it shows as an empty film.
    const std::int32_t record = step.found() ? step.entry.recordNumber() : 0;
    if (record > screen_.lastRecord()) {
        damagedRecord_ = record;
        return std::nullopt;
    }
    ++position;
    return record;
}

std::string IndexWalk::damageMessage() const {
    return damagedIndexMessage(indexFile_, damagedRecord_, screen_.lastRecord());
}

}  // namespace reel
