// Whole runs over every file type: framing, headers, trailers, BYPA, APPE,
// LIMI/ORIG, PAUS.
#include <gtest/gtest.h>

#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

Bytes le16(unsigned v) {
    return Bytes{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

TEST(FormatsFiles, FixedRecordsSortAndDropAPartialLastRecord) {
    ScratchDir dir;
    write_file("in", "cc1bb2aa3z");
    const RunResult r = run("in", "out", "SORT(1,2,C,A) RECORD(3)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 3u);
    EXPECT_EQ(read_file("out"), "aa3bb2cc1");
}

TEST(FormatsFiles, FeMarkerEndsTheInputAndIsWrittenAsTrailer) {
    ScratchDir dir;
    write_file("in", "b2a1#xyzzy");
    const RunResult r = run("in", "out", "SORT(1,1,C,A) RECORD(2) FILE(FE,35)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(read_file("out"), "a1b2#");
}

TEST(FormatsFiles, TextMarkerEndsTheFileAndComesBackAtTheEnd) {
    ScratchDir dir;
    write_file("in",
               "b\r\na\r\nc\x1a"
               "d\r\n");
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A)").code, 0);
    EXPECT_EQ(read_file("out"), "a\r\nb\r\n\x1a");
    write_file("plain", "b\r\na\r\nunfinished");
    EXPECT_EQ(run("plain", "out2", "SORT(1,1,C,A)").count, 2u);
    EXPECT_EQ(read_file("out2"), "a\r\nb\r\n");
}

TEST(FormatsFiles, EndMarkerComesBackOnlyWhenTheLastFileReadEndedWithIt) {
    struct Case {
        Bytes first, second;
        const char* command;
        Bytes expected;
    };
    const char* gp = "FILE(GP,(59),(33,33))";
    const Case cases[] = {
        {"a\r\n\x1a", "b\r\n", "", "a\r\nb\r\n"},
        {"a\r\n", "b\r\n\x1a", "", "a\r\nb\r\n\x1a"},
        {"a\r\n\x1a", "b\r\nc\r\n", "LIMI(2)", "a\r\nb\r\n"},
        {"b;!!", "a;", gp, "b;a;"},
        {"b;", "a;!!", gp, "b;a;!!"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        write_file("one", c.first);
        write_file("two", c.second);
        EXPECT_EQ(run("one two", "out", c.command).code, 0) << c.command;
        EXPECT_EQ(read_file("out"), c.expected) << c.first << " + " << c.second;
    }
}

TEST(FormatsFiles, VariableRecordsCountPositionsAfterTheirPrefix) {
    ScratchDir dir;
    write_file("in", le16(2) + "zz" + le16(3) + "abc" + le16(1) + "m");
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) FILE(VS)").code, 0);
    EXPECT_EQ(read_file("out"), le16(3) + "abc" + le16(1) + "m" + le16(2) + "zz");
}

TEST(FormatsFiles, RvHeaderIsKeptAndRecordsFramed) {
    ScratchDir dir;
    const Bytes header = "RV" + le16(100);
    write_file("in", header +
                         "\x02"
                         "yy\x02"
                         "\x01"
                         "x\x01");
    const RunResult r = run("in", "out", "SORT(1,1,C,A) FILE(RV)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(read_file("out"), header +
                                    "\x01"
                                    "x\x01"
                                    "\x02"
                                    "yy\x02");
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(FormatsFiles, CvsSkipsItsHeaderAndEndsAtPadding) {
    ScratchDir dir;
    Bytes header(128, 'h');
    header[56] = 0;
    header[57] = 100;
    const Bytes rec_b = Bytes(
                            "\x00\x03"
                            "bbb",
                            5) +
                        Bytes(3, '\0');
    const Bytes rec_a = Bytes(
                            "\x00\x05"
                            "aaaaa",
                            7) +
                        Bytes(1, '\0');
    write_file("in", header + rec_b + rec_a + Bytes(8, '\0'));
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) FILE(CVS)").code, 0);
    EXPECT_EQ(read_file("out"), header + rec_a + rec_b);
}

TEST(FormatsFiles, PreReadsFixedRecords) {
    ScratchDir dir;
    write_file("in", "33221100");
    EXPECT_EQ(run("in", "out", "SORT(1,2,C,A) FILE(PRE,2)").code, 0);
    EXPECT_EQ(read_file("out"), "00112233");
}

TEST(FormatsFiles, GeneralRecordsUseTheirDelimiterAndEndSequence) {
    ScratchDir dir;
    write_file("in", "b;a;c;!!ignored;");
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) FILE(GP,(59),(33,33))").code, 0);
    EXPECT_EQ(read_file("out"), "a;b;c;!!");
    write_file("in2", "b;a;");
    EXPECT_EQ(run("in2", "out2", "SORT(1,1,C,A) FILE(GP,(59),(33,33))").code, 0);
    EXPECT_EQ(read_file("out2"), "a;b;");
}

TEST(FormatsFiles, GeneralRecordsWithoutDelimiterTakeEachFileAsOneRecord) {
    ScratchDir dir;
    write_file("one", "zzz\nmore");
    write_file("two", "aaa");
    const RunResult r = run("one two", "out", "SORT(1,1,C,A) FILE(GP,(),())");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 2u);
    EXPECT_EQ(read_file("out"), "aaazzz\nmore");
}

TEST(FormatsFiles, Db3KeepsHeaderWritesMarkerAndRecordCount) {
    ScratchDir dir;
    Bytes header(32, '\0');
    header[0] = 3;
    header.replace(4, 4, Bytes("\x09\x00\x07\x00", 4));  // stale count, upper half 7
    header.replace(8, 2, le16(32));                      // header length
    header.replace(10, 2, le16(4));                      // record length
    write_file("in", header + " ccc" + "*bbb" + " aaa" + "\x1a");
    const RunResult r = run("in", "out", "SORT(2,3,C,A) FILE(DB3) OMIT(1,1,C,EQ,\"*\")");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 2u);
    Bytes expected = header + " aaa" + " ccc" + "\x1a";
    expected.replace(4, 2, le16(2));
    EXPECT_EQ(read_file("out"), expected);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(FormatsFiles, BtIsRefused) {
    ScratchDir dir;
    write_file("in", "x\r\n");
    EXPECT_EQ(run("in", "out", "FILE(BT)").code, 10015);
    EXPECT_FALSE(file_exists("out"));
}

TEST(FormatsFiles, BypassDropsOrKeepsTheHeaderOfEveryFile) {
    ScratchDir dir;
    write_file("a", "HDR1b\r\na\r\n");
    write_file("b", "HDR2c\r\n");
    EXPECT_EQ(run("a b", "dropped", "SORT(1,1,C,A) BYPA(4,D)").code, 0);
    EXPECT_EQ(read_file("dropped"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(run("a b", "kept", "SORT(1,1,C,A) BYPA(4,R)").code, 0);
    EXPECT_EQ(read_file("kept"), "HDR1a\r\nb\r\nc\r\n");
    EXPECT_TRUE(engine_temp_files().empty());
    write_file("tiny", "HD");
    EXPECT_EQ(run("tiny", "short", "SORT(1,1,C,A) BYPA(4,R)").code, 217);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(FormatsFiles, AppendExtendsOverwritingTheTextMarker) {
    ScratchDir dir;
    write_file("in", "b\r\na\r\n");
    write_file("out", "old\r\n\x1a");
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) APPE").code, 0);
    EXPECT_EQ(read_file("out"), "old\r\na\r\nb\r\n");
    EXPECT_EQ(run("in", "fresh", "APPE").code, 0);
    EXPECT_EQ(read_file("fresh"), "b\r\na\r\n");
}

TEST(FormatsFiles, LimitAndOriginCountRecordsAcrossInputFiles) {
    ScratchDir dir;
    write_file("a", lines({"1", "2", "3"}));
    write_file("b", lines({"4", "5", "6"}));
    RunResult r = run("a,b", "limited", "LIMI(4)");
    EXPECT_EQ(r.count, 4u);
    EXPECT_EQ(read_file("limited"), lines({"1", "2", "3", "4"}));
    r = run("a+b", "origin", "ORIG(3) OUTREC(1,1,ARRN,CRLF)");
    EXPECT_EQ(read_file("origin"), lines({"30000003", "40000004", "50000005", "60000006"}));
    r = run("a b", "both", "ORIG(2) LAST(5) SORT(1,1,C,D)");
    EXPECT_EQ(read_file("both"), lines({"5", "4", "3", "2"}));
}

TEST(FormatsFiles, CopyAcrossManyBuffersKeepsOrderAndOpensOutputOnce) {
    ScratchDir dir;
    std::vector<std::string> items;
    for (int i = 0; i < 5000; ++i) items.push_back("line " + std::to_string(i));
    write_file("in", lines(items));
    const RunResult r = run("in", "out", "CORE(40) PAUS");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 5000u);
    EXPECT_EQ(read_file("out"), lines(items));
}

TEST(FormatsFiles, MissingInputFileGives214AndNoTemporaryFiles) {
    ScratchDir dir;
    write_file("a", lines({"x"}));
    EXPECT_EQ(run("a missing", "out", "SORT(1,1,C,A)").code, 214);
    EXPECT_TRUE(engine_temp_files().empty());
}

}  // namespace
