#include "compare.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "fields.h"
#include "numeric_text.h"

namespace sorvel {

namespace {

constexpr std::uint8_t upper(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

int bytewise(const std::uint8_t* x, const std::uint8_t* y, std::size_t n) {
    const int c = n == 0 ? 0 : std::memcmp(x, y, n);
    return c == 0 ? kEqual : (c > 0 ? kGreater : kSmaller);
}

int reversed(int result) {
    return result == kGreater ? kSmaller : (result == kSmaller ? kGreater : kEqual);
}

// Sign-and-magnitude values: the sign decides, and two negatives compare in
// the reverse order of their magnitudes.
int by_sign(bool x_negative, bool y_negative, int same_sign) {
    if (x_negative != y_negative) return x_negative ? kSmaller : kGreater;
    return x_negative ? reversed(same_sign) : same_sign;
}

// Two's complement integers: the sign decides, and with equal signs the
// unsigned byte order already is the numeric order.
int by_sign_twos_complement(bool x_negative, bool y_negative, int same_sign) {
    if (x_negative != y_negative) return x_negative ? kSmaller : kGreater;
    return same_sign;
}

int sign_leading(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    auto negative = [](std::uint8_t b) { return (b >> 4) == 4 || (b >> 4) == 7; };
    return by_sign(negative(x[0]), negative(y[0]), bytewise(x, y, m));
}

int zone_rule(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    auto zone_negative = [](int z) { return z == 2 || z == 4 || z == 7 || z == 11 || z == 13; };
    auto zone_positive = [](int z) { return z == 3 || z == 10 || z == 12 || z == 14 || z == 15; };
    const int zx = x[m - 1] >> 4;
    const int zy = y[m - 1] >> 4;
    if (zone_negative(zx)) return zone_negative(zy) ? reversed(bytewise(x, y, m)) : kSmaller;
    if (zone_positive(zx)) return zone_positive(zy) ? bytewise(x, y, m) : kGreater;
    // A zone that is neither sign: against a signed value the answer mirrors
    // the rows above, so that x < y exactly when y > x and sorting stays
    // consistent; between two such values the bytes decide, reversed.
    if (zone_negative(zy)) return kGreater;
    if (zone_positive(zy)) return kSmaller;
    return reversed(bytewise(x, y, m));
}

int sign_trailing_separate(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    return by_sign(x[m - 1] == '-', y[m - 1] == '-', bytewise(x, y, m - 1));
}

int little_endian_from_last(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    for (std::size_t i = m; i-- > 0;) {
        if (x[i] != y[i]) return x[i] > y[i] ? kGreater : kSmaller;
    }
    return kEqual;
}

int signed_little_endian(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    return by_sign_twos_complement((x[m - 1] & 0x80) != 0, (y[m - 1] & 0x80) != 0,
                                   little_endian_from_last(x, y, m));
}

int signed_big_endian(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    return by_sign_twos_complement((x[0] & 0x80) != 0, (y[0] & 0x80) != 0, bytewise(x, y, m));
}

int packed_decimal(const std::uint8_t* x, const std::uint8_t* y, std::size_t m) {
    if (m == 0) return kEqual;
    return by_sign((x[m - 1] & 0x0F) == 0x0D, (y[m - 1] & 0x0F) == 0x0D, bytewise(x, y, m));
}

// Floating-point values order as numbers; a NaN (only possible in binary E
// and FL fields) is greater than every number and equal to another NaN, so
// that the order stays transitive.
template <typename T>
int compare_numbers(T a, T b) {
    if (a != a || b != b) {
        if (a != a && b != b) return kEqual;
        return a != a ? kGreater : kSmaller;
    }
    if (a < b) return kSmaller;
    if (a > b) return kGreater;
    return kEqual;
}

// The types compared over a common length n.
bool is_fixed_width(std::uint8_t type) {
    switch (type) {
        case kTypeSLI:
        case kTypeSTI:
        case kTypeSTS:
        case kTypeZD:
        case kTypeT:
        case kTypeINT:
        case kTypePD:
        case kTypeBIN:
        case kTypeW:
        case kTypeFI:
            return true;
        default:
            return false;
    }
}

// A 4- or 8-byte field cut short by the end of its record has no float
// value: it sorts before every whole one (cut fields among themselves as
// text), so the order stays one total order whichever side is cut.
int ieee_float(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y, std::size_t ly,
               std::size_t n) {
    if ((n == 4 || n == 8) && (lx >= n) != (ly >= n)) return lx >= n ? kGreater : kSmaller;
    if (n == 4 && lx >= 4 && ly >= 4) {
        std::uint32_t bx = 0, by = 0;
        for (int i = 3; i >= 0; --i) {
            bx = (bx << 8) | x[i];
            by = (by << 8) | y[i];
        }
        return compare_numbers(std::bit_cast<float>(bx), std::bit_cast<float>(by));
    }
    if (n == 8 && lx >= 8 && ly >= 8) {
        std::uint64_t bx = 0, by = 0;
        for (int i = 7; i >= 0; --i) {
            bx = (bx << 8) | x[i];
            by = (by << 8) | y[i];
        }
        return compare_numbers(std::bit_cast<double>(bx), std::bit_cast<double>(by));
    }
    return compare_text(x, lx, y, ly);
}

}  // namespace

bool compares_over_common_length(std::uint8_t type) {
    return is_fixed_width(type) || type == kTypeE || type == kTypeFL;
}

int compare_text(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y, std::size_t ly) {
    const int r = bytewise(x, y, std::min(lx, ly));
    if (r != kEqual) return r;
    return lx == ly ? kEqual : (lx > ly ? kGreater : kSmaller);
}

int compare_text_upper(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                       std::size_t ly) {
    const std::size_t m = std::min(lx, ly);
    for (std::size_t i = 0; i < m; ++i) {
        const std::uint8_t a = upper(x[i]);
        const std::uint8_t b = upper(y[i]);
        if (a != b) return a > b ? kGreater : kSmaller;
    }
    return lx == ly ? kEqual : (lx > ly ? kGreater : kSmaller);
}

int compare_numeric_text(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                         std::size_t ly) {
    // Each value is read by its own first byte (EBCDIC or ASCII text), never
    // by the other one's, so that NUM keys keep one total order.
    return compare_numbers(numeric_field_value(x, lx), numeric_field_value(y, ly));
}

int compare_alt(const std::uint8_t* x, std::size_t lx, const std::uint8_t* y, std::size_t ly,
                const AltTable& alt) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < lx && j < ly) {
        while (i < lx && alt[x[i]] == 0) ++i;
        while (j < ly && alt[y[j]] == 0) ++j;
        if (i >= lx || j >= ly) break;
        if (alt[x[i]] != alt[y[j]]) return alt[x[i]] < alt[y[j]] ? kSmaller : kGreater;
        ++i;
        ++j;
    }
    while (i < lx && alt[x[i]] == 0) ++i;
    while (j < ly && alt[y[j]] == 0) ++j;
    const bool x_left = i < lx;
    const bool y_left = j < ly;
    if (x_left && !y_left) return kGreater;
    if (y_left && !x_left) return kSmaller;
    return kEqual;
}

int compare_fields(std::uint8_t type, const std::uint8_t* x, std::size_t lx, const std::uint8_t* y,
                   std::size_t ly, std::size_t n, const AltTable& alt) {
    const std::size_t m = std::min({n, lx, ly});
    switch (type) {
        case kTypeALP:
            return compare_text_upper(x, lx, y, ly);
        case kTypeSLI:
            return sign_leading(x, y, m);
        case kTypeNUM:
            return compare_numeric_text(x, lx, y, ly);
        case kTypeSTI:
        case kTypeZD:
            return zone_rule(x, y, m);
        case kTypeSTS:
        case kTypeT:
            return sign_trailing_separate(x, y, m);
        case kTypeINT:
            return signed_little_endian(x, y, m);
        case kTypePD:
            return packed_decimal(x, y, m);
        case kTypeBIN:
            return bytewise(x, y, m);
        case kTypeALT:
            return compare_alt(x, lx, y, ly, alt);
        case kTypeE:
        case kTypeFL:
            return ieee_float(x, lx, y, ly, n);
        case kTypeW:
            return little_endian_from_last(x, y, m);
        case kTypeFI:
            return signed_big_endian(x, y, m);
        case kTypeCHA:
        case kTypeSU:
        case kTypeSP:
        case kTypeDP:
        default:
            return compare_text(x, lx, y, ly);
    }
}

int compare_records(const EngineState& state, const std::uint8_t* a, std::size_t la,
                    std::uint32_t sequence_a, const std::uint8_t* b, std::size_t lb,
                    std::uint32_t sequence_b) {
    const StatementTables& tables = state.tables;
    for (int k = 0; k < tables.key_count; ++k) {
        const KeyField& key = tables.keys[k];
        const FieldView x = extract_field(state.options, a, la, key.position, key.length);
        const FieldView y = extract_field(state.options, b, lb, key.position, key.length);
        int r = compare_fields(key.type, x.data, x.length, y.data, y.length, y.length,
                               tables.alt_table);
        // A key cut short by the end of its record compares over the bytes
        // both have; when those are equal the shorter key comes first, so
        // that records of different lengths still sort consistently.
        if (r == kEqual && x.length != y.length && is_fixed_width(key.type)) {
            r = x.length < y.length ? kSmaller : kGreater;
        }
        if (r == kGreater) return key.descending ? -1 : 1;
        if (r == kSmaller) return key.descending ? 1 : -1;
    }
    return sequence_a < sequence_b ? -1 : 1;
}

}  // namespace sorvel
