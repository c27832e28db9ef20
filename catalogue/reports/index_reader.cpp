#include "reports/index_reader.h"

#include <limits>

namespace reel {

std::int32_t entryRecordNumber(std::string_view entry) {
    std::size_t i = IndexReader::TitleSize;
    while (i < entry.size() && entry[i] == ' ') ++i;
    std::int64_t n = 0;
    for (; i < entry.size() && entry[i] >= '0' && entry[i] <= '9'; ++i) {
        n = n * 10 + (entry[i] - '0');
        if (n > std::numeric_limits<std::int32_t>::max()) return 0;
    }
    return static_cast<std::int32_t>(n);
}

bool IndexReader::open(const std::string& path) {
    entries_ = 0;
    file_.close();
    file_.clear();
    file_.open(path, std::ios::binary);
    if (!file_) return false;
    file_.seekg(0, std::ios::end);
    std::streamoff length = file_.tellg();
    if (length < 0) return false;
    std::streamoff count = length / EntrySize;
    // The index positions are whole numbers of the screen's size.
    entries_ = count > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                       : static_cast<int>(count);
    return true;
}

std::optional<IndexEntryView> IndexReader::read(int k) {
    if (k < 1 || k > entries_) return std::nullopt;
    std::string bytes(EntrySize, '\0');
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(k - 1) * EntrySize);
    if (!file_.read(bytes.data(), EntrySize)) return std::nullopt;
    IndexEntryView entry;
    entry.blankTitle = bytes.find_first_not_of(' ') >= static_cast<std::size_t>(TitleSize);
    entry.recordNumber = entryRecordNumber(bytes);
    return entry;
}

}  // namespace reel
