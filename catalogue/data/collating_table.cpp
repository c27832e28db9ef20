#include "data/collating_table.h"

#include <array>

namespace reel {
namespace {

// The capital of a Windows-1252 lower-case letter, or the byte itself.
int capitalOf(int byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return byte - 0x20;  // a grave .. thorn
    switch (byte) {
        case 0x9A:
            return 0x8A;  // s caron
        case 0x9C:
            return 0x8C;  // oe
        case 0x9E:
            return 0x8E;  // z caron
        case 0xFF:
            return 0x9F;  // y diaeresis
        default:
            return byte;
    }
}

}  // namespace

std::string caseBlindCollatingTable() {
    std::array<int, 256> weight{};
    int next = 1;
    // Capitals all come before their lower-case letters in byte order, so
    // their weights are known when the lower-case letter is reached.
    for (int byte = 0; byte < 256; ++byte) {
        const int capital = capitalOf(byte);
        weight[static_cast<std::size_t>(byte)] =
            capital == byte ? next++ : weight[static_cast<std::size_t>(capital)];
    }
    std::string table(CollatingTableSize, '\0');
    table[0] = static_cast<char>(CollatingTableMarker);
    for (int byte = 0; byte < 256; ++byte) {
        table[static_cast<std::size_t>(9 + byte)] =
            static_cast<char>(weight[static_cast<std::size_t>(byte)]);
    }
    return table;
}

}  // namespace reel
