#pragma once
// The exchange commands of the reelbook program, run without any window:
//
//   reelbook --export FILE.csv [DIR]   every film of the catalogue in DIR to FILE.csv
//   reelbook --import FILE.csv [DIR]   the films of FILE.csv added to the catalogue in DIR
//
// DIR defaults to the folder reelbook would open. FILE "-" is standard output
// for --export and standard input for --import. Each prints one summary line
// (on standard error when the CSV itself goes to standard output) and exits
// 0; a failure prints why (every problem of a refused file, up to a limit)
// and exits 1; wrong arguments print the usage and exit 2.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reel::exchange {

// The lines `reelbook --help` shows for the two commands.
std::string_view exchangeUsage();

// Whether `option` is one of the two commands ("--export", "--import").
bool isExchangeOption(std::string_view option);

// Runs the command in `args` (the arguments after the program name), or
// gives nothing when args[0] is not an exchange option.
std::optional<int> runExchangeCommand(const std::vector<std::string>& args,
                                      const std::string& defaultFolder, std::istream& in,
                                      std::ostream& out, std::ostream& err);

// The same on the process's own arguments and standard streams; for main(),
// before any window system is touched.
std::optional<int> runExchangeCommand(int argc, char** argv, const std::string& defaultFolder);

}  // namespace reel::exchange
