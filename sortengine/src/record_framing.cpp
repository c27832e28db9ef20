// Framing of one record per file type. The rule of each type is small; they
// are kept together so the differences between them can be read at a glance.
#include "record_framing.h"

#include <algorithm>
#include <cstring>

namespace sorvel {
namespace {

constexpr FrameResult kIncomplete{FrameKind::kIncomplete, 0};
constexpr FrameResult kEnd{FrameKind::kEndMarker, 0};

FrameResult whole(std::size_t length, std::size_t available) {
    if (length == 0 || length > available) return kIncomplete;
    return {FrameKind::kRecord, length};
}

FrameResult frame_fixed(const FramingRules& rules, const std::uint8_t* bytes, std::size_t available,
                        bool has_marker) {
    FrameResult result = whole(rules.record_length, available);
    // A marker shorter than a whole record is a partial record, not a marker.
    if (result.kind == FrameKind::kRecord && has_marker && bytes[0] == rules.eof_byte) return kEnd;
    return result;
}

FrameResult frame_text(const std::uint8_t* bytes, std::size_t available) {
    for (std::size_t i = 0; i < available; ++i) {
        if (bytes[i] == 26) return kEnd;
        if (bytes[i] == '\r' && i + 1 < available && bytes[i + 1] == '\n') {
            return {FrameKind::kRecord, i + 2};
        }
    }
    return kIncomplete;
}

FrameResult frame_variable(const std::uint8_t* bytes, std::size_t available) {
    if (available < 2) return kIncomplete;
    return whole(2u + (bytes[0] | (bytes[1] << 8)), available);
}

FrameResult frame_rv(const FramingRules& rules, const std::uint8_t* bytes, std::size_t available) {
    if (rules.prefix_size == 1) {
        if (available < 1) return kIncomplete;
        return whole(bytes[0] + 2u, available);
    }
    if (available < 2) return kIncomplete;
    return whole((bytes[0] | (bytes[1] << 8)) + 4u, available);
}

FrameResult frame_cvs(const FramingRules& rules, const std::uint8_t* bytes, std::size_t available) {
    std::size_t length;
    if (rules.prefix_size == 2) {
        if (available < 2) return kIncomplete;
        length = ((bytes[0] & 15u) * 256u + bytes[1]) + 2u;
    } else {
        if (available < 4) return kIncomplete;
        length = (bytes[2] * 256u + bytes[3]) + 4u;
    }
    length = (length + 3) & ~std::size_t{3};
    // Nothing shorter than a prefix and some data is a record: the padding
    // after the last record ends the file.
    if (length <= 4) return kEnd;
    return whole(length, available);
}

// Position of `needle` in `hay`, or `hay_length` when absent. An empty needle
// is never found.
std::size_t find_sequence(const std::uint8_t* hay, std::size_t hay_length,
                          const std::uint8_t* needle, std::size_t needle_length) {
    if (needle_length == 0 || needle_length > hay_length) return hay_length;
    const std::uint8_t* end = hay + hay_length;
    const std::uint8_t* at = std::search(hay, end, needle, needle + needle_length);
    return at == end ? hay_length : static_cast<std::size_t>(at - hay);
}

FrameResult frame_general(const FramingRules& rules, const std::uint8_t* bytes,
                          std::size_t available, bool file_ended) {
    const std::size_t end_length = rules.end_sequence_length;
    if (rules.delimiter_length == 0) {
        // No delimiter: everything up to the end sequence, or the whole rest
        // of the file, is one record.
        const std::size_t end_at = find_sequence(bytes, available, rules.end_sequence, end_length);
        if (end_at == 0) return kEnd;
        if (end_at < available) return {FrameKind::kRecord, end_at};
        if (file_ended && available > 0) return {FrameKind::kRecord, available};
        return kIncomplete;
    }
    const std::size_t delimiter_at =
        find_sequence(bytes, available, rules.delimiter, rules.delimiter_length);
    // Only an end sequence that starts before the delimiter matters, so the
    // search for it stops there: framing stays linear in the buffer.
    const std::size_t window =
        delimiter_at == available ? available : std::min(available, delimiter_at + end_length);
    const std::size_t end_at = find_sequence(bytes, window, rules.end_sequence, end_length);
    // The end sequence first: the unfinished record before it is dropped.
    if (end_at < window && end_at <= delimiter_at) return kEnd;
    if (delimiter_at < available)
        return {FrameKind::kRecord, delimiter_at + rules.delimiter_length};
    return kIncomplete;
}

}  // namespace

FrameResult frame_record(const FramingRules& rules, const std::uint8_t* bytes,
                         std::size_t available, bool file_ended) {
    switch (rules.file_type) {
        case kFileFIX:
        case kFilePRE:
            return frame_fixed(rules, bytes, available, false);
        case kFileFE:
        case kFileDB3:
            return frame_fixed(rules, bytes, available, true);
        case kFileTXT:
            return frame_text(bytes, available);
        case kFileVS:
            return frame_variable(bytes, available);
        case kFileRV:
            return frame_rv(rules, bytes, available);
        case kFileCVS:
            return frame_cvs(rules, bytes, available);
        case kFileGP:
            return frame_general(rules, bytes, available, file_ended);
        default:
            return kIncomplete;
    }
}

}  // namespace sorvel
