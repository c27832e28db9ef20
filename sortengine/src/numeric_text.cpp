#include "numeric_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

#include "ebcdic.h"

namespace sorvel {

namespace {

bool is_digit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double decimal_text_value(const std::uint8_t* text, std::size_t length) {
    length = std::min(length, kNumericTextLimit);
    std::size_t i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Copy the longest prefix that is decimal text, then convert it without
    // depending on the process locale.
    char buffer[kNumericTextLimit + 1];
    std::size_t n = 0;
    bool digits = false;
    bool mantissa_zero = true;
    auto take_digits = [&] {
        while (i < length && is_digit(text[i])) {
            digits = true;
            mantissa_zero = mantissa_zero && text[i] == '0';
            buffer[n++] = static_cast<char>(text[i++]);
        }
    };
    take_digits();
    if (i < length && text[i] == '.') {
        buffer[n++] = '.';
        ++i;
        take_digits();
    }
    if (!digits) return 0.0;
    bool exponent_negative = false;
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < length && (text[j] == '+' || text[j] == '-')) exponent_negative = text[j++] == '-';
        if (j < length && is_digit(text[j])) {
            while (i < j) buffer[n++] = static_cast<char>(text[i++]);
            while (i < length && is_digit(text[i])) buffer[n++] = static_cast<char>(text[i++]);
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(buffer, buffer + n, value);
    if (result.ec == std::errc::result_out_of_range) {
        value =
            (mantissa_zero || exponent_negative) ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

double numeric_text_value(const std::uint8_t* text, std::size_t length, bool ebcdic) {
    length = std::min(length, kNumericTextLimit);
    if (!ebcdic) return decimal_text_value(text, length);
    std::uint8_t ascii[kNumericTextLimit];
    std::copy(text, text + length, ascii);
    ebcdic_to_ascii(ascii, length);
    return decimal_text_value(ascii, length);
}

double numeric_field_value(const std::uint8_t* text, std::size_t length) {
    return numeric_text_value(text, length, length > 0 && is_ebcdic_number_char(text[0]));
}

}  // namespace sorvel
