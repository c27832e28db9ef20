// The sort keys of a record in one byte-comparable form.
//
// For every key type whose order is a byte order after a fixed conversion,
// the key field can be encoded so that comparing encodings as unsigned bytes
// gives the order of compare_records. The keys are encoded one after the
// other, each at a fixed offset, so the encoding of a record has the same
// width W for every record and is read eight bytes (one chunk) at a time.
// Keys from the first one up to the first key without such a form are
// encoded; when every key is, two records with equal encodings have equal
// keys and only their input order (SequenceNumber) is left to decide.
//
// Forms (L: the key's declared length):
// - CHA, SU, SP, DP, BIN: the field bytes, zero-padded to L, then the field's
//   length (one byte, two when L > 255): bytes decide first, then a field cut
//   short by the record end comes first, as compare_records has it.
// - ALP: the same with lower-case letters raised to upper case.
// - ALT: the weights of the bytes of non-zero weight, zero-padded to L: a
//   value with weighted bytes left over is greater.
// - NUM: the value as a double, as an 8-byte ordered number (-0 as +0).
// - INT, W, FI: the value as an unsigned big-endian number of L bytes, the
//   sign bit flipped for the signed types.
// - SLI, PD, STS, T: a sign class byte, then the bytes compared (inverted for
//   negative values, whose order is the reverse of their bytes).
// - ZD, STI: a class byte (negative zone, no sign zone, positive zone), then
//   the bytes, inverted for the first two classes.
// - E, FL of 4 or 8 bytes: the value as an ordered number (-0 as +0, every
//   NaN as the greatest value).
// Descending keys invert all bytes of their encoding.
//
// Some records have no exact encoding: a fixed-width number cut short by the
// record end, a NUM field that starts like EBCDIC text, an E/FL field cut
// short. chunk() refuses them and the caller orders with compare_records.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "engine_state.h"
#include "fields.h"

namespace sorvel {

class KeyChunks {
  public:
    // Set up for the keys of the run; usable() is false when there is none
    // or the first key has no byte-comparable form.
    explicit KeyChunks(const EngineState& state);
    KeyChunks() = default;  // no key: not usable

    bool usable() const { return segment_count_ > 0; }

    // True when every key is encoded: equal encodings mean equal keys.
    bool complete() const { return complete_; }

    // Number of chunks of an encoding.
    unsigned depth_count() const { return (width_ + 7) / 8; }

    // Chunk `depth` (0-based) of the record's encoding. False when the
    // record has no exact encoding (then for every depth).
    bool chunk(const std::uint8_t* record, std::size_t length, unsigned depth,
               std::uint64_t& out) const {
        // The common case inline: eight bytes inside a whole field of a
        // first key of characters.
        const std::size_t from = std::size_t{depth} * 8;
        if (from + 8 <= plain_bytes_) {
            const FieldView f = field(segments_[0], record, length);
            if (from + 8 <= f.length) {
                std::uint64_t raw;
                std::memcpy(&raw, f.data + from, 8);
                if constexpr (std::endian::native == std::endian::little) {
                    raw = __builtin_bswap64(raw);
                }
                out = raw ^ plain_invert_;
                return true;
            }
        }
        return chunk_slow(record, length, depth, out);
    }

    // Compares the encodings of two records (both with an exact encoding)
    // from byte 8 * `depth` on: negative when a comes first, positive when b
    // does, 0 when they are equal from there on.
    int compare_from(const std::uint8_t* a, std::size_t la, const std::uint8_t* b, std::size_t lb,
                     unsigned depth) const;

  private:
    enum class Form : std::uint8_t {
        kBytes,
        kUpper,
        kAlt,
        kNumText,
        kLittleSigned,
        kLittle,
        kBigSigned,
        kSignLeading,
        kZone,
        kSignTrailing,
        kPacked,
        kFloat,
    };
    struct Segment {
        std::uint32_t position = 0;
        std::uint32_t length = 0;  // L
        std::uint32_t offset = 0;  // in the encoding
        std::uint32_t width = 0;   // bytes in the encoding
        Form form = Form::kBytes;
        std::uint8_t invert = 0;  // 0xFF for a descending key
        std::uint8_t length_bytes = 0;
    };

    FieldView field(const Segment& s, const std::uint8_t* record, std::size_t length) const {
        // The usual case inline: a whole field inside the record.
        const std::size_t start = std::size_t{field_offset_} + s.position - 1;
        if (s.position >= 1 && start + s.length <= length) return {record + start, s.length};
        return extract_positional(record, length, field_offset_, s.position, s.length);
    }
    bool chunk_slow(const std::uint8_t* record, std::size_t length, unsigned depth,
                    std::uint64_t& out) const;
    bool exact(const Segment& s, const FieldView& f) const;
    // Writes bytes [from, from + n) of the segment's encoding.
    void encode(const Segment& s, const FieldView& f, std::size_t from, std::size_t n,
                std::uint8_t* out) const;
    // The whole encoding of a segment of a fixed-size form.
    void encode_whole(const Segment& s, const FieldView& f, std::uint8_t* out) const;
    int compare_segment(const Segment& s, const FieldView& x, const FieldView& y,
                        std::size_t from) const;

    std::uint32_t field_offset_ = 0;
    std::array<Segment, kMaxKeyFields> segments_{};
    int segment_count_ = 0;
    std::uint32_t width_ = 0;
    bool complete_ = false;
    bool checked_ = false;  // some record may lack an exact encoding
    // Bytes of the encoding that are plain field bytes of the first key
    // (0 unless every record has an exact encoding), and their inversion.
    std::uint32_t plain_bytes_ = 0;
    std::uint64_t plain_invert_ = 0;
    AltTable alt_{};
};

}  // namespace sorvel
