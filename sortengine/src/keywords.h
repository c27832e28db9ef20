// Keyword tables with minimum abbreviations.
//
// Each table has an entry width W; a keyword has at most W - 1 characters and
// a minimum abbreviation length. A token is cut to W - 1 characters, then
// matched case-insensitively against each entry in order: an entry matches
// when its minimum is not greater than the token's length and its keyword
// (padded with blanks) begins with the token. The first match wins; its
// number (position in the table) is the result. So "S" is SORT, "LA" is
// LAST, "INCLUDE" is INCL and "APP" is nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sorvel {

struct KeywordEntry {
    std::uint8_t minimum;
    std::string_view keyword;
};

struct KeywordTable {
    std::size_t width;
    const KeywordEntry* entries;
    std::size_t count;
};

extern const KeywordTable kStatementKeywords;
extern const KeywordTable kFileTypeKeywords;
extern const KeywordTable kDataTypeKeywords;
extern const KeywordTable kSumTypeKeywords;
extern const KeywordTable kOperatorKeywords;
extern const KeywordTable kConnectorKeywords;
extern const KeywordTable kOrderKeywords;
extern const KeywordTable kSpecialFieldKeywords;
extern const KeywordTable kHeaderDisposalKeywords;
extern const KeywordTable kRecordNumberKeywords;

// Special fields of OUTR, by their number in kSpecialFieldKeywords.
enum SpecialField : std::uint8_t {
    kSpecialXXXX,
    kSpecialRECL,
    kSpecialRRN,
    kSpecialRBA,
    kSpecialCRLF,
    kSpecialBTR,
    kSpecialHLR,
    kSpecialDUPC,
    kSpecialARRN
};

std::optional<int> lookup(const KeywordTable& table, const std::uint8_t* token, std::size_t length);
std::optional<int> lookup(const KeywordTable& table, std::string_view token);

}  // namespace sorvel
