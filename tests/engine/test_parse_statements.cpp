// What accepted statements record in the run state.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "return_codes.h"
#include "sum_arith.h"
#include "test_parse_support.h"

namespace sorvel {
namespace {

using test::parse;

// Writes an ALTS table file: byte 172, 8 unused bytes, then `weights`.
std::string write_alt_file(const std::string& name, const std::vector<std::uint8_t>& weights) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::vector<std::uint8_t> bytes(9, 0);
    bytes[0] = 172;
    bytes.insert(bytes.end(), weights.begin(), weights.end());
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path.string();
}

std::vector<std::uint8_t> identity_weights() {
    std::vector<std::uint8_t> w(256);
    for (int i = 0; i < 256; ++i) w[i] = static_cast<std::uint8_t>(i);
    return w;
}

TEST(ParseStatements, CatalogueTitleCommand) {
    const std::string alt = write_alt_file("sorvel_test_upper.alt", identity_weights());
    const auto p = parse("S(1,40,C,A) ALTSEQ(" + alt +
                         ") OUTREC(1,40,Arrn,CRLF ) Include(1,40,C,GT,\"000000\") Record(649)");
    ASSERT_TRUE(p.ok) << p.code;
    const auto& t = p.state.tables;
    ASSERT_EQ(t.key_count, 1);
    EXPECT_EQ(t.keys[0].position, 1u);
    EXPECT_EQ(t.keys[0].length, 40u);
    EXPECT_EQ(t.keys[0].type, kTypeCHA);
    EXPECT_EQ(t.keys[0].descending, 0);
    EXPECT_EQ(t.alt_table[65], 65);
    ASSERT_EQ(t.out_field_count, 3);
    EXPECT_EQ(t.out_fields[0].kind, kOutField);
    EXPECT_EQ(t.out_fields[0].length, 40u);
    EXPECT_EQ(t.out_fields[1].kind, kOutARRN);
    EXPECT_EQ(t.out_fields[1].length, 7u);
    EXPECT_EQ(t.out_fields[2].kind, kOutLiteral);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.out_fields[2].text.data())), "\r\n");
    ASSERT_EQ(t.condition_count, 1);
    EXPECT_EQ(t.conditions[0].op, kOpGT);
    EXPECT_EQ(t.conditions[0].constant_length, 6u);
    EXPECT_EQ(t.conditions[0].position2, 0u);
    EXPECT_EQ(p.state.options.record_length, 649u);
    EXPECT_EQ(p.state.options.file_type, kFileFIX);
    EXPECT_TRUE(p.state.statements.has_file(kFileFIX));
    EXPECT_FALSE(p.state.statements.has_file(kFileTXT));
    std::filesystem::remove(alt);
}

TEST(ParseStatements, AltTableFromShortFileAndBadMagic) {
    const std::string shortfile = write_alt_file("sorvel_test_short.alt", {5, 6});
    const auto p = parse("ALTS(" + shortfile + ")");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.state.tables.alt_table[0], 5);
    EXPECT_EQ(p.state.tables.alt_table[1], 6);
    EXPECT_EQ(p.state.tables.alt_table[2], 0);

    const auto bad = std::filesystem::temp_directory_path() / "sorvel_test_bad.alt";
    std::FILE* f = std::fopen(bad.c_str(), "wb");
    std::fputs("not a table", f);
    std::fclose(f);
    EXPECT_EQ(parse("ALTS(" + bad.string() + ")").code, 10055);
    std::filesystem::remove(shortfile);
    std::filesystem::remove(bad);
}

// Postfix order written as kinds: C = comparison (with its position), & = AND, | = OR.
std::string postfix(const StatementTables& t) {
    std::string out;
    for (int i = 0; i < t.condition_count; ++i) {
        const Condition& c = t.conditions[i];
        if (c.kind == kCondAnd)
            out += "&";
        else if (c.kind == kCondOr)
            out += "|";
        else
            out += std::to_string(c.position);
    }
    return out;
}

TEST(ParseStatements, ConditionGroupingGivesPostfixLists) {
    const std::string a = "1,1,C,EQ,\"a\"", b = "2,1,C,EQ,\"b\"", c = "3,1,C,EQ,\"c\"";
    struct Case {
        std::string command;
        std::string list;
    };
    const Case cases[] = {
        {"INCL(" + a + ")", "1"},
        {"INCL((" + a + "))", "1"},
        {"INCL(" + a + ",OR,(" + b + ",AND," + c + "))", "123&|"},
        {"INCL((" + a + ",OR," + b + "),AND," + c + ")", "12|3&"},
        {"INCL(" + a + ",OR," + b + ",AND," + c + ")", "12|3&"},
        {"OMIT(" + a + ",A," + b + ")", "12&"},
        {"INCL(((" + a + "),O,(" + b + ")))", "12|"},
    };
    for (const auto& k : cases) {
        const auto p = parse(k.command);
        ASSERT_TRUE(p.ok) << k.command << " gave " << p.code;
        EXPECT_EQ(postfix(p.state.tables), k.list) << k.command;
    }
}

TEST(ParseStatements, ConditionOperands) {
    auto first = [](const std::string& command) {
        auto p = parse(command);
        EXPECT_TRUE(p.ok) << command << " gave " << p.code;
        return p.state.tables.conditions[0];
    };
    Condition c = first("INCL(1,4,C,EQ,5,4)");
    EXPECT_EQ(c.position2, 5u);
    EXPECT_EQ(c.length2, 4u);
    c = first("INCL(#2,C,NE,#3)");
    EXPECT_EQ(c.length, 0u);
    EXPECT_EQ(c.position2, 3u);
    EXPECT_EQ(c.length2, 0u);
    c = first("INCL(3,0,C,EQ,\"x\")");  // length 0: field-number form
    EXPECT_EQ(c.position, 3u);
    EXPECT_EQ(c.length, 0u);
    c = first("INCL(1,2,ZD,EQ,\"&HF1C2\")");
    ASSERT_EQ(c.constant_length, 2u);
    EXPECT_EQ(c.constant[0], 0xF1);
    EXPECT_EQ(c.constant[1], 0xC2);
    c = first("INCL(1,2,C,EQ,\"&EA1\")");
    ASSERT_EQ(c.constant_length, 2u);
    EXPECT_EQ(c.constant[0], 0xC1);
    EXPECT_EQ(c.constant[1], 0xF1);
    c = first("INCL(1,2,BIN,EQ,\"258\")");
    ASSERT_EQ(c.constant_length, 2u);
    EXPECT_EQ(c.constant[0], 1);
    EXPECT_EQ(c.constant[1], 2);
    c = first("APOS INCL(1,3,C,EQ,'a\"b')");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.constant.data())), "a\"b");
}

TEST(ParseStatements, SortKeyForms) {
    const auto p = parse("MERGE(#3,ALP,D,5,Z,CHA,A 7,2,PD,D)");
    ASSERT_TRUE(p.ok) << p.code;
    const auto& t = p.state.tables;
    ASSERT_EQ(t.key_count, 3);
    EXPECT_EQ(t.keys[0].position, 3u);
    EXPECT_EQ(t.keys[0].length, 0u);
    EXPECT_EQ(t.keys[0].type, kTypeALP);
    EXPECT_EQ(t.keys[0].descending, 1);
    EXPECT_EQ(t.keys[1].length, kToZeroByte);
    EXPECT_EQ(t.keys[2].type, kTypePD);
    EXPECT_TRUE(p.state.statements.sorting());
    // a later SORT replaces the earlier keys
    EXPECT_EQ(parse("S(1,2,C,A,3,4,C,A) S(9,1,C,D)").state.tables.key_count, 1);
}

TEST(ParseStatements, DuplicateItems) {
    struct Case {
        const char* command;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> keys;
        std::uint32_t buffer;
    };
    const Case cases[] = {
        {"DUPO", {{1, kDupToRecordEnd}}, 1000},
        {"DUPE()", {{1, kDupToRecordEnd}}, 1000},
        {"DUPI(3,4,#2,9,E)", {{3, 4}, {2, 0}, {9, kDupToRecordEnd}}, 1000},
        {"DUPO(B5000)", {{1, kDupToRecordEnd}}, 5000},
        {"DUPO(3,4,5,6,b200)", {{3, 4}}, 200},
        {"DUPO(b200,3,4,5,6)", {{3, 4}, {5, 6}}, 200},
    };
    for (const auto& c : cases) {
        const auto p = parse(c.command);
        ASSERT_TRUE(p.ok) << c.command << " gave " << p.code;
        const auto& t = p.state.tables;
        ASSERT_EQ(t.dup_key_count, static_cast<int>(c.keys.size())) << c.command;
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            EXPECT_EQ(t.dup_keys[i].position, c.keys[i].first) << c.command;
            EXPECT_EQ(t.dup_keys[i].length, c.keys[i].second) << c.command;
        }
        EXPECT_EQ(p.state.options.dup_buffer_size, c.buffer) << c.command;
        EXPECT_TRUE(p.state.options.dup_processing);
    }
    EXPECT_EQ(parse("DUPI").state.options.dup_mode, kStmtDUPI);
}

TEST(ParseStatements, SumTurnsOnDuplicatesWithTheSortKeys) {
    const auto p = parse("SORT(1,3,C,A,7,2,C,D) SUM(10,4,INT,20,3,PD)");
    ASSERT_TRUE(p.ok) << p.code;
    const auto& t = p.state.tables;
    ASSERT_EQ(t.sum_field_count, 2);
    EXPECT_EQ(t.sum_fields[0].type, kSumINT);
    EXPECT_EQ(t.sum_fields[1].type, kSumPD);
    EXPECT_TRUE(p.state.options.dup_processing);
    EXPECT_EQ(p.state.options.dup_mode, kStmtDUPO);
    EXPECT_EQ(p.state.options.dup_buffer_size, 2000u);
    ASSERT_EQ(t.dup_key_count, 2);
    EXPECT_EQ(t.dup_keys[1].position, 7u);
    EXPECT_EQ(t.dup_keys[1].length, 2u);
    EXPECT_EQ(parse("S(1,2,C,A) SUM()").state.tables.sum_field_count, 0);

    // twenty sort keys all become duplicate keys
    std::string keys;
    for (int i = 1; i <= 20; ++i) keys += (i > 1 ? "," : "") + std::to_string(i) + ",1,C,A";
    const auto many = parse("SORT(" + keys + ") SUM");
    ASSERT_TRUE(many.ok) << many.code;
    EXPECT_EQ(many.state.tables.dup_key_count, 20);
    EXPECT_EQ(many.state.tables.dup_keys[19].position, 20u);
}

TEST(ParseStatements, OutrecFieldsLiteralsAndSpecialFields) {
    const auto p =
        parse("OUTR(5,E,\"&H0d0A\",\"&Eab\",\"lit\",RECL,RRN,RBA,BT-R,HL-R,DUPC(3),ARRN,crlf,2,3)");
    ASSERT_TRUE(p.ok) << p.code;
    const auto& t = p.state.tables;
    ASSERT_EQ(t.out_field_count, 13);
    EXPECT_EQ(t.out_fields[0].kind, kOutToEnd);
    EXPECT_EQ(t.out_fields[0].position, 5u);
    EXPECT_EQ(t.out_fields[1].kind, kOutLiteral);
    EXPECT_EQ(t.out_fields[1].length, 2u);
    EXPECT_EQ(t.out_fields[1].text[0], 0x0D);
    EXPECT_EQ(t.out_fields[2].text[0], 0x81);  // EBCDIC a
    EXPECT_EQ(t.out_fields[3].length, 3u);
    const std::uint8_t kinds[] = {kOutRECL, kOutRRN, kOutRBA, kOutBTR, kOutHLR, kOutDUPC, kOutARRN};
    const std::uint32_t lengths[] = {2, 4, 4, 5, 2, 7, 7};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(t.out_fields[4 + i].kind, kinds[i]);
        EXPECT_EQ(t.out_fields[4 + i].length, lengths[i]);
    }
    EXPECT_EQ(p.state.options.dup_threshold, 3u);
    EXPECT_EQ(t.out_fields[11].kind, kOutLiteral);
    EXPECT_EQ(t.out_fields[12].position, 2u);
    EXPECT_EQ(t.out_fields[12].length, 3u);
}

TEST(ParseStatements, RewritingChecks) {
    auto addr = parse("ADDR S(1,2,C,A)");
    ASSERT_TRUE(addr.ok);
    ASSERT_EQ(addr.state.tables.out_field_count, 1);
    EXPECT_EQ(addr.state.tables.out_fields[0].kind, kOutRRN);

    auto keyo = parse("KEYO(RRN) S(3,2,C,A,9,1,C,D)");
    ASSERT_TRUE(keyo.ok);
    ASSERT_EQ(keyo.state.tables.out_field_count, 3);
    EXPECT_EQ(keyo.state.tables.out_fields[0].kind, kOutRRN);
    EXPECT_EQ(keyo.state.tables.out_fields[2].position, 9u);
    EXPECT_EQ(keyo.state.tables.out_fields[2].length, 1u);

    auto bypa = parse("BYPA RECO(128)");
    ASSERT_TRUE(bypa.ok);
    EXPECT_EQ(bypa.state.options.bypass_count, 128u);
    EXPECT_TRUE(bypa.state.options.keep_header);
    auto bypa_d = parse("BYPA(100,D)");
    EXPECT_EQ(bypa_d.state.options.bypass_count, 100u);
    EXPECT_FALSE(bypa_d.state.options.keep_header);
    EXPECT_TRUE(parse("BYPA(100,R)").state.options.keep_header);

    EXPECT_EQ(parse("FILE(VS)").state.options.field_offset, 2u);
    EXPECT_EQ(parse("FILE(FE,255) RECO(10)").state.options.eof_byte, 255);
}

TEST(ParseStatements, OptionsAndDefaults) {
    const auto d = parse("");
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.state.options.file_type, kFileTXT);
    EXPECT_TRUE(d.state.statements.has_file(kFileTXT));
    EXPECT_EQ(d.state.options.core_kb, 2000u);
    EXPECT_EQ(d.state.options.open_value, 64u);
    EXPECT_EQ(d.state.options.field_delimiter, ',');
    EXPECT_EQ(d.state.options.eof_byte, 26);

    const auto o = parse(
        "CORE(0) OPEN(12) DELI(59) WORK(\"/tmp/a b/\") LIMI(10) ORIG(5) "
        "FILE(GP,(13,10),(26)) PAUS APPE OVER NOYI");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_EQ(o.state.options.core_kb, 0u);
    EXPECT_EQ(o.state.options.open_value, 12u);
    EXPECT_EQ(o.state.options.field_delimiter, ';');
    EXPECT_EQ(o.state.options.work_directory, "/tmp/a b/");
    EXPECT_TRUE(o.state.options.has_limit);
    EXPECT_EQ(o.state.options.limit, 10u);
    EXPECT_EQ(o.state.options.origin, 5u);
    EXPECT_EQ(o.state.options.file_type, kFileGP);
    EXPECT_EQ(o.state.tables.gp_delimiter_count, 2);
    EXPECT_EQ(o.state.tables.gp_delimiter[1], 10);
    EXPECT_EQ(o.state.tables.gp_end_marker_count, 1);
    for (Statement s : {kStmtPAUS, kStmtAPPE, kStmtOVER, kStmtNOYI, kStmtWORK}) {
        EXPECT_TRUE(o.state.statements.has(s));
    }
    EXPECT_EQ(parse("L(10)").state.options.limit, 10u);

    const auto raw = parse("S(1,2,C,A)", RunKind::RecordAtATime);
    ASSERT_TRUE(raw.ok);
    EXPECT_EQ(raw.state.options.file_type, kFileFIX);
    EXPECT_FALSE(raw.state.statements.has_file(kFileFIX));
    EXPECT_FALSE(raw.state.statements.has_file(kFileTXT));
}

}  // namespace
}  // namespace sorvel
