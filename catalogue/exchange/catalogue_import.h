#pragma once
// Import: films from a CSV file (see csv.h) added to the catalogue as new
// records, all of them or none.
//
// Reading the file (planImport) decides everything before anything is
// written:
//  - The file must be UTF-8; a byte-order mark at its start is skipped.
//  - The first line names the columns, in any order: the field names of
//    FilmRecord ("Title" ... "Ratings"), compared without regard to case or
//    surrounding blanks. A "Record" column is allowed and ignored (the films
//    take free record numbers). A field without a column is left blank.
//  - Each further line is one film. Trailing blanks of a value are dropped,
//    leading ones kept. A value is converted to the data files' code page; a
//    character the code page lacks is stored as "?" and counted.
//  - Format takes the words the record screen's list offers, "VHS", "Laser"
//    and "DVD", in any case, as their capital letter, and any value that fits
//    its one character as it is; Letter likewise takes "Wide Screen",
//    "Pan & Scan" and "TV 1.33:1".
//  - Refused, each reported with its line and column: a value longer than
//    its field, a line break inside a value (no field can hold one; the
//    master file is also read as lines), a film without a title, an unknown
//    or repeated column, a line with more or fewer values than the header,
//    a quote out of place, an unterminated quote, bytes that are not UTF-8.
//    A line whose values are all empty (what spreadsheets leave below a
//    table) is skipped.
//
// Writing (importCatalogue) honours the catalogue's lock, so a catalogue open
// in a reelbook window is refused. The films take record numbers as New does
// (the first record with a blank title, else after the last), one after the
// other. The new master file is built in memory, written beside "Tavlen.Dat"
// and renamed over it, so the catalogue holds all the films or none of them.
// Before that the four count files are set to " 0": the indexes no longer
// describe the master file, and every view and report then asks for "Sort All
// Files" instead of showing a stale index.
#include <string>
#include <string_view>
#include <vector>

#include "data/film_record.h"
#include "data/io_result.h"

namespace reel::exchange {

struct ImportProblem {
    int line = 0;
    std::string column;  // "" when the problem is not about one column
    std::string message;

    // "line 4, column Title: ..." or "line 2: ...".
    std::string text() const;
};

struct ImportPlan {
    std::vector<FilmRecord> films;
    int replacedCharacters = 0;  // characters stored as "?"
    std::vector<ImportProblem> problems;
};

ImportPlan planImport(std::string_view csvBytes);

struct ImportOutcome {
    bool ok = false;
    int added = 0;
    int replacedCharacters = 0;
    // Empty unless the file itself was refused.
    std::vector<ImportProblem> problems;
    // A one-line summary when ok; otherwise why nothing was imported (for
    // refused files, the count of problems; the problems themselves are above).
    std::string message;
};

// Plans the import of `csvBytes` and, when the file has no problem, writes
// its films into the catalogue in `directory`. `source` names the file in
// messages.
ImportOutcome importCatalogue(const std::string& directory, std::string_view csvBytes);

// Reads the file at `path` and imports it.
ImportOutcome importCatalogueFrom(const std::string& directory, const std::string& path);

// How many problems a report lists before it says only how many more there are.
inline constexpr std::size_t ListedProblems = 20;

// The problems for a person to read: at most `limit` of them, one per line,
// then how many more there are.
std::string listProblems(const std::vector<ImportProblem>& problems,
                         std::size_t limit = ListedProblems);

}  // namespace reel::exchange
