#include "fields.h"

#include <cstring>

namespace sorvel {

FieldView extract_positional(const std::uint8_t* record, std::size_t record_length,
                             std::uint32_t offset, std::uint32_t position, std::uint32_t length) {
    // 64-bit arithmetic: positions and lengths come from the command and may
    // be anything up to 2^32 - 1.
    const std::uint64_t start =
        static_cast<std::uint64_t>(offset) + (position == 0 ? 0 : position - 1);
    if (start >= record_length) return {record + record_length, 0};
    const std::uint8_t* begin = record + start;
    const std::size_t available = record_length - static_cast<std::size_t>(start);
    if (length == kToZeroByte) {
        const void* zero = std::memchr(begin, 0, available);
        const std::size_t n =
            zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - begin)
                 : available;
        return {begin, n};
    }
    return {begin, length < available ? length : available};
}

FieldView extract_numbered(const std::uint8_t* record, std::size_t record_length,
                           std::uint32_t field_number, std::uint8_t delimiter, std::uint8_t quote) {
    const std::size_t end = record_length >= 2 ? record_length - 2 : 0;
    std::size_t i = 0;
    for (std::uint32_t field = 1; field < field_number; ++field) {
        while (i < end && record[i] != delimiter) {
            if (record[i] == quote) {
                ++i;
                while (i < end && record[i] != quote) ++i;
            }
            if (i < end) ++i;
        }
        if (i >= end) return {record + end, 0};
        ++i;  // the delimiter
    }
    if (i >= end) return {record + end, 0};
    if (record[i] == quote) {
        const std::size_t start = i + 1;
        std::size_t stop = start;
        while (stop < end && record[stop] != quote) ++stop;
        return {record + start, stop - start};
    }
    std::size_t stop = i;
    while (stop < end && record[stop] != delimiter) ++stop;
    return {record + i, stop - i};
}

}  // namespace sorvel
