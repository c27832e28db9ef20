// Comparing field values by data type, and records by their sort keys.
//
// compare_fields(type, x, lx, y, ly, n) returns 0 when x equals y, 1 when x
// is greater and 2 when x is smaller. n is the common length that the
// fixed-width types (SLI, STI, STS, ZD, T, INT, PD, BIN, E, W, FI, FL) compare
// over; it is the length of the field located last. A value shorter than n
// (a field cut off by the end of its record, a short constant) is compared
// over the bytes both values have, so no comparison reads past a value.
//
// The text types (CHA, ALP, SU, SP, DP) compare bytewise over the shorter
// length and then by length; NUM converts decimal text (ASCII or EBCDIC, at
// most 23 bytes) to numbers; ALT weighs bytes by the ALTS table and ignores
// bytes of weight 0. SP and DP have no defined order of their own and are
// compared as CHA, as are E and FL values of a length other than 4 or 8.
//
// Every type gives a consistent order: compare(y, x) mirrors compare(x, y)
// (a zoned value without a sign zone against a signed one and NaN in E/FL
// are ordered so that this holds; a NUM value is read as EBCDIC or ASCII
// text by its own first byte, see numeric_text.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

inline constexpr int kEqual = 0;
inline constexpr int kGreater = 1;  // x > y
inline constexpr int kSmaller = 2;  // x < y

int compare_fields(std::uint8_t type, const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                   std::size_t ly, std::size_t n, const AltTable& alt);

// True for the types that compare over the common length n (the fixed-width
// types, E and FL); the other types compare whole values of any length.
bool compares_over_common_length(std::uint8_t type);

// The single rules, for tests and for callers with a fixed type.
int compare_text(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y, std::size_t ly);
int compare_text_upper(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                       std::size_t ly);
int compare_numeric_text(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                         std::size_t ly);
int compare_alt(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y, std::size_t ly,
                const AltTable& alt);

// CompareRecords: -1 when record a comes first in the output, +1 otherwise;
// never 0 (equal keys are ordered by SequenceNumber).
int compare_records(const EngineState& state, const std::uint8_t* a, std::size_t la,
                    std::uint32_t sequence_a, const std::uint8_t* b, std::size_t lb,
                    std::uint32_t sequence_b);

inline int compare_records(const EngineState& state, const RecordRef& a, const RecordRef& b) {
    return compare_records(state, a.data, a.length, a.sequence, b.data, b.length, b.sequence);
}

}  // namespace sorvel
