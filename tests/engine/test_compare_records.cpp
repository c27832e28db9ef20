// Locating fields, ordering records, INCL/OMIT operators and constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "compare.h"
#include "conditions.h"
#include "fields.h"
#include "test_parse_support.h"

namespace sorvel {
namespace {

using test::parse;

const std::uint8_t* bytes(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

std::string field_text(const FieldView& f) {
    return std::string(reinterpret_cast<const char*>(f.data), f.length);
}

TEST(ExtractField, FieldNumbersWithQuotes) {
    const std::string record = "a,\"x,y\",c\r\n";
    const char* expected[] = {"a", "x,y", "c", "", ""};
    for (std::uint32_t n = 1; n <= 5; ++n) {
        EXPECT_EQ(field_text(extract_numbered(bytes(record), record.size(), n, ',', '"')),
                  expected[n - 1])
            << "field " << n;
    }
    const std::string other = "p;\"q;r\";;s\r\n";
    const char* semicolon[] = {"p", "q;r", "", "s"};
    for (std::uint32_t n = 1; n <= 4; ++n) {
        EXPECT_EQ(field_text(extract_numbered(bytes(other), other.size(), n, ';', '"')),
                  semicolon[n - 1]);
    }
    // an unterminated quote runs to the line end; tiny records have no fields
    const std::string open = "\"abc\r\n";
    EXPECT_EQ(field_text(extract_numbered(bytes(open), open.size(), 1, ',', '"')), "abc");
    EXPECT_EQ(extract_numbered(bytes(open), 1, 1, ',', '"').length, 0u);
    EXPECT_EQ(extract_numbered(bytes(record), record.size(), 4000000000u, ',', '"').length, 0u);
}

TEST(ExtractField, PositionalFieldsAreShortenedAtTheRecordEnd) {
    const std::string record("ABCDEF\0GH", 9);
    struct Case {
        std::uint32_t offset, position, length;
        std::string expected;
    };
    const Case cases[] = {
        {0, 1, 3, "ABC"},
        {0, 5, 10, std::string("EF\0GH", 5)},
        {0, 9, 1, "H"},
        {0, 10, 1, ""},
        {0, 4000000000u, 5, ""},
        {2, 1, 2, "CD"},
        {0, 3, kToZeroByte, "CDEF"},
        {0, 8, kToZeroByte, "GH"},
    };
    for (const auto& c : cases) {
        const auto f =
            extract_positional(bytes(record), record.size(), c.offset, c.position, c.length);
        EXPECT_EQ(field_text(f), c.expected) << c.position << "," << c.length;
    }
}

struct Rec {
    std::string data;
    std::uint32_t sequence;
};

std::vector<std::uint32_t> sorted_order(const EngineState& state, std::vector<Rec> records) {
    std::stable_sort(records.begin(), records.end(), [&](const Rec& a, const Rec& b) {
        return compare_records(state, bytes(a.data), a.data.size(), a.sequence, bytes(b.data),
                               b.data.size(), b.sequence) < 0;
    });
    std::vector<std::uint32_t> order;
    for (const auto& r : records) order.push_back(r.sequence);
    return order;
}

TEST(CompareRecords, DescendingThenAscendingWithInputOrderForTies) {
    const auto p = parse("S(1,1,C,D,2,1,C,A)");
    ASSERT_TRUE(p.ok);
    const std::vector<Rec> records = {{"a2", 1}, {"b1", 2}, {"a1", 3}, {"b1", 4}, {"a2", 5}};
    EXPECT_EQ(sorted_order(p.state, records), (std::vector<std::uint32_t>{2, 4, 3, 1, 5}));
    // never equal, and antisymmetric on ties
    EXPECT_EQ(compare_records(p.state, bytes("b1"), 2, 2, bytes("b1"), 2, 4), -1);
    EXPECT_EQ(compare_records(p.state, bytes("b1"), 2, 4, bytes("b1"), 2, 2), 1);
}

TEST(CompareRecords, FieldNumberKeysAndShortRecords) {
    const auto p = parse("S(#2,C,A)");
    ASSERT_TRUE(p.ok);
    const std::vector<Rec> records = {{"1,zeta\r\n", 1}, {"2,\"al,pha\"\r\n", 2}, {"3\r\n", 3}};
    EXPECT_EQ(sorted_order(p.state, records), (std::vector<std::uint32_t>{3, 2, 1}));
    const auto q = parse("S(3,5,BIN,A)");
    ASSERT_TRUE(q.ok);
    // the record of 4 bytes has a 2-byte key; no byte past it is read
    EXPECT_EQ(sorted_order(q.state, {{"xx\x02\x01", 1}, {"xx\x01\x09zzz", 2}}),
              (std::vector<std::uint32_t>{2, 1}));
    // equal over the bytes both have: the shorter key comes first
    EXPECT_EQ(sorted_order(q.state, {{"xx\x01\x09zzz", 1}, {"xx\x01\x09", 2}}),
              (std::vector<std::uint32_t>{2, 1}));
}

bool holds(const std::string& command, const std::string& record) {
    const auto p = parse(command);
    EXPECT_TRUE(p.ok) << command << " gave " << p.code;
    EXPECT_GE(p.state.tables.condition_count, 1);
    return evaluate_comparison(p.state, p.state.tables.conditions[0], bytes(record), record.size());
}

TEST(Conditions, OperatorsOnTheCatalogueTitleCondition) {
    const std::string gt = "INCL(1,40,C,GT,\"000000\")";
    EXPECT_TRUE(holds(gt, "000000" + std::string(34, ' ')));
    EXPECT_TRUE(holds(gt, "Zorro" + std::string(35, ' ')));
    EXPECT_FALSE(holds(gt, std::string(40, ' ')));
    EXPECT_FALSE(holds(gt, "!Title" + std::string(34, ' ')));
    struct Case {
        const char* op;
        bool smaller, equal, greater;  // field below, equal to, above the operand
    };
    const Case cases[] = {{"EQ", false, true, false}, {"NE", true, false, true},
                          {"GT", false, false, true}, {"GE", false, true, true},
                          {"LT", true, false, false}, {"LE", true, true, false}};
    for (const auto& c : cases) {
        const std::string command = std::string("INCL(1,1,C,") + c.op + ",\"M\")";
        EXPECT_EQ(holds(command, "A"), c.smaller) << c.op;
        EXPECT_EQ(holds(command, "M"), c.equal) << c.op;
        EXPECT_EQ(holds(command, "Z"), c.greater) << c.op;
    }
    // second field of the same record as the operand
    EXPECT_TRUE(holds("INCL(1,2,C,EQ,4,2)", "ab-ab"));
    EXPECT_FALSE(holds("INCL(1,2,C,LT,4,2)", "ab-aa"));
    EXPECT_TRUE(holds("INCL(1,2,INT,EQ,\"258\")", "\x02\x01"));
}

TEST(Conditions, ShortConstantsOfFixedWidthTypesAreFollowedByZeroBytes) {
    struct Case {
        const char* command;
        std::string record;
        bool expected;
    };
    const std::string zeros59(59, '\0');
    const Case cases[] = {
        {"INCL(1,4,BIN,EQ,\"&H414243\")", std::string("ABC\0", 4), true},
        {"INCL(1,4,BIN,EQ,\"&H414243\")", "ABCD", false},
        {"INCL(1,4,W,EQ,\"&H0102\")", std::string("\x01\x02\0\x01", 4), false},
        {"INCL(1,4,E,EQ,\"&H0000\")", std::string(4, '\0'), true},
        // longer than the constant's own storage
        {"INCL(1,60,BIN,EQ,\"&H41\")", "A" + zeros59, true},
        {"INCL(1,60,BIN,EQ,\"&H41\")", "A" + zeros59.substr(1) + "x", false},
        // text types compare whole values: the shorter constant is smaller
        {"INCL(1,4,C,EQ,\"ABC\")", std::string("ABC\0", 4), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(holds(c.command, c.record), c.expected) << c.command;
    }
}

TEST(Conditions, ContainsWithTheAlpWildcard) {
    struct Case {
        const char* type;
        const char* operand;
        const char* field;
        bool expected;
    };
    const Case cases[] = {
        {"ALP", "R*D", "a rod here", true}, {"ALP", "R*D", "RED", true},
        {"ALP", "R*D", "r-d", true},        {"ALP", "R*D", "R*", false},
        {"ALP", "r*d", "xRxE", false},      {"ALP", "1*", "a1", false},
        {"CHA", "R*D", "rod", false},       {"CHA", "R*D", "xR*D", true},
        {"CHA", "abc", "ab", false},        {"CHA", "", "anything", true},
        {"ALP", "Ä", "ä", false},
    };
    for (const auto& c : cases) {
        const std::string field = c.field;
        const std::string command = std::string("INCL(1,") + std::to_string(field.size()) + "," +
                                    c.type + ",CO,\"" + c.operand + "\")";
        EXPECT_EQ(holds(command, field), c.expected)
            << c.type << " " << c.operand << " in " << c.field;
    }
    const std::uint8_t data[] = {1, 2, 3};
    EXPECT_FALSE(contains(kTypeBIN, data, 3, data, 1));
}

TEST(Conditions, ConvertConstantByType) {
    struct Case {
        std::uint8_t type;
        std::uint32_t field_length;
        const char* text;
        bool accepted;
        std::vector<std::uint8_t> stored;
    };
    const Case cases[] = {
        {kTypeINT, 2, "-2", true, {0xFE, 0xFF}},
        {kTypeW, 4, "258", true, {0x02, 0x01, 0x00, 0x00}},
        {kTypeBIN, 4, "258", true, {0x00, 0x00, 0x01, 0x02}},
        {kTypeFI, 2, "-1", true, {0xFF, 0xFF}},
        {kTypeINT, 8, "1", false, {}},
        {kTypeE, 4, "1.5", true, {0x00, 0x00, 0xC0, 0x3F}},
        {kTypeFL, 8, "-2", true, {0, 0, 0, 0, 0, 0, 0, 0xC0}},
        {kTypeE, 3, "1.5", true, {'1', '.', '5'}},
        {kTypeCHA, 9, "abc", true, {'a', 'b', 'c'}},
        {kTypeNUM, 9, "12", true, {'1', '2'}},
        {kTypeSTS, 3, "12-", true, {'1', '2', '-'}},
        {kTypeSU, 2, "1", false, {}},
        {kTypeSLI, 2, "1", false, {}},
        {kTypeSTI, 2, "1", false, {}},
        {kTypeZD, 2, "1", false, {}},
        {kTypeT, 2, "1", false, {}},
        {kTypePD, 2, "1", false, {}},
        {kTypeALT, 2, "1", false, {}},
    };
    for (const auto& c : cases) {
        Condition condition;
        condition.type = c.type;
        condition.constant_length = static_cast<std::uint32_t>(std::strlen(c.text));
        std::memcpy(condition.constant.data(), c.text, condition.constant_length);
        EXPECT_EQ(convert_constant(condition, c.field_length), c.accepted) << c.text;
        if (!c.accepted) continue;
        EXPECT_EQ(std::vector<std::uint8_t>(condition.constant.begin(),
                                            condition.constant.begin() + condition.constant_length),
                  c.stored)
            << int(c.type) << " " << c.text;
    }
}

}  // namespace
}  // namespace sorvel
