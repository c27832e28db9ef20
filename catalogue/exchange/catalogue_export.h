#pragma once
// Export: the catalogue's films as CSV (see csv.h), for spreadsheets and other
// catalogue programs.
//
// The file is UTF-8 without a byte-order mark, comma-separated, CR LF after
// every line. The header names the 32 fields in record order with the names
// FilmRecord uses ("Title", "Director", ... "Ratings"), then "Record". Each
// occupied record (a title that is not all blanks) gives one line in record
// order: its fields as stored with the trailing blanks removed (leading blanks
// are kept, so a film imported back is stored byte for byte as it was), then
// its record number. Free records are left out.
//
// Export only reads the master file and takes no lock, so it works while the
// catalogue is open in a window.
#include <string>
#include <string_view>
#include <vector>

#include "data/io_result.h"

namespace reel::exchange {

inline constexpr std::string_view RecordColumn = "Record";

// The header's names: the 32 field names in record order, then "Record".
std::vector<std::string> columnNames();

struct ExportText {
    IoResult io;      // a failure names the file and the reason
    std::string csv;  // the whole file
    int films = 0;    // lines after the header
};

// Reads "Tavlen.Dat" in `directory`; a missing file is a failure, never created.
ExportText exportCatalogue(const std::string& directory);

// Writes the export to `path` (replacing it whole) and gives the number of films.
struct ExportResult {
    IoResult io;
    int films = 0;
};
ExportResult exportCatalogueTo(const std::string& directory, const std::string& path);

// "42 films written to films.csv." ("1 film ...").
std::string exportSummary(int films, std::string_view destination);

// "1 film", "2 films".
std::string filmCount(int films);

}  // namespace reel::exchange
