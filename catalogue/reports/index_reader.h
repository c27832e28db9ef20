#pragma once
// IndexReader: reads the entries of an index file ("Titleqen.Dat" and the
// three format indexes) for the reports.
//
// An index file is a run of 49-byte entries: the 40-byte title, the master
// record number as seven digits, CR LF. Entry k (1-based) lies at byte
// (k-1)*49; the number of entries is the file length divided by 49, so a
// partial entry at the end is never read. A missing file reads as an index
// without entries.
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace reel {

struct IndexEntryView {
    bool blankTitle = false;        // the title part is 40 blanks
    std::int32_t recordNumber = 0;  // the number from byte 41 on; 0 when none
};

class IndexReader {
  public:
    static constexpr int EntrySize = 49;
    static constexpr int TitleSize = 40;

    // Opens the file; false (and no entries) when it cannot be read.
    bool open(const std::string& path);
    int entryCount() const { return entries_; }
    // REQUIRES: 1 <= k <= entryCount(). Nothing when the read fails.
    std::optional<IndexEntryView> read(int k);

  private:
    std::ifstream file_;
    int entries_ = 0;
};

// The record number an entry holds: the decimal number from byte 41 on
// (blanks before it skipped, reading stops at the first non-digit).
std::int32_t entryRecordNumber(std::string_view entry);

}  // namespace reel
