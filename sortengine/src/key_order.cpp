#include "key_order.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "compare.h"
#include "ebcdic.h"
#include "numeric_text.h"

namespace sorvel {
namespace {

// Widest field of a form that is encoded whole (numbers, signs, ALT).
constexpr std::uint32_t kMaxWhole = 256;

constexpr std::uint8_t upper(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

void put_big_endian(std::uint64_t value, std::size_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * (n - 1 - i)));
}

// A double as an unsigned number of the same order; -0 counts as +0.
std::uint64_t ordered_double(double value) {
    if (value == 0.0) value = 0.0;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

std::uint32_t ordered_float(float value) {
    if (value == 0.0f) value = 0.0f;
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return (bits >> 31) != 0 ? ~bits : bits | (std::uint32_t{1} << 31);
}

std::uint64_t load_little_endian(const std::uint8_t* bytes, std::size_t n) {
    std::uint64_t value = 0;
    for (std::size_t i = n; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

int sign_of(int c) {
    return (c > 0) - (c < 0);
}

}  // namespace

KeyChunks::KeyChunks(const EngineState& state)
    : field_offset_(state.options.field_offset), alt_(state.tables.alt_table) {
    const StatementTables& tables = state.tables;
    std::uint32_t offset = 0;
    for (int k = 0; k < tables.key_count; ++k) {
        const KeyField& key = tables.keys[k];
        const std::uint32_t length = key.length;
        if (length == kFieldNumberForm || length == kToZeroByte) break;
        Segment s;
        s.position = key.position;
        s.length = length;
        s.offset = offset;
        s.invert = key.descending ? 0xFF : 0;
        bool whole = true;  // a form encoded whole, limited to kMaxWhole bytes
        switch (key.type) {
            case kTypeCHA:
            case kTypeSU:
            case kTypeSP:
            case kTypeDP:
            case kTypeBIN:
            case kTypeALP:
                s.form = key.type == kTypeALP ? Form::kUpper : Form::kBytes;
                s.length_bytes = length > 255 ? 2 : 1;
                s.width = length + s.length_bytes;
                whole = false;
                break;
            case kTypeALT:
                s.form = Form::kAlt;
                s.width = length;
                break;
            case kTypeNUM:
                s.form = Form::kNumText;
                s.width = 8;
                whole = false;
                break;
            case kTypeINT:
            case kTypeW:
            case kTypeFI:
                s.form = key.type == kTypeINT ? Form::kLittleSigned
                                              : (key.type == kTypeW ? Form::kLittle : Form::kBigSigned);
                s.width = length;
                break;
            case kTypeSLI:
            case kTypePD:
                s.form = key.type == kTypeSLI ? Form::kSignLeading : Form::kPacked;
                s.width = length + 1;
                break;
            case kTypeSTS:
            case kTypeT:
                s.form = Form::kSignTrailing;
                s.width = length;
                break;
            case kTypeSTI:
            case kTypeZD:
                s.form = Form::kZone;
                s.width = length + 1;
                break;
            case kTypeE:
            case kTypeFL:
                s.form = Form::kFloat;
                s.width = (length == 4 || length == 8) ? length : 0;
                break;
            default:
                s.width = 0;
                break;
        }
        if (s.width == 0 || (whole && length > kMaxWhole) || s.width > (1u << 20) - offset) break;
        segments_[static_cast<std::size_t>(segment_count_++)] = s;
        offset += s.width;
    }
    width_ = offset;
    for (int k = 0; k < segment_count_; ++k) {
        const Form form = segments_[static_cast<std::size_t>(k)].form;
        if (form != Form::kBytes && form != Form::kUpper && form != Form::kAlt) checked_ = true;
    }
    if (segment_count_ > 0 && !checked_ && segments_[0].form == Form::kBytes) {
        plain_bytes_ = segments_[0].length;
        plain_invert_ = segments_[0].invert != 0 ? ~std::uint64_t{0} : 0;
    }
    complete_ = segment_count_ > 0 && segment_count_ == tables.key_count;
}

bool KeyChunks::exact(const Segment& s, const FieldView& f) const {
    switch (s.form) {
        case Form::kBytes:
        case Form::kUpper:
        case Form::kAlt:
            return true;
        case Form::kNumText:
            return f.length == 0 || !is_ebcdic_number_char(f.data[0]);
        default:
            return f.length == s.length;
    }
}

void KeyChunks::encode_whole(const Segment& s, const FieldView& f, std::uint8_t* out) const {
    const std::size_t n = s.length;
    const std::uint8_t* b = f.data;
    // Sign class, then the bytes, inverted for values ordered against them.
    auto signed_bytes = [&](std::uint8_t cls, bool inverted, std::size_t count) {
        out[0] = cls;
        for (std::size_t i = 0; i < count; ++i) out[1 + i] = inverted ? ~b[i] : b[i];
    };
    switch (s.form) {
        case Form::kAlt: {
            std::size_t j = 0;
            for (std::size_t i = 0; i < f.length; ++i) {
                if (alt_[b[i]] != 0) out[j++] = alt_[b[i]];
            }
            std::fill(out + j, out + n, std::uint8_t{0});
            break;
        }
        case Form::kNumText:
            put_big_endian(ordered_double(decimal_text_value(b, f.length)), 8, out);
            break;
        case Form::kLittleSigned:
        case Form::kLittle:
            for (std::size_t i = 0; i < n; ++i) out[i] = b[n - 1 - i];
            if (s.form == Form::kLittleSigned) out[0] ^= 0x80;
            break;
        case Form::kBigSigned:
            std::memcpy(out, b, n);
            out[0] ^= 0x80;
            break;
        case Form::kSignLeading: {
            const bool negative = (b[0] >> 4) == 4 || (b[0] >> 4) == 7;
            signed_bytes(negative ? 0 : 1, negative, n);
            break;
        }
        case Form::kPacked: {
            const bool negative = (b[n - 1] & 0x0F) == 0x0D;
            signed_bytes(negative ? 0 : 1, negative, n);
            break;
        }
        case Form::kSignTrailing: {
            const bool negative = b[n - 1] == '-';
            signed_bytes(negative ? 0 : 1, negative, n - 1);
            break;
        }
        case Form::kZone: {
            const int z = b[n - 1] >> 4;
            const bool negative = z == 2 || z == 4 || z == 7 || z == 11 || z == 13;
            const bool positive = z == 3 || z == 10 || z == 12 || z == 14 || z == 15;
            signed_bytes(negative ? 0 : (positive ? 2 : 1), !positive, n);
            break;
        }
        case Form::kFloat:
            if (n == 4) {
                const float v = std::bit_cast<float>(static_cast<std::uint32_t>(load_little_endian(b, 4)));
                put_big_endian(std::isnan(v) ? 0xFFFFFFFFu : ordered_float(v), 4, out);
            } else {
                const double v = std::bit_cast<double>(load_little_endian(b, 8));
                put_big_endian(std::isnan(v) ? ~std::uint64_t{0} : ordered_double(v), 8, out);
            }
            break;
        case Form::kBytes:
        case Form::kUpper:
            break;
    }
}

void KeyChunks::encode(const Segment& s, const FieldView& f, std::size_t from, std::size_t n,
                       std::uint8_t* out) const {
    if (s.form == Form::kBytes || s.form == Form::kUpper) {
        if (from + n <= f.length) {
            std::memcpy(out, f.data + from, n);
            if (s.form == Form::kUpper) {
                for (std::size_t i = 0; i < n; ++i) out[i] = upper(out[i]);
            }
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t at = from + i;
                std::uint8_t b;
                if (at < s.length) {
                    b = at < f.length ? f.data[at] : 0;
                    if (s.form == Form::kUpper) b = upper(b);
                } else if (s.length_bytes == 2 && at == s.length) {
                    b = static_cast<std::uint8_t>(f.length >> 8);
                } else {
                    b = static_cast<std::uint8_t>(f.length);
                }
                out[i] = b;
            }
        }
    } else {
        std::uint8_t whole[kMaxWhole + 1];
        encode_whole(s, f, whole);
        std::memcpy(out, whole + from, n);
    }
    if (s.invert != 0) {
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(~out[i]);
    }
}

bool KeyChunks::chunk_slow(const std::uint8_t* record, std::size_t length, unsigned depth,
                           std::uint64_t& out) const {
    std::uint8_t bytes[8] = {};
    const std::size_t from = std::size_t{depth} * 8;
    const std::size_t to = from + 8;
    for (int k = 0; k < segment_count_; ++k) {
        const Segment& s = segments_[static_cast<std::size_t>(k)];
        const FieldView f = field(s, record, length);
        if (checked_ && !exact(s, f)) return false;
        const std::size_t lo = std::max<std::size_t>(from, s.offset);
        const std::size_t hi = std::min<std::size_t>(to, s.offset + s.width);
        if (lo < hi) encode(s, f, lo - s.offset, hi - lo, bytes + (lo - from));
    }
    std::uint64_t raw;
    std::memcpy(&raw, bytes, 8);
    if constexpr (std::endian::native == std::endian::little) raw = __builtin_bswap64(raw);
    out = raw;
    return true;
}

int KeyChunks::compare_segment(const Segment& s, const FieldView& x, const FieldView& y,
                               std::size_t from) const {
    const int direction = s.invert != 0 ? -1 : 1;
    if (s.form == Form::kBytes || s.form == Form::kUpper) {
        if (x.length == s.length && y.length == s.length) {
            // Whole fields: the length bytes are equal, the field bytes decide.
            if (from >= s.length) return 0;
            if (s.form == Form::kBytes) {
                return direction * sign_of(std::memcmp(x.data + from, y.data + from, s.length - from));
            }
            for (std::size_t i = from; i < s.length; ++i) {
                const std::uint8_t p = upper(x.data[i]);
                const std::uint8_t q = upper(y.data[i]);
                if (p != q) return p < q ? -direction : direction;
            }
            return 0;
        }
        for (std::size_t at = from; at < s.width; at += 8) {
            const std::size_t n = std::min<std::size_t>(8, s.width - at);
            std::uint8_t p[8];
            std::uint8_t q[8];
            encode(s, x, at, n, p);
            encode(s, y, at, n, q);
            const int c = std::memcmp(p, q, n);
            if (c != 0) return sign_of(c);
        }
        return 0;
    }
    std::uint8_t p[kMaxWhole + 1];
    std::uint8_t q[kMaxWhole + 1];
    encode_whole(s, x, p);
    encode_whole(s, y, q);
    if (from >= s.width) return 0;
    return direction * sign_of(std::memcmp(p + from, q + from, s.width - from));
}

int KeyChunks::compare_from(const std::uint8_t* a, std::size_t la, const std::uint8_t* b,
                            std::size_t lb, unsigned depth) const {
    const std::size_t from = std::size_t{depth} * 8;
    for (int k = 0; k < segment_count_; ++k) {
        const Segment& s = segments_[static_cast<std::size_t>(k)];
        if (s.offset + s.width <= from) continue;
        const std::size_t start = from > s.offset ? from - s.offset : 0;
        const int r = compare_segment(s, field(s, a, la), field(s, b, lb), start);
        if (r != 0) return r;
    }
    return 0;
}

}  // namespace sorvel
