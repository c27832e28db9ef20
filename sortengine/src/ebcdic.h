// Translation between ASCII (the 8-bit code page of the data files) and
// EBCDIC. Both tables are permutations of 0..255 and each is the exact
// inverse of the other; the printable characters follow code page 037.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sorvel {

extern const std::array<std::uint8_t, 256> kAsciiToEbcdic;
extern const std::array<std::uint8_t, 256> kEbcdicToAscii;

inline std::uint8_t ascii_to_ebcdic(std::uint8_t c) {
    return kAsciiToEbcdic[c];
}
inline std::uint8_t ebcdic_to_ascii(std::uint8_t c) {
    return kEbcdicToAscii[c];
}

// Translates n bytes in place.
void ascii_to_ebcdic(std::uint8_t* bytes, std::size_t n);
void ebcdic_to_ascii(std::uint8_t* bytes, std::size_t n);

// True for the bytes that make up EBCDIC numeric text: blank, the digits,
// point, plus, minus and tab. NUM comparison and SUM NUM use it to recognise
// EBCDIC values.
bool is_ebcdic_number_char(std::uint8_t c);

}  // namespace sorvel
