#pragma once
// Comma-separated values as RFC 4180 defines them: records end in a line
// break, values are separated by commas, and a value that holds a comma, a
// double quote or a line break is enclosed in double quotes, with each quote
// inside it doubled.
//
// The reader is strict where leniency would guess at the writer's intent: a
// quote inside an unquoted value, or text after a closing quote, is a
// problem, not a character. It accepts what spreadsheet programs write besides
// the letter of the RFC: line breaks as CR LF, LF or a lone CR, no line break
// after the last record, and empty lines (skipped). It works on bytes; the
// caller checks the encoding.
//
// Every record and every value carries the line it starts on (1-based), so a
// caller can name the line of a problem even after values that span lines.
#include <string>
#include <string_view>
#include <vector>

namespace reel::csv {

struct Value {
    std::string text;
    int line = 0;  // where the value starts
};

struct Row {
    int line = 0;  // where the record starts
    std::vector<Value> values;
};

struct SyntaxProblem {
    int line = 0;
    std::string message;
};

struct Document {
    std::vector<Row> rows;
    // Rows with a syntax problem are left out; reading goes on with the next
    // line, so every problem of the file is found in one pass. An unterminated
    // quote swallows the rest of the file and ends reading.
    std::vector<SyntaxProblem> problems;
};

Document read(std::string_view text);

// One record, CR LF included. Values are quoted when they hold a comma, a
// quote, CR or LF, or start or end with a blank (so no program trims them).
std::string formatRow(const std::vector<std::string>& values);

}  // namespace reel::csv
