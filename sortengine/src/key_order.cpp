#include "key_order.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace sorvel {
namespace {

constexpr std::uint64_t load_big_endian(const std::uint8_t* bytes, std::size_t n) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) value = (value << 8) | (i < n ? bytes[i] : 0u);
    return value;
}

constexpr std::uint8_t upper(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

KeyChunks::KeyChunks(const EngineState& state) : field_offset_(state.options.field_offset) {
    if (state.tables.key_count == 0) return;
    const KeyField& key = state.tables.keys[0];
    if (key.length == kFieldNumberForm || key.length == kToZeroByte) return;
    position_ = key.position;
    length_ = key.length;
    invert_ = key.descending ? ~std::uint64_t{0} : 0;
    switch (key.type) {
        case kTypeCHA:
        case kTypeSU:
        case kTypeSP:
        case kTypeDP:
        case kTypeBIN:
            kind_ = Kind::kBytes;
            break;
        case kTypeALP:
            kind_ = Kind::kUpper;
            break;
        case kTypeINT:
            kind_ = key.length <= 8 ? Kind::kLittleSigned : Kind::kNone;
            break;
        case kTypeW:
            kind_ = key.length <= 8 ? Kind::kLittle : Kind::kNone;
            break;
        case kTypeFI:
            kind_ = key.length <= 8 ? Kind::kBigSigned : Kind::kNone;
            break;
        default:
            break;
    }
    depths_ = kind_ == Kind::kBytes || kind_ == Kind::kUpper ? (length_ + 7) / 8 : 1;
}

bool KeyChunks::field_chunk(const FieldView& field, unsigned depth, std::uint64_t& out) const {
    std::uint64_t value = 0;
    switch (kind_) {
        case Kind::kBytes:
        case Kind::kUpper: {
            const std::size_t from = std::size_t{depth} * 8;
            const std::size_t n = field.length > from ? field.length - from : 0;
            if (n >= 8) {
                std::uint64_t raw;
                std::memcpy(&raw, field.data + from, 8);
                if constexpr (std::endian::native == std::endian::little) {
                    raw = __builtin_bswap64(raw);
                }
                value = raw;
            } else {
                value = load_big_endian(field.data + from, n);
            }
            if (kind_ == Kind::kUpper) {
                std::uint8_t bytes[8];
                for (int i = 0; i < 8; ++i)
                    bytes[i] = upper(static_cast<std::uint8_t>(value >> (56 - 8 * i)));
                value = load_big_endian(bytes, 8);
            }
            break;
        }
        case Kind::kLittleSigned:
        case Kind::kLittle:
        case Kind::kBigSigned: {
            if (field.length != length_) return false;
            std::uint64_t number = 0;
            for (std::size_t i = 0; i < length_; ++i) {
                const std::size_t at = kind_ == Kind::kBigSigned ? i : length_ - 1 - i;
                number = (number << 8) | field.data[at];
            }
            if (kind_ != Kind::kLittle) number ^= std::uint64_t{0x80} << (8 * (length_ - 1));
            value = number << (8 * (8 - length_));
            break;
        }
        case Kind::kNone:
            return false;
    }
    out = value ^ invert_;
    return true;
}

int KeyChunks::compare_fields_from(const FieldView& x, const FieldView& y, unsigned depth) const {
    if (depth >= depths_) return 0;
    const int sign = invert_ != 0 ? -1 : 1;
    if (kind_ == Kind::kBytes || kind_ == Kind::kUpper) {
        const std::size_t from = std::size_t{depth} * 8;
        const std::size_t common = std::min(x.length, y.length);
        if (common <= from) return 0;
        if (kind_ == Kind::kBytes) {
            const int c = std::memcmp(x.data + from, y.data + from, common - from);
            return c == 0 ? 0 : (c < 0 ? -sign : sign);
        }
        for (std::size_t i = from; i < common; ++i) {
            const std::uint8_t p = upper(x.data[i]);
            const std::uint8_t q = upper(y.data[i]);
            if (p != q) return p < q ? -sign : sign;
        }
        return 0;
    }
    std::uint64_t p = 0;
    std::uint64_t q = 0;
    if (!field_chunk(x, depth, p) || !field_chunk(y, depth, q) || p == q) return 0;
    return p < q ? -1 : 1;  // the chunks already carry the direction
}

}  // namespace sorvel
