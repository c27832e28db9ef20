#include "exchange/exchange_command.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "exchange/catalogue_export.h"
#include "exchange/catalogue_import.h"

namespace reel::exchange {
namespace {

constexpr std::string_view ExportOption = "--export";
constexpr std::string_view ImportOption = "--import";

constexpr std::string_view StandardStream = "-";

int exportCommand(const std::string& file, const std::string& folder, std::ostream& out,
                  std::ostream& err) {
    if (file == StandardStream) {
        const ExportText text = exportCatalogue(folder);
        if (!text.io) {
            err << "reelbook: " << text.io.message << "\n";
            return 1;
        }
        out << text.csv << std::flush;
        if (!out) {
            err << "reelbook: the export could not be written to standard output.\n";
            return 1;
        }
        err << "reelbook: " << exportSummary(text.films, "standard output") << "\n";
        return 0;
    }
    const ExportResult result = exportCatalogueTo(folder, file);
    if (!result.io) {
        err << "reelbook: " << result.io.message << "\n";
        return 1;
    }
    out << exportSummary(result.films, file) << "\n";
    return 0;
}

int importCommand(const std::string& file, const std::string& folder, std::istream& in,
                  std::ostream& out, std::ostream& err) {
    ImportOutcome outcome;
    if (file == StandardStream) {
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        outcome = importCatalogue(folder, bytes);
    } else {
        outcome = importCatalogueFrom(folder, file);
    }
    if (!outcome.ok) {
        const std::string name = file == StandardStream ? "standard input" : file;
        const std::size_t shown = std::min(outcome.problems.size(), ListedProblems);
        for (std::size_t i = 0; i < shown; ++i)
            err << name << ": " << outcome.problems[i].text() << "\n";
        if (outcome.problems.size() > shown)
            err << name << ": ... and " << outcome.problems.size() - shown << " more.\n";
        err << "reelbook: " << outcome.message << "\n";
        return 1;
    }
    out << outcome.message << "\n";
    return 0;
}

}  // namespace

void addExchangeOptions(CommandLineParser& parser) {
    parser.addOption({std::string(ExportOption), "FILE",
                      "write every film to the CSV file FILE (\"-\": standard output)"});
    parser.addOption({std::string(ImportOption), "FILE",
                      "add the films of the CSV file FILE (\"-\": standard input)"});
}

std::optional<int> runExchangeCommand(const CommandLine& command, const Environment& environment,
                                      std::istream& in, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> exportFile = command.value(ExportOption);
    const std::optional<std::string> importFile = command.value(ImportOption);
    if (!exportFile && !importFile) return std::nullopt;
    if (exportFile && importFile) {
        err << "reelbook: give either --export or --import, not both.\nTry 'reelbook --help'.\n";
        return 2;
    }
    std::string folder;
    if (command.folder()) {
        folder = *command.folder();
    } else {
        folder = userCatalogueFolder(environment);
        if (folder.empty()) {
            err << "reelbook: there is no home folder (HOME is not set) to find the catalogue "
                   "in; name the catalogue folder after the file.\n";
            return 1;
        }
        if (importFile) {
            if (const CatalogueFolder prepared = prepareCatalogueFolder(folder); !prepared.result) {
                err << "reelbook: " << prepared.result.message << "\n";
                return 1;
            }
        }
    }
    if (exportFile) return exportCommand(*exportFile, folder, out, err);
    return importCommand(*importFile, folder, in, out, err);
}

std::optional<int> runExchangeCommand(const CommandLine& command) {
    return runExchangeCommand(command, processEnvironment(), std::cin, std::cout, std::cerr);
}

}  // namespace reel::exchange
