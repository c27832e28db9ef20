#pragma once
// IndexFile: the one reader of the catalogue's index files ("Titleqen.Dat"
// and the three format indexes), entry by entry, for the views, searches,
// list views and reports alike.
//
// An index file is a run of 49-byte entries: the 40-byte title, the master
// record number as seven digits, CR LF. Entries are numbered from 1; entry k
// lies at byte (k-1)*49 and the number of entries is the file length divided
// by 49, taken when the file is opened (so a partial entry at the end is
// never read, and a reader never sees the file change under it: the build
// closes the file first). A missing file opens as an index without entries
// and is not created.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reel {

struct IndexEntry {
    static constexpr int Size = 49;
    static constexpr int TitleSize = 40;

    std::string bytes;  // exactly Size bytes

    // Bytes 1-40 are all blanks: a film without a title.
    bool blankTitle() const;
    // The master record number in bytes 41 on (see parseRecordNumber).
    std::int32_t recordNumber() const;
};

// The record number an entry holds: the decimal number from byte 41 on,
// blanks before it skipped, reading stopped at the first character that is
// not a digit; 0 when there is none. A number too large for a record number
// gives the largest one, so every reader sees it lies beyond the master file
// and reports the index as damaged, rather than mistaking it for no record.
std::int32_t parseRecordNumber(std::string_view entry);

class IndexFile {
  public:
    IndexFile() = default;
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    // Opens `path` for reading (closing any file open before). False only
    // when an existing file cannot be opened; `error` then says why.
    bool open(const std::string& path, std::string* error = nullptr);
    void close();
    bool isOpen() const { return open_; }
    const std::string& path() const { return path_; }

    std::int32_t entryCount() const { return count_; }
    // REQUIRES: 1 <= k <= entryCount(). Nothing when it cannot be read.
    std::optional<IndexEntry> read(std::int32_t k) const;

  private:
    // Entries are read in blocks: the walks step through neighbours.
    static constexpr std::int32_t BlockEntries = 512;
    bool fillBlock(std::int32_t k) const;

    int fd_ = -1;
    bool open_ = false;
    mutable std::string block_;
    mutable std::int32_t blockFirst_ = 0;
    mutable std::int32_t blockCount_ = 0;
    std::int32_t count_ = 0;
    std::string path_;
};

}  // namespace reel
