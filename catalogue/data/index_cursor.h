#pragma once
// IndexCursor: the one way the catalogue steps through an index file, shared
// by the alphabetic views, the genre search, the list views and the reports.
//
// The cursor is a position (the number of the entry to read next, 1-based)
// over an open IndexFile. The position itself belongs to whoever walks: the
// main screen keeps it between handlers, because Next and Previous move it
// before the walk goes on. Every walk passes over a film without a title,
// one entry at a time, in the direction it walks.
//
// Each read says what it found: an entry, the end of the index in the
// direction of the walk, or an entry that could not be read (the walker
// decides what a failure means: a view ends, a report prints an empty film).
#include <cstdint>

#include "data/index_file.h"

namespace reel {

struct IndexStep {
    enum class Kind { Entry, End, Failed };
    Kind kind = Kind::End;
    IndexEntry entry;  // when kind is Entry

    bool found() const { return kind == Kind::Entry; }
};

class IndexCursor {
  public:
    // REQUIRES: `file` and `position` outlive the cursor.
    IndexCursor(const IndexFile& file, std::int32_t& position) : file_(file), position_(position) {}

    // One past the last entry: where a forward walk ends.
    std::int32_t pastEnd() const { return file_.entryCount() + 1; }

    // The entry at the position, or End when the position is past the last
    // entry (a position beyond that is brought back to pastEnd()).
    IndexStep here();
    // As here(), but a blank-titled entry is passed over: the position moves
    // on by one and the entry after it is read (End when there is none).
    IndexStep forward();
    // The entry before the position, passing over one blank-titled entry the
    // same way; End, with the position left where it stood, when the walk
    // reaches the first entry.
    IndexStep backward();

  private:
    IndexStep readAt(std::int32_t k) const;

    const IndexFile& file_;
    std::int32_t& position_;
};

}  // namespace reel
