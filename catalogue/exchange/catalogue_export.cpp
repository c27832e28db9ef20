#include "exchange/catalogue_export.h"

#include <sys/stat.h>

#include <algorithm>

#include "data/codepage.h"
#include "data/film_record.h"
#include "data/master_file.h"
#include "data/text_file.h"
#include "exchange/csv.h"
#include "exchange/file_bytes.h"

namespace reel::exchange {
namespace {

// Record n of the image, completed with blanks when the file ends inside it
// (as the record screen reads a partial last record).
FilmRecord recordAt(std::string_view image, std::int32_t n) {
    std::string bytes = FilmRecord().bytes();
    const std::size_t offset = static_cast<std::size_t>(n - 1) * FilmRecord::Size;
    const std::string_view part = image.substr(std::min(offset, image.size()), FilmRecord::Size);
    bytes.replace(0, part.size(), part);
    return FilmRecord::fromBytes(bytes);
}

std::string withoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

std::vector<std::string> columnNames() {
    std::vector<std::string> names;
    for (const FieldSpec& layout : fieldSpecs()) names.emplace_back(layout.name);
    names.emplace_back(RecordColumn);
    return names;
}

std::string filmCount(int films) {
    return std::to_string(films) + (films == 1 ? " film" : " films");
}

std::string exportSummary(int films, std::string_view destination) {
    return filmCount(films) + " written to " + std::string(destination) + ".";
}

ExportText exportCatalogue(const std::string& directory) {
    ExportText result;
    const std::string path = joinPath(directory, MasterFile::FileName);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        result.io = IoResult::failure("There is no catalogue in \"" + directory +
                                      "\": the file \"" + path + "\" does not exist.");
        return result;
    }
    std::string image;
    if (result.io = readFileBytes(path, image); !result.io) return result;

    result.csv = csv::formatRow(columnNames());
    const std::int32_t count = recordCountForLength(static_cast<std::int64_t>(image.size()));
    std::vector<std::string> values;
    for (std::int32_t n = 1; n <= count; ++n) {
        const FilmRecord film = recordAt(image, n);
        if (film.isFree()) continue;
        values.clear();
        for (const FieldSpec& layout : fieldSpecs())
            values.push_back(withoutTrailingBlanks(film.field(layout.field)));
        values.push_back(std::to_string(n));
        result.csv += csv::formatRow(values);
        ++result.films;
    }
    return result;
}

ExportResult exportCatalogueTo(const std::string& directory, const std::string& path) {
    ExportText text = exportCatalogue(directory);
    if (!text.io) return {text.io, 0};
    if (IoResult written = replaceFileSafely(path, text.csv); !written) return {written, 0};
    return {IoResult::success(), text.films};
}

}  // namespace reel::exchange
