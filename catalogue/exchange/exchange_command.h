#pragma once
// The exchange commands of the reelbook program, run without any window:
//
//   reelbook --export FILE.csv [DIR]   every film of the catalogue in DIR to FILE.csv
//   reelbook --import FILE.csv [DIR]   the films of FILE.csv added to the catalogue in DIR
//
// DIR defaults to the folder reelbook would open: the user's catalogue
// folder ($XDG_DATA_HOME/reelbook, see app/catalogue_home.h), which import
// makes when it is missing. FILE "-" is standard output for --export and
// standard input for --import. Each prints one summary line (on standard
// error when the CSV itself goes to standard output) and exits 0; a failure
// prints why (every problem of a refused file, up to a limit) and exits 1;
// asking for both at once exits 2.
#include <iosfwd>
#include <optional>

#include "app/catalogue_home.h"
#include "app/command_line.h"

namespace reel::exchange {

// Adds --export FILE and --import FILE to the program's options (and so to
// its --help).
void addExchangeOptions(CommandLineParser& parser);

// Runs the exchange `command` asks for, or gives nothing when it asks for
// none (the program then starts its windows).
std::optional<int> runExchangeCommand(const CommandLine& command, const Environment& environment,
                                      std::istream& in, std::ostream& out, std::ostream& err);

// The same with the process's environment and standard streams; for main(),
// before any window system is touched.
std::optional<int> runExchangeCommand(const CommandLine& command);

}  // namespace reel::exchange
