// The CSV reader and writer on their own: what spreadsheets write, what they
// get back, and the malformed input the reader must refuse with its line.
#include "exchange/csv.h"

#include <gtest/gtest.h>

namespace reel::csv {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows texts(const Document& doc) {
    Rows rows;
    for (const Row& row : doc.rows) {
        rows.emplace_back();
        for (const Value& v : row.values) rows.back().push_back(v.text);
    }
    return rows;
}

TEST(CsvRead, ReadsWhatSpreadsheetsWrite) {
    struct Case {
        const char* name;
        std::string_view text;
        Rows rows;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"plain, CR LF", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"LF and no final break", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"lone CR", "a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        {"empty values", ",x,\r\n", {{"", "x", ""}}, {1}},
        {"quoted comma and doubled quote",
         "\"a,b\",\"say \"\"hi\"\"\"\r\n",
         {{"a,b", "say \"hi\""}},
         {1}},
        {"line break kept inside quotes; next record's line counts it",
         "\"one\r\ntwo\",x\r\nnext\r\n",
         {{"one\r\ntwo", "x"}, {"next"}},
         {1, 3}},
        {"empty lines skipped", "a\r\n\r\n\nb\r\n", {{"a"}, {"b"}}, {1, 4}},
        {"blanks are part of a value", " a , b \r\n", {{" a ", " b "}}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Document doc = read(c.text);
        EXPECT_TRUE(doc.problems.empty());
        EXPECT_EQ(texts(doc), c.rows);
        std::vector<int> lines;
        for (const Row& row : doc.rows) lines.push_back(row.line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CsvRead, RefusesMisplacedQuotesNamingTheLineAndReadsOn) {
    struct Case {
        const char* name;
        std::string_view text;
        std::vector<int> problemLines;
        Rows rows;  // what is still read
    };
    const Case cases[] = {
        {"quote inside a plain value", "ok\r\n12\" LP,x\r\nafter\r\n", {2}, {{"ok"}, {"after"}}},
        {"text after the closing quote", "\"a\"b,c\r\nafter\r\n", {1}, {{"after"}}},
        {"unterminated quote swallows the rest", "ok\r\nx,\"open\r\nmore\r\n", {2}, {{"ok"}}},
        {"two bad lines, both reported", "a\"\r\nb\"\r\nc\r\n", {1, 2}, {{"c"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Document doc = read(c.text);
        std::vector<int> lines;
        for (const SyntaxProblem& p : doc.problems) lines.push_back(p.line);
        EXPECT_EQ(lines, c.problemLines);
        EXPECT_EQ(texts(doc), c.rows);
    }
}

TEST(CsvWrite, QuotesOnlyWhatNeedsItAndReadsBackTheSame) {
    const std::vector<std::string> values = {"plain",        "",      "a,b",    "say \"hi\"",
                                             "two\r\nlines", " lead", "trail ", "Am\xC3\xA9lie"};
    const std::string line = formatRow(values);
    EXPECT_EQ(line,
              "plain,,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\" lead\",\"trail \","
              "Am\xC3\xA9lie\r\n");
    const Document doc = read(line);
    ASSERT_EQ(doc.rows.size(), 1u);
    EXPECT_EQ(texts(doc).front(), values);
}

}  // namespace
}  // namespace reel::csv
