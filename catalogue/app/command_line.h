#pragma once
// CommandLine: what reelbook was asked to do by its arguments.
//
//   reelbook [OPTION...] [DIR]
//
// The parser knows --help and --version; other parts of the program add
// their own options with addOption() before parse(), and read them back
// from the result (value(), given()). It needs no display, so main() can
// answer --help, --version and usage errors before the toolkit starts.
//
// Rules:
//  - "--name VALUE" and "--name=VALUE" are the same; a flag takes no value.
//  - One operand at most: the catalogue folder. "--" ends the options, so a
//    folder whose name begins with "-" can still be given.
//  - Single-dash words ("-platform xcb", "-style fusion") belong to the
//    toolkit and are passed over, with the value the toolkit's known
//    value-taking options consume. "-h" and "-v" are the short forms of
//    --help and --version.
//  - An unknown option, a missing value, a value given to a flag, an option
//    given twice or a second operand is an error: error() says which, and
//    main() prints it with the usage.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reel {

struct CommandLineOption {
    std::string name;       // "--export"
    std::string valueName;  // "FILE"; empty for a flag
    std::string help;       // one line for --help
};

class CommandLine {
  public:
    bool help() const { return help_; }
    bool version() const { return version_; }
    // The catalogue folder given, if any.
    const std::optional<std::string>& folder() const { return folder_; }
    // Options added with addOption(): whether given, and the value given.
    bool given(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    // Non-empty when the arguments could not be understood.
    const std::string& error() const { return error_; }
    bool ok() const { return error_.empty(); }

  private:
    friend class CommandLineParser;
    bool help_ = false;
    bool version_ = false;
    std::optional<std::string> folder_;
    std::map<std::string, std::string, std::less<>> values_;
    std::string error_;
};

class CommandLineParser {
  public:
    CommandLineParser();

    // REQUIRES: option.name begins with "--" and is not yet known.
    void addOption(CommandLineOption option);

    // `args` are the arguments after the program name.
    CommandLine parse(const std::vector<std::string>& args) const;
    CommandLine parse(int argc, const char* const* argv) const;

    // The text of --help: synopsis, where the catalogue lives, every option.
    std::string usage() const;

  private:
    const CommandLineOption* find(std::string_view name) const;

    std::vector<CommandLineOption> options_;
};

// "reelbook 0.1.0": the first line of --version.
std::string versionText();

}  // namespace reel
