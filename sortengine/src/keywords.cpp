#include "keywords.h"

#include <iterator>

namespace sorvel {

namespace {

constexpr KeywordEntry kStatements[] = {
    {2, "ADDR"}, {1, "BYPA"}, {4, "CORE"}, {2, "DELI"}, {1, "FILE"}, {2, "INCL"},
    {1, "KEYO"}, {1, "LIMI"}, {1, "MERG"}, {2, "OMIT"}, {4, "OUTR"}, {1, "PAUS"},
    {1, "RECO"}, {1, "SORT"}, {1, "WORK"}, {2, "ALTS"}, {2, "EQUA"}, {4, "DUPO"},
    {4, "DUPE"}, {4, "DUPI"}, {4, "ORIG"}, {2, "APOS"}, {3, "SUM"},  {1, "LAST"},
    {4, "APPE"}, {4, "OVER"}, {2, "OPEN"}, {4, "NOYI"}, {3, "VERB"}};
constexpr KeywordEntry kFileTypes[] = {{3, "FIX"}, {2, "FE"},  {3, "TXT"}, {2, "VS"}, {2, "BT"},
                                       {2, "RV"},  {3, "CVS"}, {3, "PRE"}, {2, "GP"}, {2, "DB3"}};
constexpr KeywordEntry kDataTypes[] = {{1, "CHA"}, {3, "ALP"}, {2, "SU"},  {3, "SLI"}, {1, "NUM"},
                                       {3, "STI"}, {3, "STS"}, {1, "ZD"},  {1, "T"},   {1, "INT"},
                                       {1, "PD"},  {2, "BIN"}, {3, "ALT"}, {1, "E"},   {1, "W"},
                                       {2, "SP"},  {2, "DP"},  {1, "FI"},  {1, "FL"}};
constexpr KeywordEntry kSumTypes[] = {{1, "ZD"}, {2, "BIN"}, {1, "INT"}, {1, "PD"}, {1, "EEE"},
                                      {2, "FL"}, {1, "WOR"}, {2, "FIX"}, {1, "NUM"}};
constexpr KeywordEntry kOperators[] = {{2, "CO"}, {2, "EQ"}, {2, "NE"}, {2, "GT"},
                                       {2, "GE"}, {2, "LT"}, {2, "LE"}};
constexpr KeywordEntry kConnectors[] = {{3, "XXX"}, {1, "AND"}, {1, "OR"}};
constexpr KeywordEntry kOrders[] = {{1, "A"}, {1, "D"}};
constexpr KeywordEntry kSpecialFields[] = {{4, "XXXX"}, {4, "RECL"}, {3, "RRN"},
                                           {3, "RBA"},  {4, "CRLF"}, {4, "BT-R"},
                                           {4, "HL-R"}, {4, "DUPC"}, {4, "ARRN"}};
constexpr KeywordEntry kHeaderDisposal[] = {{1, "D"}, {1, "R"}};
constexpr KeywordEntry kRecordNumber[] = {{3, "RRN"}};

constexpr std::uint8_t upper(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

const KeywordTable kStatementKeywords{5, kStatements, std::size(kStatements)};
const KeywordTable kFileTypeKeywords{4, kFileTypes, std::size(kFileTypes)};
const KeywordTable kDataTypeKeywords{4, kDataTypes, std::size(kDataTypes)};
const KeywordTable kSumTypeKeywords{4, kSumTypes, std::size(kSumTypes)};
const KeywordTable kOperatorKeywords{3, kOperators, std::size(kOperators)};
const KeywordTable kConnectorKeywords{4, kConnectors, std::size(kConnectors)};
const KeywordTable kOrderKeywords{2, kOrders, std::size(kOrders)};
const KeywordTable kSpecialFieldKeywords{5, kSpecialFields, std::size(kSpecialFields)};
const KeywordTable kHeaderDisposalKeywords{2, kHeaderDisposal, std::size(kHeaderDisposal)};
const KeywordTable kRecordNumberKeywords{4, kRecordNumber, std::size(kRecordNumber)};

std::optional<int> lookup(const KeywordTable& table, const std::uint8_t* token,
                          std::size_t length) {
    const std::size_t used = length >= table.width ? table.width - 1 : length;
    for (std::size_t e = 0; e < table.count; ++e) {
        const KeywordEntry& entry = table.entries[e];
        if (entry.minimum > used) continue;
        bool match = true;
        for (std::size_t i = 0; i < used && match; ++i) {
            // keywords are padded with blanks to the entry width
            const std::uint8_t k =
                i < entry.keyword.size() ? static_cast<std::uint8_t>(entry.keyword[i]) : ' ';
            match = k == upper(token[i]);
        }
        if (match) return static_cast<int>(e);
    }
    return std::nullopt;
}

std::optional<int> lookup(const KeywordTable& table, std::string_view token) {
    return lookup(table, reinterpret_cast<const std::uint8_t*>(token.data()), token.size());
}

}  // namespace sorvel
