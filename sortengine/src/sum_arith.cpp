// SUM arithmetic per type. Decimal types (PD, ZD) are added as rows of
// digits in nines' complement: a leading sign digit (0 positive, 9 negative)
// followed by the value's digits, each replaced by 9 minus itself when the
// value is negative. Adding two rows from the right with the carry out of the
// sign digit fed back in at the right end gives the signed sum; a sign digit
// of 0 or 1 reads as positive, 8 or 9 as negative, anything else overflowed.
#include "sum_arith.h"

#include <array>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <string>

#include "ebcdic.h"
#include "numeric_text.h"

namespace sorvel {
namespace {

constexpr std::size_t kMaxBinary = 8;
constexpr std::size_t kMaxPacked = 13;
constexpr std::size_t kMaxZoned = 23;
constexpr std::size_t kMaxNumericText = 19;

// Long enough for the widest row: a ZD field of 23 digits plus its sign digit.
using DigitRow = std::array<std::uint8_t, 32>;

enum class Sign { kPositive, kNegative, kUnknown };

Sign packed_sign(std::uint8_t half) {
    if (half == 11 || half == 13) return Sign::kNegative;
    if (half == 10 || half == 12 || half == 14 || half == 15) return Sign::kPositive;
    return Sign::kUnknown;
}

Sign zone_sign(std::uint8_t zone) {
    switch (zone) {
        case 2:
        case 4:
        case 7:
        case 11:
        case 13:
            return Sign::kNegative;
        case 3:
        case 10:
        case 12:
        case 14:
        case 15:
            return Sign::kPositive;
        default:
            return Sign::kUnknown;
    }
}

// Builds the complement row of a value given its digits (most significant first).
void make_row(DigitRow& row, const std::uint8_t* digits, std::size_t count, bool negative) {
    row[0] = negative ? 9 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        row[i + 1] = negative ? static_cast<std::uint8_t>(9 - digits[i]) : digits[i];
    }
}

// Adds b into a (rows of `len` digits, sign digit first) with end-around carry.
// Returns false on overflow (a sign digit other than 0, 1, 8 or 9).
bool add_rows(DigitRow& a, const DigitRow& b, std::size_t len, bool& negative) {
    unsigned carry = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = len; i-- > 0;) {
            unsigned sum = a[i] + (pass == 0 ? b[i] : 0u) + carry;
            a[i] = static_cast<std::uint8_t>(sum % 10);
            carry = sum / 10;
        }
        if (carry == 0) break;
    }
    if (a[0] == 0 || a[0] == 1) {
        negative = false;
    } else if (a[0] == 8 || a[0] == 9) {
        negative = true;
    } else {
        return false;
    }
    if (negative) {
        for (std::size_t i = 1; i < len; ++i) a[i] = static_cast<std::uint8_t>(9 - a[i]);
    }
    return true;
}

void unpack(const std::uint8_t* field, std::size_t n, std::uint8_t* digits) {
    for (std::size_t i = 0; i < 2 * n - 1; ++i) {
        std::uint8_t byte = field[i / 2];
        digits[i] = (i % 2 == 0) ? static_cast<std::uint8_t>(byte >> 4)
                                 : static_cast<std::uint8_t>(byte & 0x0F);
    }
}

}  // namespace

void sum_big_endian(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n > kMaxBinary) return;
    unsigned carry = 0;
    for (std::size_t i = n; i-- > 0;) {
        unsigned sum = held[i] + add[i] + carry;
        held[i] = static_cast<std::uint8_t>(sum & 0xFF);
        carry = sum >> 8;
    }
}

void sum_little_endian(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n > kMaxBinary) return;
    unsigned carry = 0;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned sum = held[i] + add[i] + carry;
        held[i] = static_cast<std::uint8_t>(sum & 0xFF);
        carry = sum >> 8;
    }
}

void sum_float(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n == 4) {
        float a, b;
        std::memcpy(&a, held, 4);
        std::memcpy(&b, add, 4);
        a += b;
        std::memcpy(held, &a, 4);
    } else if (n == 8) {
        double a, b;
        std::memcpy(&a, held, 8);
        std::memcpy(&b, add, 8);
        a += b;
        std::memcpy(held, &a, 8);
    }
}

void sum_packed(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n == 0 || n > kMaxPacked) return;
    Sign held_sign = packed_sign(held[n - 1] & 0x0F);
    Sign add_sign = packed_sign(add[n - 1] & 0x0F);
    if (held_sign == Sign::kUnknown || add_sign == Sign::kUnknown) return;

    const std::size_t count = 2 * n - 1;
    std::uint8_t digits[2 * kMaxPacked];
    DigitRow a{}, b{};
    unpack(held, n, digits);
    make_row(a, digits, count, held_sign == Sign::kNegative);
    unpack(add, n, digits);
    make_row(b, digits, count, add_sign == Sign::kNegative);

    bool negative = false;
    if (!add_rows(a, b, count + 1, negative)) return;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t d = a[i + 1];
        std::uint8_t& byte = held[i / 2];
        byte = (i % 2 == 0) ? static_cast<std::uint8_t>((d << 4) | (byte & 0x0F))
                            : static_cast<std::uint8_t>((byte & 0xF0) | d);
    }
    held[n - 1] = static_cast<std::uint8_t>((held[n - 1] & 0xF0) | (negative ? 13 : 12));
}

void sum_zoned(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n == 0 || n > kMaxZoned) return;
    const std::uint8_t add_zone = add[n - 1] >> 4;
    const std::uint8_t held_zone = held[n - 1] >> 4;
    Sign add_sign = zone_sign(add_zone);
    Sign held_sign = zone_sign(held_zone);
    if (held_sign == Sign::kUnknown || add_sign == Sign::kUnknown) return;

    // The sign zones written back are the ones last seen, the held value last.
    std::uint8_t positive_zone = 12, negative_zone = 13;
    (add_sign == Sign::kNegative ? negative_zone : positive_zone) = add_zone;
    (held_sign == Sign::kNegative ? negative_zone : positive_zone) = held_zone;

    std::uint8_t digits[kMaxZoned];
    DigitRow a{}, b{};
    for (std::size_t i = 0; i < n; ++i) digits[i] = held[i] & 0x0F;
    make_row(a, digits, n, held_sign == Sign::kNegative);
    for (std::size_t i = 0; i < n; ++i) digits[i] = add[i] & 0x0F;
    make_row(b, digits, n, add_sign == Sign::kNegative);

    bool negative = false;
    if (!add_rows(a, b, n + 1, negative)) return;
    const std::uint8_t body_zone = static_cast<std::uint8_t>(add[0] & 0xF0);
    for (std::size_t i = 0; i < n; ++i) held[i] = static_cast<std::uint8_t>(body_zone | a[i + 1]);
    const std::uint8_t last_zone = negative ? negative_zone : positive_zone;
    held[n - 1] = static_cast<std::uint8_t>((last_zone << 4) | (held[n - 1] & 0x0F));
}

void sum_numeric_text(std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    if (n == 0 || n > kMaxNumericText) return;
    if (held[0] == '*' || held[0] == 92) return;

    // The held field decides the code of both: its text is rewritten in place.
    const bool ebcdic = is_ebcdic_number_char(held[0]);
    char held_text[kMaxNumericText + 1] = {};
    for (std::size_t i = 0; i < n; ++i) {
        held_text[i] = static_cast<char>(ebcdic ? ebcdic_to_ascii(held[i]) : held[i]);
    }

    int decimals = 0;
    if (const char* point = std::strchr(held_text, '.')) {
        decimals = static_cast<int>(std::strlen(point + 1));
    }
    const double sum = numeric_text_value(held, n, ebcdic) + numeric_text_value(add, n, ebcdic);
    // A total beyond the range of a double fits no field.
    if (!std::isfinite(sum)) {
        std::memset(held, ebcdic ? 92 : '*', n);
        return;
    }
    char buffer[512];
    int written = std::snprintf(buffer, sizeof buffer, "%*.*f", static_cast<int>(n), decimals, sum);
    std::string text(buffer, written > 0 ? static_cast<std::size_t>(written) : 0);
    while (text.size() > n && text[0] == '0') text.erase(0, 1);

    if (text.size() > n) {
        std::memset(held, ebcdic ? 92 : '*', n);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        held[i] = ebcdic ? ascii_to_ebcdic(c) : c;
    }
}

void sum_field(std::uint8_t type, std::uint8_t* held, const std::uint8_t* add, std::size_t n) {
    switch (type) {
        case kSumBIN:
        case kSumFIX:
            sum_big_endian(held, add, n);
            break;
        case kSumINT:
        case kSumWOR:
            sum_little_endian(held, add, n);
            break;
        case kSumEEE:
        case kSumFL:
            sum_float(held, add, n);
            break;
        case kSumPD:
            sum_packed(held, add, n);
            break;
        case kSumZD:
            sum_zoned(held, add, n);
            break;
        case kSumNUM:
            sum_numeric_text(held, add, n);
            break;
        default:
            break;
    }
}

}  // namespace sorvel
