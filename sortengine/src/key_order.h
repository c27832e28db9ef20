// The first sort key in a byte-comparable form, eight bytes at a time.
//
// For the key types whose order is a byte order after a fixed conversion,
// the key of a record can be cut into 64-bit chunks so that comparing chunks
// as unsigned numbers gives the order of compare_records whenever they
// differ. Equal chunks decide nothing: the caller then looks at the next
// chunk, and after the last one falls back to compare_records, which stays
// the one definition of order (further keys, the input sequence).
//
// - CHA, SU, SP, DP, BIN: the field bytes, zero-padded past the field's end.
//   A field cut short by the record end pads with zero bytes; where a longer
//   field has a byte above zero the short one comes first, as compare_records
//   has it, and where it has a zero byte the chunks are equal.
// - ALP: the same with lower-case letters raised to upper case.
// - INT, W (little-endian) and FI (big-endian), at most 8 bytes: the value as
//   an unsigned big-endian number (sign bit flipped for the signed types).
//   These compare over the common length, so a record whose field is cut
//   short has no chunk.
// Descending keys invert the chunk bits.
#pragma once

#include <cstdint>

#include "engine_state.h"
#include "fields.h"

namespace sorvel {

class KeyChunks {
  public:
    // Set up for the first key of the run; usable() is false when there is
    // none or its type has no byte-comparable form.
    explicit KeyChunks(const EngineState& state);
    KeyChunks() = default;  // no key: not usable

    bool usable() const { return kind_ != Kind::kNone; }

    // Number of chunks a key can have.
    unsigned depth_count() const { return depths_; }

    // Chunk `depth` (0-based) of the record's key. False when the record has
    // no exact chunk (a fixed-width number cut short by the record end).
    bool chunk(const std::uint8_t* record, std::size_t length, unsigned depth,
               std::uint64_t& out) const {
        return field_chunk(field(record, length), depth, out);
    }

    // The key field of a record, and the chunk taken from it.
    FieldView field(const std::uint8_t* record, std::size_t length) const {
        return extract_positional(record, length, field_offset_, position_, length_);
    }
    bool field_chunk(const FieldView& field, unsigned depth, std::uint64_t& out) const;

    // Compares the keys of two records from byte 8 * `depth` on, the chunks
    // before it being equal: negative when a comes first, positive when b
    // does, 0 when only compare_records can tell (equal bytes, different
    // lengths, or no exact chunks).
    int compare_from(const std::uint8_t* a, std::size_t la, const std::uint8_t* b, std::size_t lb,
                     unsigned depth) const {
        return compare_fields_from(field(a, la), field(b, lb), depth);
    }
    int compare_fields_from(const FieldView& x, const FieldView& y, unsigned depth) const;

  private:
    enum class Kind : std::uint8_t { kNone, kBytes, kUpper, kLittleSigned, kLittle, kBigSigned };
    std::uint32_t field_offset_ = 0;
    std::uint32_t position_ = 0;
    std::uint32_t length_ = 0;
    unsigned depths_ = 0;
    Kind kind_ = Kind::kNone;
    std::uint64_t invert_ = 0;
};

}  // namespace sorvel
