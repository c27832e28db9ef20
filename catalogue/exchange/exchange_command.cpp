#include "exchange/exchange_command.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "exchange/catalogue_export.h"
#include "exchange/catalogue_import.h"

namespace reel::exchange {
namespace {

constexpr std::string_view Usage =
    "  reelbook --export FILE.csv [DIR]   write every film of the catalogue to FILE.csv\n"
    "                                     (\"-\" for standard output)\n"
    "  reelbook --import FILE.csv [DIR]   add the films of FILE.csv to the catalogue\n"
    "                                     (\"-\" for standard input)\n";

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

std::string_view exchangeUsage() {
    return Usage;
}

bool isExchangeOption(std::string_view option) {
    return option == "--export" || option == "--import";
}

std::optional<int> runExchangeCommand(const std::vector<std::string>& args,
                                      const std::string& defaultFolder, std::istream& in,
                                      std::ostream& out, std::ostream& err) {
    if (args.empty() || !isExchangeOption(args[0])) return std::nullopt;
    if (args.size() < 2 || args.size() > 3 || args[1].empty()) {
        err << "usage:\n" << Usage;
        return 2;
    }
    const std::string& folder = args.size() == 3 ? args[2] : defaultFolder;
    if (args[0] == "--export") return exportCommand(args[1], folder, out, err);
    return importCommand(args[1], folder, in, out, err);
}

std::optional<int> runExchangeCommand(int argc, char** argv, const std::string& defaultFolder) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return runExchangeCommand(args, defaultFolder, std::cin, std::cout, std::cerr);
}

}  // namespace reel::exchange
