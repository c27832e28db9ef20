// Field arithmetic of the SUM statement: adds the value of one record's field
// into the same field of the record held for its duplicate group.
//
// Every routine works in place on the held bytes and never fails: a carry out
// of the top byte is lost (binary types), a decimal overflow or a sign the
// type does not know leaves the held field unchanged (PD, ZD), and a numeric
// text that no longer fits is filled with asterisks (NUM). Fields longer than
// a type's limit are left unchanged as well.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sorvel {

// SUM type numbers, in the order of the SUM type keyword table.
enum SumType : std::uint8_t {
    kSumZD = 0,
    kSumBIN = 1,
    kSumINT = 2,
    kSumPD = 3,
    kSumEEE = 4,
    kSumFL = 5,
    kSumWOR = 6,
    kSumFIX = 7,
    kSumNUM = 8,
};

// Adds `add` (n bytes) into `held` (n bytes) as SUM type `type`.
void sum_field(std::uint8_t type, std::uint8_t* held, const std::uint8_t* add, std::size_t n);

// The single routines, exposed for tests.
void sum_big_endian(std::uint8_t* held, const std::uint8_t* add, std::size_t n);
void sum_little_endian(std::uint8_t* held, const std::uint8_t* add, std::size_t n);
void sum_float(std::uint8_t* held, const std::uint8_t* add, std::size_t n);
void sum_packed(std::uint8_t* held, const std::uint8_t* add, std::size_t n);
void sum_zoned(std::uint8_t* held, const std::uint8_t* add, std::size_t n);
void sum_numeric_text(std::uint8_t* held, const std::uint8_t* add, std::size_t n);

}  // namespace sorvel
