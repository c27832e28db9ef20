// Import in two steps: planImport turns the CSV text into film records or a
// list of problems without touching a file; importCatalogue then writes the
// films into the catalogue in one step, or nothing at all.
#include "exchange/catalogue_import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "data/codepage.h"
#include "data/coded_words.h"
#include "data/count_files.h"
#include "data/master_file.h"
#include "data/text_file.h"
#include "exchange/catalogue_export.h"
#include "exchange/csv.h"
#include "exchange/file_bytes.h"
#include "exchange/master_image.h"

namespace reel::exchange {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Problems of one kind repeat on every line of a bad file (a Latin-1 export
// is invalid UTF-8 on every accented line); reading stops collecting them
// well beyond what anyone reads, so a huge bad file cannot exhaust memory.
constexpr std::size_t MaxCollectedProblems = 1000;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// One problem per line that holds bytes which are not UTF-8. Lines are
// counted as the CSV reader counts them (CR LF, LF or CR ends one).
void checkUtf8(std::string_view text, std::vector<ImportProblem>& problems) {
    int line = 1;
    int reported = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        if (c == '\r' || c == '\n') {
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            ++line;
            continue;
        }
        if (const std::size_t length = utf8SequenceLength(text, pos); length > 0) {
            pos += length;
            continue;
        }
        if (reported != line && problems.size() < MaxCollectedProblems) {
            problems.push_back({line, "",
                                "the file is not UTF-8 text; save it as \"CSV UTF-8\" "
                                "(comma-separated values in the UTF-8 encoding) and import "
                                "that"});
            reported = line;
        }
        ++pos;
    }
}

// Which field each column of the header fills; nothing for "Record".
using ColumnMap = std::vector<std::optional<Field>>;

std::optional<Field> fieldNamed(std::string_view name) {
    for (const FieldSpec& layout : fieldSpecs())
        if (equalIgnoringCase(name, layout.name)) return layout.field;
    return std::nullopt;
}

ColumnMap mapHeader(const csv::Row& header, std::vector<ImportProblem>& problems) {
    ColumnMap columns;
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < header.values.size(); ++i) {
        const csv::Value& value = header.values[i];
        const std::string_view name = trimBlanks(value.text);
        const std::optional<Field> field = fieldNamed(name);
        columns.push_back(field);
        if (name.empty()) {
            problems.push_back(
                {value.line, "", "column " + std::to_string(i + 1) + " of the header has no name"});
            continue;
        }
        if (!field && !equalIgnoringCase(name, RecordColumn)) {
            problems.push_back({value.line, std::string(name),
                                "unknown column; the columns are the field names Title, "
                                "Director, Star1 ... Ratings (and Record, which is ignored)"});
            continue;
        }
        const std::string_view canonical = field ? fieldSpec(*field).name : RecordColumn;
        if (std::find(seen.begin(), seen.end(), canonical) != seen.end()) {
            problems.push_back({value.line, std::string(canonical), "the column appears twice"});
        }
        seen.push_back(canonical);
    }
    if (std::find(columns.begin(), columns.end(), std::optional<Field>(Field::Title)) ==
        columns.end())
        problems.push_back({header.line, "Title", "the header has no Title column"});
    return columns;
}

int countOf(std::string_view text, char c) {
    return static_cast<int>(std::count(text.begin(), text.end(), c));
}

// What a value becomes in its field: the text to store (the field pads it),
// or why it cannot be stored.
struct Stored {
    std::string text;
    int replaced = 0;  // characters that become "?"
    std::string problem;
};

Stored storedValue(Field field, std::string_view value) {
    Stored stored;
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        stored.problem =
            "the value holds a line break, which no field can hold; put the text "
            "on one line";
        return stored;
    }
    for (const CodedWord& w : CodedWords) {
        if (w.field == field && equalIgnoringCase(value, w.word)) {
            stored.text = std::string(1, w.letter());
            return stored;
        }
    }
    stored.text = std::string(value);
    const std::string bytes = utf8ToCp1252(value);
    // The text is known to be UTF-8, so every "?" beyond those in the value
    // stands for a character the code page lacks.
    stored.replaced = countOf(bytes, '?') - countOf(value, '?');
    const FieldSpec& layout = fieldSpec(field);
    if (static_cast<int>(bytes.size()) > layout.width) {
        stored.problem = std::to_string(bytes.size()) + " characters, but " +
                         std::string(layout.name) + " holds at most " + std::to_string(layout.width);
    }
    return stored;
}

// "1 value", "2 values".
std::string counted(std::size_t n, std::string_view thing) {
    return std::to_string(n) + " " + std::string(thing) + (n == 1 ? "" : "s");
}

std::string problemCount(std::size_t n) {
    return counted(n, "problem");
}

bool allEmpty(const csv::Row& row) {
    return std::all_of(row.values.begin(), row.values.end(),
                       [](const csv::Value& v) { return trimBlanks(v.text).empty(); });
}

void planRow(const csv::Row& row, const ColumnMap& columns, ImportPlan& plan) {
    if (row.values.size() != columns.size()) {
        plan.problems.push_back({row.line, "",
                                 counted(row.values.size(), "value") + ", but the header names " +
                                     counted(columns.size(), "column")});
        return;
    }
    FilmRecord film;
    int replaced = 0;
    bool ok = true;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i]) continue;
        const Field field = *columns[i];
        const std::string_view text = withoutTrailingBlanks(row.values[i].text);
        const Stored stored = storedValue(field, text);
        if (!stored.problem.empty()) {
            plan.problems.push_back(
                {row.values[i].line, std::string(fieldSpec(field).name), stored.problem});
            ok = false;
            continue;
        }
        film.set(field, stored.text);
        replaced += stored.replaced;
    }
    if (ok && film.isFree()) {
        plan.problems.push_back({row.line, "Title", "a film needs a title"});
        ok = false;
    }
    if (!ok) return;
    plan.films.push_back(film);
    plan.replacedCharacters += replaced;
}

}  // namespace

std::string ImportProblem::text() const {
    std::string where = "line " + std::to_string(line);
    if (!column.empty()) where += ", column " + column;
    return where + ": " + message;
}

std::string listProblems(const std::vector<ImportProblem>& problems, std::size_t limit) {
    std::string list;
    const std::size_t shown = std::min(limit, problems.size());
    for (std::size_t i = 0; i < shown; ++i) list += problems[i].text() + "\n";
    if (problems.size() > shown) {
        list += "... and " + problemCount(problems.size() - shown) + " more.\n";
    }
    return list;
}

ImportPlan planImport(std::string_view csvBytes) {
    ImportPlan plan;
    if (csvBytes.starts_with(ByteOrderMark)) csvBytes.remove_prefix(ByteOrderMark.size());
    checkUtf8(csvBytes, plan.problems);
    if (!plan.problems.empty()) return plan;

    const csv::Document doc = csv::read(csvBytes);
    for (const csv::SyntaxProblem& p : doc.problems)
        plan.problems.push_back({p.line, "", p.message});
    // The header is the first record; a problem before it leaves the columns unknown.
    const bool brokenHeader =
        !doc.problems.empty() &&
        (doc.rows.empty() || doc.problems.front().line <= doc.rows.front().line);
    if (brokenHeader) return plan;
    if (doc.rows.empty()) {
        plan.problems.push_back({1, "", "the file is empty; its first line must name the columns"});
        return plan;
    }
    const ColumnMap columns = mapHeader(doc.rows.front(), plan.problems);
    for (std::size_t r = 1; r < doc.rows.size(); ++r) {
        if (plan.problems.size() >= MaxCollectedProblems) break;
        if (allEmpty(doc.rows[r])) continue;
        planRow(doc.rows[r], columns, plan);
    }
    std::stable_sort(
        plan.problems.begin(), plan.problems.end(),
        [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
    if (!plan.problems.empty()) {
        plan.films.clear();
        plan.replacedCharacters = 0;
    }
    return plan;
}

ImportOutcome importCatalogue(const std::string& directory, std::string_view csvBytes) {
    ImportOutcome outcome;
    ImportPlan plan = planImport(csvBytes);
    if (!plan.problems.empty()) {
        outcome.message =
            "Nothing was imported: the file has " + problemCount(plan.problems.size()) + ".";
        outcome.problems = std::move(plan.problems);
        return outcome;
    }

    // Holding the master file open takes the catalogue's lock: a window that
    // has the catalogue open makes this fail, and while the import runs no
    // window can open it.
    MasterFile lock(directory);
    if (IoResult opened = lock.open(); !opened) {
        outcome.message = "Nothing was imported. " + opened.message;
        return outcome;
    }
    const std::string path = lock.path();
    std::string image;
    if (IoResult read = readFileBytes(path, image); !read) {
        outcome.message = "Nothing was imported. " + read.message;
        return outcome;
    }
    if (!plan.films.empty()) {
        // The counts go first: should the master file then fail to be
        // replaced, the indexes are merely marked for sorting again.
        for (const std::string_view count :
             {TitleCountFile, DvdCountFile, LaserCountFile, VhsCountFile}) {
            if (IoResult written = writeCountFile(directory, count, 0); !written) {
                outcome.message = "Nothing was imported. " + written.message;
                return outcome;
            }
        }
        if (IoResult written = replaceFileSafely(path, withNewFilms(std::move(image), plan.films));
            !written) {
            outcome.message = "Nothing was imported. " + written.message;
            return outcome;
        }
    }
    outcome.ok = true;
    outcome.added = static_cast<int>(plan.films.size());
    outcome.replacedCharacters = plan.replacedCharacters;
    outcome.message = filmCount(outcome.added) + " added to " + path + ".";
    if (outcome.replacedCharacters > 0) {
        outcome.message += " " + std::to_string(outcome.replacedCharacters) +
                           (outcome.replacedCharacters == 1 ? " character" : " characters") +
                           " the catalogue cannot hold stored as \"?\".";
    }
    if (outcome.added > 0) outcome.message += " Sort All Files to bring the indexes up to date.";
    return outcome;
}

ImportOutcome importCatalogueFrom(const std::string& directory, const std::string& path) {
    std::string bytes;
    if (IoResult read = readFileBytes(path, bytes); !read) {
        ImportOutcome outcome;
        outcome.message = "Nothing was imported. " + read.message;
        return outcome;
    }
    return importCatalogue(directory, bytes);
}

}  // namespace reel::exchange
