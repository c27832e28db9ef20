#pragma once
// MasterScan: the master file read front to back in large blocks, for the
// field searches. Reading a big catalogue record by record costs one system
// call per film; a block of a few hundred records keeps a search over
// 100,000 films to a few tens of milliseconds.
//
// Records are handed out as their 649 raw bytes. A number beyond the end of
// the file, or a short last record, reads as blanks, as MasterFile does.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/master_file.h"

namespace reel {

class MasterScan {
  public:
    // Records first .. last, in order.
    MasterScan(const MasterFile& master, std::int32_t first, std::int32_t last);
    ~MasterScan();
    MasterScan(const MasterScan&) = delete;
    MasterScan& operator=(const MasterScan&) = delete;

    // The next record: its number and bytes (valid until the next call).
    // False when the range is done.
    bool next(std::int32_t& number, std::string_view& bytes);

  private:
    void fill();

    const MasterFile& master_;
    int fd_ = -1;
    std::int32_t next_;
    std::int32_t last_;
    std::int32_t blockFirst_ = 0;  // number of the first record in block_
    std::int32_t blockCount_ = 0;
    std::string block_;
    std::string single_;  // fallback when the file cannot be opened for reading
};

}  // namespace reel
