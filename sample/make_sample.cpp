// Builds the sample catalogue folder from its text source:
//   reelbook-make-sample films.txt OUTPUT_DIR
// OUTPUT_DIR receives the master file, the collating table, the four count
// files and the four colour files with their default colours. The indexes are
// not built here, so every count file says 0 until the user sorts the files.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "data/collating_table.h"
#include "data/colour_files.h"
#include "data/count_files.h"
#include "data/master_file.h"
#include "data/text_file.h"
#include "sample_source.h"

namespace {

bool report(const reel::IoResult& result) {
    if (!result) std::cerr << "reelbook-make-sample: " << result.message << '\n';
    return result.ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: reelbook-make-sample SOURCE OUTPUT_DIR\n";
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string outputDir = argv[2];

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::cerr << "reelbook-make-sample: cannot read " << sourcePath << '\n';
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const reel::sample::ParseResult parsed = reel::sample::parseSampleSource(text);
    for (const std::string& error : parsed.errors) std::cerr << sourcePath << ": " << error << '\n';
    if (!parsed.errors.empty()) return 1;

    std::error_code ec;
    std::filesystem::create_directories(outputDir, ec);
    if (ec) {
        std::cerr << "reelbook-make-sample: cannot create " << outputDir << ": " << ec.message()
                  << '\n';
        return 1;
    }

    std::string master;
    for (const reel::FilmRecord& film : parsed.films) master += film.bytes();

    using namespace reel;
    bool ok =
        report(replaceFile(joinPath(outputDir, MasterFile::FileName), master)) &&
        report(replaceFile(joinPath(outputDir, CollatingTableFileName), caseBlindCollatingTable()));
    for (const auto name : {TitleCountFile, DvdCountFile, LaserCountFile, VhsCountFile}) {
        ok = ok && report(writeCountFile(outputDir, name, 0));
    }
    const std::pair<std::string_view, ColourValue> colours[] = {
        {BackgroundColourFile, DefaultBackground},
        {TextBoxBackColourFile, DefaultTextBoxBack},
        {TextColourFile, DefaultText},
        {LabelColourFile, DefaultLabel}};
    for (const auto& [name, value] : colours)
        ok = ok && report(writeColourFile(outputDir, name, value));
    return ok ? 0 : 1;
}
