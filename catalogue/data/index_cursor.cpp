#include "data/index_cursor.h"

namespace reel {

IndexStep IndexCursor::readAt(std::int32_t k) const {
    IndexStep step;
    std::optional<IndexEntry> entry = file_.read(k);
    if (!entry) {
        step.kind = IndexStep::Kind::Failed;
        return step;
    }
    step.kind = IndexStep::Kind::Entry;
    step.entry = std::move(*entry);
    return step;
}

IndexStep IndexCursor::here() {
    if (position_ > pastEnd()) position_ = pastEnd();
    if (position_ == pastEnd()) return {};
    return readAt(position_);
}

IndexStep IndexCursor::forward() {
    IndexStep step = here();
    if (!step.found() || !step.entry.blankTitle()) return step;
    position_ += 1;
    return here();
}

IndexStep IndexCursor::backward() {
    for (int pass = 0; pass < 2; ++pass) {
        if (position_ <= 1) return {};
        position_ -= 1;
        IndexStep step = readAt(position_);
        if (!step.found() || !step.entry.blankTitle() || pass == 1) return step;
    }
    return {};
}

}  // namespace reel
