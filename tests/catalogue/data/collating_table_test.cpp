#include "data/collating_table.h"

#include <gtest/gtest.h>

namespace reel {
namespace {

int weight(const std::string& table, unsigned char byte) {
    return static_cast<unsigned char>(table[9 + byte]);
}

TEST(CollatingTable, HasTheMarkerUnusedBytesAndAWeightForEveryByte) {
    const std::string table = caseBlindCollatingTable();
    ASSERT_EQ(table.size(), 265u);
    EXPECT_EQ(static_cast<unsigned char>(table[0]), 172);
    EXPECT_EQ(table.substr(1, 8), std::string(8, '\0'));
    // A zero weight would make the byte vanish from comparisons.
    for (int byte = 0; byte < 256; ++byte) EXPECT_NE(weight(table, byte), 0) << byte;
}

TEST(CollatingTable, LettersWeighAlikeWhateverTheirCase) {
    const std::string table = caseBlindCollatingTable();
    const std::pair<unsigned char, unsigned char> pairs[] = {
        {'a', 'A'},   {'m', 'M'},   {'z', 'Z'},   {0xE9, 0xC9} /* e acute */,
        {0xE0, 0xC0}, {0xFE, 0xDE}, {0x9A, 0x8A}, {0x9C, 0x8C},
        {0x9E, 0x8E}, {0xFF, 0x9F}};
    for (const auto& [lower, upper] : pairs) {
        EXPECT_EQ(weight(table, lower), weight(table, upper)) << int(lower);
    }
    // Not every byte is folded: division sign and sharp s stay their own.
    EXPECT_NE(weight(table, 0xF7), weight(table, 0xD7));
    EXPECT_NE(weight(table, 0xDF), weight(table, 0xFF));
}

TEST(CollatingTable, OtherBytesKeepTheirOrder) {
    const std::string table = caseBlindCollatingTable();
    const unsigned char ascending[] = {0,   ' ', '0', '9',  'A',  'B',  'Z',
                                       '[', '`', '{', 0x80, 0xC0, 0xDF, 0xF7};
    for (std::size_t i = 1; i < std::size(ascending); ++i) {
        EXPECT_LT(weight(table, ascending[i - 1]), weight(table, ascending[i]))
            << int(ascending[i]);
    }
}

}  // namespace
}  // namespace reel
