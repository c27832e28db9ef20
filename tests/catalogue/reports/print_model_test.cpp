// The character grid of the print devices, the print statement and the page
// estimates.
#include <gtest/gtest.h>

#include "data/index_file.h"
#include "reports/page_estimate.h"
#include "reports/print_statement.h"
#include "reports/recording_print_device.h"

namespace reel {
namespace {

TEST(PrintGrid, TabsNumbersAndAttributes) {
    RecordingPrintDevice d;
    printLine(d, {Tab(3), "abc", Tab(5), "x", Number(12), Number(-3)});
    d.setBold(true);
    printLine(d, {"é", Tab(4), "b"});
    d.setBold(false);
    d.setUnderline(true);
    printLine(d, {Tab(2), "u u"});
    d.setUnderline(false);
    printLine(d, {});
    printLine(d, {Tab(0), "z", Tab(2), "y"});
    ASSERT_TRUE(d.endDocument());
    ASSERT_EQ(d.pages().size(), 1u);
    const GridPage& p = d.pages()[0];
    // Tab(5) from column 6 continues in column 5 of the next line.
    EXPECT_EQ(p.texts(),
              (std::vector<std::string>{"  abc", "    x 12 -3 ", "é  b", " u u", "", "zy"}));
    EXPECT_EQ(p.lines[2].boldSpans(), (std::vector<std::pair<int, int>>{{1, 1}, {4, 4}}));
    EXPECT_EQ(p.lines[3].underlineSpans(), (std::vector<std::pair<int, int>>{{2, 4}}));
    EXPECT_TRUE(p.lines[1].boldSpans().empty());
}

TEST(PrintGrid, PageLengthStartsANewPageOnlyForPrintedLines) {
    RecordingPrintDevice d(3);
    d.advanceLines(3);
    d.print("fourth");
    d.newLine();
    d.advanceLines(5);  // moving over lines alone does not eject
    d.newPage();
    d.print("next");
    ASSERT_TRUE(d.endDocument());
    ASSERT_EQ(d.pages().size(), 3u);
    EXPECT_EQ(d.pages()[0].texts(), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(d.pages()[1].lines.at(0).text(), "fourth");
    EXPECT_EQ(d.pages()[2].lines.at(0).text(), "next");
}

TEST(PrintGrid, AbandonedOrFailedDocumentKeepsNothing) {
    RecordingPrintDevice d;
    d.print("x");
    d.newPage();
    d.abandon();
    EXPECT_TRUE(d.pages().empty());
    d.print("ignored");
    EXPECT_FALSE(d.ended());

    RecordingPrintDevice f;
    f.failAtNextPage("gone");
    f.print("x");
    EXPECT_FALSE(f.endDocument());
    EXPECT_EQ(f.error(), "gone");
    EXPECT_TRUE(f.failed());
}

TEST(PageEstimate, AbridgedAndFullList) {
    struct Case {
        const char* count;
        const char* expected;
    };
    const Case abridged[] = {{"0", "1 page to print."},       {"53", "1 page to print."},
                             {"54", "1.018 pages to print."}, {"120", "2.264 pages to print."},
                             {"106", "2 pages to print."},    {"1000", "18.86 pages to print."},
                             {"abc", "1 page to print."}};
    for (const Case& c : abridged) EXPECT_EQ(abridgedEstimate(c.count), c.expected) << c.count;
    EXPECT_EQ(fullListEstimate(5), "1 page to print.");
    EXPECT_EQ(fullListEstimate(8), "1 page to print.");
    EXPECT_EQ(fullListEstimate(9), "1.125 pages to print.");
    EXPECT_EQ(fullListEstimate(100), "12.5 pages to print.");
    EXPECT_EQ(generalNumber(2.0), "2");
}

TEST(IndexEntries, RecordNumberFromByte41) {
    std::string entry = std::string(40, 'T') + "0000012\r\n";
    EXPECT_EQ(parseRecordNumber(entry), 12);
    EXPECT_EQ(parseRecordNumber(std::string(40, ' ') + "  34x  \r\n"), 34);
    EXPECT_EQ(parseRecordNumber(std::string(40, ' ') + "abc\r\n"), 0);
    // Too large to be a record number: beyond any master file, never "no record".
    EXPECT_EQ(parseRecordNumber(std::string(40, ' ') + "99999999999"), 2147483647);
}

}  // namespace
}  // namespace reel
