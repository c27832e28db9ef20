#include "conditions.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#include "compare.h"
#include "ebcdic.h"
#include "fields.h"
#include "numeric_text.h"
#include "tokenizer.h"

namespace sorvel {

namespace {

constexpr std::uint8_t upper(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

bool alp_byte_matches(std::uint8_t operand, std::uint8_t field) {
    return operand == '*' || upper(operand) == upper(field);
}

int hex_value(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void store_little_endian(Condition& c, std::uint32_t value, std::uint32_t bytes) {
    for (std::uint32_t i = 0; i < bytes; ++i) c.constant[i] = (value >> (8 * i)) & 0xFF;
    c.constant[bytes] = 0;
    c.constant_length = bytes;
}

}  // namespace

bool contains(std::uint8_t type, const std::uint8_t* field, std::size_t field_length,
              const std::uint8_t* operand, std::size_t operand_length) {
    if (type != kTypeCHA && type != kTypeALP) return false;
    if (field_length < operand_length) return false;
    for (std::size_t k = 0; k + operand_length <= field_length; ++k) {
        bool match = true;
        for (std::size_t i = 0; i < operand_length && match; ++i) {
            match = type == kTypeCHA ? field[k + i] == operand[i]
                                     : alp_byte_matches(operand[i], field[k + i]);
        }
        if (match) return true;
    }
    return false;
}

bool evaluate_comparison(const EngineState& state, const Condition& c, const std::uint8_t* record,
                         std::size_t record_length) {
    const FieldView y = extract_field(state.options, record, record_length, c.position, c.length);
    FieldView x{c.constant.data(), c.constant_length};
    std::size_t n = y.length;
    // A constant shorter than the field it is compared with over the field's
    // length counts as followed by zero bytes (its stored terminator, and
    // zeros up to the field's length), not as a shorter value.
    std::vector<std::uint8_t> padded;
    if (c.position2 != 0) {
        x = extract_field(state.options, record, record_length, c.position2, c.length2);
        n = x.length;
    } else if (x.length < n && compares_over_common_length(c.type)) {
        if (n <= c.constant.size()) {
            x.length = n;  // the bytes after the constant are zero
        } else {
            padded.assign(n, 0);
            std::memcpy(padded.data(), c.constant.data(), c.constant_length);
            x = {padded.data(), n};
        }
    }
    if (c.op == kOpCO) return contains(c.type, y.data, y.length, x.data, x.length);
    const int r =
        compare_fields(c.type, x.data, x.length, y.data, y.length, n, state.tables.alt_table);
    switch (c.op) {
        case kOpEQ:
            return r == kEqual;
        case kOpNE:
            return r != kEqual;
        case kOpGT:
            return r == kSmaller;
        case kOpGE:
            return r != kGreater;
        case kOpLT:
            return r == kGreater;
        case kOpLE:
            return r != kSmaller;
        default:
            return false;
    }
}

bool convert_constant(Condition& c, std::uint32_t field_length) {
    const std::uint8_t* text = c.constant.data();
    switch (c.type) {
        case kTypeINT:
        case kTypeW:
        case kTypeBIN:
        case kTypeFI: {
            if (field_length != 2 && field_length != 4) return false;
            const auto value = static_cast<std::uint32_t>(token_number(text, c.constant_length));
            store_little_endian(c, value, field_length);
            if (c.type == kTypeBIN || c.type == kTypeFI) {
                std::reverse(c.constant.begin(), c.constant.begin() + field_length);
            }
            return true;
        }
        case kTypeE:
        case kTypeFL: {
            const double value = decimal_text_value(text, c.constant_length);
            if (field_length == 4) {
                // out-of-range values become infinities instead of an undefined cast
                constexpr double kFloatMax = std::numeric_limits<float>::max();
                const float f = value > kFloatMax    ? std::numeric_limits<float>::infinity()
                                : value < -kFloatMax ? -std::numeric_limits<float>::infinity()
                                                     : static_cast<float>(value);
                store_little_endian(c, std::bit_cast<std::uint32_t>(f), 4);
            } else if (field_length == 8) {
                const auto bits = std::bit_cast<std::uint64_t>(value);
                for (int i = 0; i < 8; ++i) c.constant[i] = (bits >> (8 * i)) & 0xFF;
                c.constant[8] = 0;
                c.constant_length = 8;
            }
            return true;
        }
        case kTypeSU:
        case kTypeSLI:
        case kTypeSTI:
        case kTypeZD:
        case kTypeT:
        case kTypePD:
        case kTypeALT:
            return false;
        default:  // CHA, ALP, NUM, STS, SP, DP: the text is the value
            return true;
    }
}

int decode_literal(const std::uint8_t* text, std::size_t length, std::uint8_t* out,
                   std::size_t capacity, bool* encoded) {
    *encoded = false;
    if (length >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        *encoded = true;
        const std::size_t digits = length - 2;
        if (digits % 2 != 0 || digits / 2 > capacity) return -1;
        for (std::size_t i = 0; i < digits / 2; ++i) {
            const int high = hex_value(text[2 + 2 * i]);
            const int low = hex_value(text[3 + 2 * i]);
            if (high < 0 || low < 0) return -1;
            out[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        return static_cast<int>(digits / 2);
    }
    if (length >= 2 && text[0] == '&' && text[1] == 'E') {
        *encoded = true;
        if (length - 2 > capacity) return -1;
        std::memcpy(out, text + 2, length - 2);
        ascii_to_ebcdic(out, length - 2);
        return static_cast<int>(length - 2);
    }
    if (length > capacity) return -1;
    if (length > 0) std::memcpy(out, text, length);
    return static_cast<int>(length);
}

}  // namespace sorvel
