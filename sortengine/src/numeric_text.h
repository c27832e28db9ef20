// The value of numeric text (data type NUM, SUM type NUM), in one place so
// that sorting, selecting and summing read the same number from the same
// bytes.
//
// The value is that of the longest decimal prefix of the text: leading white
// space, an optional sign, digits with an optional decimal point, and an
// optional exponent. Text without such a prefix is 0; hexadecimal numbers,
// "inf" and "nan" are not decimal text and read as 0 as well. The result is
// never NaN, and it does not depend on the process locale.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sorvel {

// NUM values are read from at most this many bytes.
inline constexpr std::size_t kNumericTextLimit = 23;

// The value of up to kNumericTextLimit bytes of ASCII decimal text. A value
// beyond the range of a double is an infinity of its sign; one too small is 0.
double decimal_text_value(const std::uint8_t* text, std::size_t length);

// The same for text in EBCDIC when `ebcdic` is true.
double numeric_text_value(const std::uint8_t* text, std::size_t length, bool ebcdic);

// The value of one NUM field as sorting and selecting compare it: EBCDIC text
// when its own first byte is an EBCDIC number character. A field's value
// depends on its own bytes only, so comparing these values orders any set of
// fields consistently, and the value can serve as a sort key by itself.
double numeric_field_value(const std::uint8_t* text, std::size_t length);

}  // namespace sorvel
