// Tokenizer, keyword abbreviations and number conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "keywords.h"
#include "tokenizer.h"

namespace sorvel {
namespace {

std::vector<std::string> statement_tokens(const std::string& text, int quote = '"') {
    Tokenizer tokens(text);
    std::vector<std::string> out;
    while (const auto t = tokens.next(kStatementDelimiters, quote)) {
        out.emplace_back(tokens.view(*t));
    }
    return out;
}

struct TokenCase {
    const char* text;
    std::vector<std::string> tokens;
};

TEST(Tokenizer, CutsTextAtDelimitersCommentsAndQuotes) {
    const TokenCase cases[] = {
        {"S(1,40,C,A)", {"S", "1", "40", "C", "A"}},
        {"  OUTREC(1,40,Arrn,CRLF )\r\n", {"OUTREC", "1", "40", "Arrn", "CRLF"}},
        {"A [a comment] B", {"A", "B"}},
        {"A [comment without end B", {"A"}},
        {"I(1,3,C,EQ,\"a b,c\")", {"I", "1", "3", "C", "EQ", "a b,c"}},
        {"X \"\" Y", {"X", "", "Y"}},
        {"X \"unterminated", {"X"}},
        {"A+B\tC", {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statement_tokens(c.text), c.tokens) << c.text;
    }
}

TEST(Tokenizer, ZeroByteInsideCountedTextIsADelimiter) {
    const std::string text("A\0B", 3);
    EXPECT_EQ(statement_tokens(text), (std::vector<std::string>{"A", "B"}));
}

TEST(Tokenizer, QuotedFlagFollowsTheByteInFrontOfTheToken) {
    Tokenizer tokens(std::string_view("\"abc\" def 'g'"));
    auto a = tokens.next(kStatementDelimiters, '"');
    auto b = tokens.next(kStatementDelimiters, '"');
    auto c = tokens.next(kStatementDelimiters, '"');
    ASSERT_TRUE(a && b && c);
    EXPECT_TRUE(a->quoted);
    EXPECT_FALSE(b->quoted);
    EXPECT_FALSE(c->quoted);
    EXPECT_EQ(tokens.view(*c), "'g'");
    // after APOS the apostrophe quotes
    EXPECT_EQ(statement_tokens("X 'a b' Y", '\''), (std::vector<std::string>{"X", "a b", "Y"}));
}

TEST(Tokenizer, ParenthesesSkipOnlyBlanksAndCommas) {
    Tokenizer tokens(std::string_view(" , (x)\n)"));
    EXPECT_FALSE(tokens.close_paren());
    EXPECT_TRUE(tokens.open_paren());
    EXPECT_FALSE(tokens.open_paren());
    ASSERT_TRUE(tokens.next(kStatementDelimiters, '"'));
    EXPECT_TRUE(tokens.close_paren());
    EXPECT_FALSE(tokens.close_paren());  // a line feed is not skipped here
}

TEST(Numbers, ConvertFromTheStartOfTheToken) {
    struct Case {
        const char* text;
        std::int32_t value;
        bool has_digits;
    };
    const Case cases[] = {{"649", 649, true},     {"  +12x", 12, true}, {"-5", -5, true},
                          {"abc", 0, false},      {"", 0, false},       {"-", 0, false},
                          {"4294967297", 1, true}};
    for (const auto& c : cases) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(c.text);
        EXPECT_EQ(token_number(b, std::strlen(c.text)), c.value) << c.text;
        EXPECT_EQ(token_has_number(b, std::strlen(c.text)), c.has_digits) << c.text;
    }
}

struct LookupCase {
    const KeywordTable* table;
    const char* token;
    int expected;  // -1: not found
};

TEST(Keywords, MinimumAbbreviationsAndCutting) {
    const LookupCase cases[] = {
        {&kStatementKeywords, "S", 13},       {&kStatementKeywords, "L", 7},
        {&kStatementKeywords, "LA", 23},      {&kStatementKeywords, "APP", -1},
        {&kStatementKeywords, "APPE", 24},    {&kStatementKeywords, "INCLUDE", 5},
        {&kStatementKeywords, "Include", 5},  {&kStatementKeywords, "OUTRECORD", 10},
        {&kStatementKeywords, "OUT", -1},     {&kStatementKeywords, "SUMS", -1},
        {&kStatementKeywords, "SU", -1},      {&kStatementKeywords, "SUM", 22},
        {&kStatementKeywords, "I", -1},       {&kStatementKeywords, "ALTSEQ", 15},
        {&kStatementKeywords, "Record", 12},  {&kStatementKeywords, "A", -1},
        {&kDataTypeKeywords, "CHARACTER", 0}, {&kDataTypeKeywords, "C", 0},
        {&kDataTypeKeywords, "AL", -1},       {&kDataTypeKeywords, "ALT", 12},
        {&kDataTypeKeywords, "S", -1},        {&kDataTypeKeywords, "F", 17},
        {&kDataTypeKeywords, "FL", 18},       {&kDataTypeKeywords, "E", 13},
        {&kOperatorKeywords, "G", -1},        {&kOperatorKeywords, "ge", 4},
        {&kConnectorKeywords, "A", 1},        {&kConnectorKeywords, "X", -1},
        {&kSpecialFieldKeywords, "Arrn", 8},  {&kSpecialFieldKeywords, "RRN", 2},
        {&kSpecialFieldKeywords, "BT-R", 5},  {&kFileTypeKeywords, "F", -1},
        {&kFileTypeKeywords, "FE", 1},        {&kFileTypeKeywords, "FIXED", 0},
        {&kSumTypeKeywords, "F", -1},         {&kSumTypeKeywords, "FI", 7},
        {&kOrderKeywords, "Descending", 1},   {&kRecordNumberKeywords, "RR", -1},
    };
    for (const auto& c : cases) {
        const auto found = lookup(*c.table, c.token);
        EXPECT_EQ(found ? *found : -1, c.expected) << c.token;
    }
}

}  // namespace
}  // namespace sorvel
