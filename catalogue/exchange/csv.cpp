// A single pass over the bytes. A record starts at the beginning of a line;
// each value is either quoted (read up to the closing quote, taking "" as one
// quote and line breaks as they are) or plain (read up to a comma or a line
// break). After a value comes a comma (another value follows), a line break or
// the end of the text (the record ends).
#include "exchange/csv.h"

namespace reel::csv {
namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    Document run() {
        while (!atEnd()) {
            if (isBreak(peek())) {  // an empty line holds no record
                skipBreak();
                continue;
            }
            Row row;
            row.line = line_;
            if (readRecord(row)) doc_.rows.push_back(std::move(row));
            if (unterminated_) break;
        }
        return std::move(doc_);
    }

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    // Consumes one line break (CR LF, LF or CR) at pos_.
    void skipBreak() {
        if (peek() == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    // Reads one record up to and including its line break. False when the
    // record has a problem (already reported).
    bool readRecord(Row& row) {
        for (;;) {
            Value value;
            value.line = line_;
            const bool ok = !atEnd() && peek() == '"' ? readQuoted(value) : readPlain(value);
            if (!ok) {
                if (!unterminated_) skipRestOfLine();
                return false;
            }
            row.values.push_back(std::move(value));
            if (!atEnd() && peek() == ',') {
                ++pos_;
                continue;
            }
            if (!atEnd()) skipBreak();
            return true;
        }
    }

    bool readPlain(Value& value) {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != ',' && !isBreak(peek())) {
            if (peek() == '"') {
                return problem(line_,
                               "a double quote inside a value that does not start with one; "
                               "enclose the value in double quotes and double the quote inside");
            }
            ++pos_;
        }
        value.text.assign(text_.substr(start, pos_ - start));
        return true;
    }

    bool readQuoted(Value& value) {
        const int opened = line_;
        ++pos_;  // the opening quote
        for (;;) {
            if (atEnd()) {
                unterminated_ = true;
                return problem(opened,
                               "a quoted value is never closed (the double quote that "
                               "opens it has no closing quote)");
            }
            const char c = peek();
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    value.text += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (isBreak(c)) {
                const std::size_t start = pos_;
                skipBreak();
                value.text.append(text_.substr(start, pos_ - start));
                continue;
            }
            value.text += c;
            ++pos_;
        }
        if (!atEnd() && peek() != ',' && !isBreak(peek())) {
            return problem(line_, "text after the closing double quote of a value");
        }
        return true;
    }

    void skipRestOfLine() {
        while (!atEnd() && !isBreak(peek())) ++pos_;
        if (!atEnd()) skipBreak();
    }

    bool problem(int line, std::string message) {
        doc_.problems.push_back({line, std::move(message)});
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool unterminated_ = false;
    Document doc_;
};

bool needsQuotes(const std::string& value) {
    if (value.find_first_of(",\"\r\n") != std::string::npos) return true;
    return !value.empty() && (value.front() == ' ' || value.back() == ' ');
}

}  // namespace

Document read(std::string_view text) {
    return Reader(text).run();
}

std::string formatRow(const std::vector<std::string>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& value = values[i];
        if (!needsQuotes(value)) {
            line += value;
            continue;
        }
        line += '"';
        for (const char c : value) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

}  // namespace reel::csv
