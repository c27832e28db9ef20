#include "indexes/text_match.h"

#include "data/codepage.h"

namespace reel {

namespace {

unsigned char capitalOf(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A:  // s caron
            return 0x8A;
        case 0x9C:  // oe
            return 0x8C;
        case 0x9E:  // z caron
            return 0x8E;
        case 0xFF:  // y diaeresis
            return 0x9F;
        default:
            return c;
    }
}

}  // namespace

std::string upperCp1252(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out) c = static_cast<char>(capitalOf(static_cast<unsigned char>(c)));
    return out;
}

std::string searchKey(std::string_view typedUtf8) {
    return upperCp1252(utf8ToCp1252(typedUtf8));
}

bool fieldContains(const FilmRecord& record, Field field, std::string_view key) {
    return fieldContains(record.bytes(), field, key);
}

bool fieldContains(std::string_view recordBytes, Field field, std::string_view key) {
    const FieldSpec& f = fieldSpec(field);
    std::string_view stored = recordBytes.substr(static_cast<std::size_t>(f.position - 1),
                                                 static_cast<std::size_t>(f.width));
    const std::size_t first = stored.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    stored = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
    if (key.size() > stored.size()) return false;
    // Compared capital to capital in place: a search tests every record.
    for (std::size_t at = 0; at + key.size() <= stored.size(); ++at) {
        std::size_t i = 0;
        while (i < key.size() && capitalOf(static_cast<unsigned char>(stored[at + i])) ==
                                     static_cast<unsigned char>(key[i]))
            ++i;
        if (i == key.size()) return true;
    }
    return false;
}

}  // namespace reel
