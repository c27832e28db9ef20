// Selection, duplicate processing and output record layouts, end to end.
#include <gtest/gtest.h>

#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

const Bytes kGroups = lines({"c3", "a1", "b1", "c1", "a2", "c2"});

TEST(SelectDuplicates, DuplicateModesOnTheSixRecords) {
    struct Case {
        const char* command;
        Bytes expected;
    };
    const Case cases[] = {
        {"SORT(1,2,C,A) DUPO(1,1)", lines({"a1", "b1", "c1"})},
        {"SORT(1,2,C,A) DUPE(1,1)", lines({"b1"})},
        {"SORT(1,2,C,A) DUPI(1,1)", lines({"a1", "a2", "c1", "c2", "c3"})},
        {"SORT(1,2,C,A) DUPO(1,1) OUTREC(1,2,DUPC(2),CRLF)", lines({"a10000002", "c10000003"})},
        {"SORT(1,2,C,A) DUPO(1,1) OUTREC(1,2,DUPC,CRLF)",
         lines({"a10000002", "b10000001", "c10000003"})},
        // The whole record is the default key: nothing is a duplicate here.
        {"SORT(1,2,C,A) DUPE", lines({"a1", "a2", "b1", "c1", "c2", "c3"})},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        write_file("in", kGroups);
        const RunResult r = run("in", "out", c.command);
        EXPECT_EQ(r.code, 0) << c.command;
        EXPECT_EQ(read_file("out"), c.expected) << c.command;
    }
}

TEST(SelectDuplicates, ZeroEndedKeysEndAtTheirFirstZeroByteAsDuplicateKeys) {
    struct Case {
        const char* command;
        Bytes expected;
    };
    // Equal up to their first zero byte, different after it.
    const Bytes input("a\0xx\x01"
                      "a\0yy\x02",
                      10);
    const Case cases[] = {
        {"RECO(5) S(1,Z,C,A) SUM(5,1,BIN)", Bytes("a\0xx\x03", 5)},
        {"RECO(5) S(1,1,C,A) DUPO(1,65535)", Bytes("a\0xx\x01", 5)},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        write_file("in", input);
        const RunResult r = run("in", "out", c.command);
        EXPECT_EQ(r.code, 0) << c.command;
        EXPECT_EQ(read_file("out"), c.expected) << c.command;
    }
}

TEST(SelectDuplicates, CopyRunTreatsBufferFullsAsOneSequence) {
    ScratchDir dir;
    std::vector<std::string> items;
    for (int i = 0; i < 3000; ++i) items.push_back(i < 1500 ? "same" : "other");
    write_file("in", lines(items));
    const RunResult r = run("in", "out", "CORE(40) DUPO OUTREC(1,5,DUPC,CRLF)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(read_file("out"), lines({"same\r0001500", "other0001500"}));
}

TEST(SelectDuplicates, DuplicateBufferTooSmallGives256) {
    ScratchDir dir;
    write_file("in", lines({"aaaaaaaaaa", "b"}));
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) DUPO(1,1,B4)").code, 256);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(SelectDuplicates, IncludeAndOmitSelectBeforeSorting) {
    struct Case {
        const char* command;
        Bytes expected;
    };
    const Bytes input = lines({"D Zulu", "V Alpha", "D Bravo", "L Echo", "d lower"});
    const Case cases[] = {
        {"SORT(3,5,C,A) INCL(1,1,C,EQ,\"D\")", lines({"D Bravo", "D Zulu"})},
        {"SORT(3,5,C,A) OMIT(1,1,C,EQ,\"D\")", lines({"V Alpha", "L Echo", "d lower"})},
        {"SORT(3,5,C,A) INCL(1,1,C,EQ,\"V\",OR,1,1,C,EQ,\"L\")", lines({"V Alpha", "L Echo"})},
        {"INCL((1,1,C,EQ,\"D\",OR,1,1,C,EQ,\"d\"),AND,3,1,ALP,GT,\"C\")",
         lines({"D Zulu", "d lower"})},
        {"INCL(3,5,ALP,CO,\"*LPH\")", lines({"V Alpha"})},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        write_file("in", input);
        const RunResult r = run("in", "out", c.command);
        EXPECT_EQ(r.code, 0) << c.command;
        EXPECT_EQ(read_file("out"), c.expected) << c.command;
    }
}

TEST(SelectDuplicates, OutrecSpecialFieldsAndRecordNumberStatements) {
    struct Case {
        const char* command;
        Bytes expected;
    };
    const Bytes le_two = Bytes("\x02\x00\x00\x00", 4);
    const Case cases[] = {
        {"RECORD(3) OUTREC(RECL,1,1,\"-\",3,E)",
         Bytes("\x03\x00", 2) + "x-z" + Bytes("\x03\x00", 2) + "a-c"},
        {"RECORD(3) OUTREC(RRN,BT-R,HL-R,ARRN)", Bytes("\x01\x00\x00\x00", 4) + Bytes(7, '\0') +
                                                     "0000001" + Bytes("\x02\x00\x00\x00", 4) +
                                                     Bytes(7, '\0') + "0000002"},
        {"RECORD(3) OUTREC(2,4,\"&H414243\")",
         "yz  ABC"
         "bc  ABC"},
        {"RECORD(3) SORT(1,1,C,A) ADDR", le_two + Bytes("\x01\x00\x00\x00", 4)},
        {"RECORD(3) SORT(3,1,C,D) KEYO", Bytes("\x01\x00\x00\x00", 4) + "z" + le_two + "c"},
        // An empty layout makes empty records, however the list is spelt;
        // a line end before ")" still ends the list.
        {"RECORD(3) OUTREC()", ""},
        {"RECORD(3) OUTREC(\t[no fields]\r\n)", ""},
        {"RECORD(3) OUTREC(2,2\r\n) SORT(1,1,C,D)", "yzbc"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        write_file("in", "xyzabc");
        const RunResult r = run("in", "out", c.command);
        EXPECT_EQ(r.code, 0) << c.command;
        EXPECT_EQ(r.count, 2u) << c.command;
        EXPECT_EQ(read_file("out"), c.expected) << c.command;
    }
}

TEST(SelectDuplicates, ArrnOfAnEightDigitNumberKeepsItsFirstSevenDigits) {
    ScratchDir dir;
    write_file("in", "ab");
    EXPECT_EQ(run("in", "out", "RECORD(1) ORIG(2) OUTREC(ARRN)").code, 0);
    EXPECT_EQ(read_file("out"), "0000002");
}

}  // namespace
