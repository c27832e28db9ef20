#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cassert>

#ifndef REELBOOK_VERSION
#define REELBOOK_VERSION "unknown"
#endif

namespace reel {

namespace {

// The toolkit's own options that take the next word as their value.
constexpr std::array<std::string_view, 15> ToolkitValueOptions = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-geometry", "-qwindowtitle",       "-title",         "-qwindowicon", "-icon",
    "-display",  "-style",              "-stylesheet",    "-session",  "-name"};

bool isToolkitValueOption(std::string_view word) {
    return std::find(ToolkitValueOptions.begin(), ToolkitValueOptions.end(), word) !=
           ToolkitValueOptions.end();
}

}  // namespace

bool CommandLine::given(std::string_view name) const {
    return values_.find(name) != values_.end();
}

std::optional<std::string> CommandLine::value(std::string_view name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

CommandLineParser::CommandLineParser() {
    options_.push_back({"--help", "", "show this help and exit"});
    options_.push_back({"--version", "", "show the version and exit"});
}

void CommandLineParser::addOption(CommandLineOption option) {
    assert(option.name.rfind("--", 0) == 0 && !find(option.name));
    options_.push_back(std::move(option));
}

const CommandLineOption* CommandLineParser::find(std::string_view name) const {
    for (const CommandLineOption& option : options_)
        if (option.name == name) return &option;
    return nullptr;
}

CommandLine CommandLineParser::parse(int argc, const char* const* argv) const {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return parse(args);
}

CommandLine CommandLineParser::parse(const std::vector<std::string>& args) const {
    CommandLine result;
    auto failWith = [&result](std::string message) {
        if (result.error_.empty()) result.error_ = std::move(message);
    };
    auto operand = [&](const std::string& word) {
        if (result.folder_) {
            failWith("only one catalogue folder may be given (\"" + *result.folder_ + "\" and \"" +
                     word + "\")");
        } else {
            result.folder_ = word;
        }
    };

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && result.ok(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.empty() || word == "-" || word[0] != '-') {
            operand(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "-h") {
            result.help_ = true;
            continue;
        }
        if (word == "-v") {
            result.version_ = true;
            continue;
        }
        if (word[1] != '-') {
            // The toolkit's option; skip its value too when it takes one.
            if (isToolkitValueOption(word) && i + 1 < args.size()) ++i;
            continue;
        }

        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const CommandLineOption* option = find(name);
        if (!option) {
            failWith("unknown option " + name);
            break;
        }
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) failWith(name + " takes no value");
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            failWith(name + " needs a value (" + option->valueName + ")");
        }
        if (!result.ok()) break;

        if (name == "--help") {
            result.help_ = true;
        } else if (name == "--version") {
            result.version_ = true;
        } else if (!result.values_.emplace(name, std::move(value)).second) {
            failWith(name + " was given twice");
        }
    }
    return result;
}

std::string CommandLineParser::usage() const {
    std::string text =
        "Usage: reelbook [OPTION...] [DIR]\n"
        "The film catalogue.\n"
        "\n"
        "DIR is the folder that holds the catalogue's files; \"reelbook .\" uses the\n"
        "current folder. Without DIR the catalogue lives in $XDG_DATA_HOME/reelbook\n"
        "(~/.local/share/reelbook when XDG_DATA_HOME is not set), made on first start.\n"
        "\n"
        "Options:\n";
    std::size_t width = 0;
    for (const CommandLineOption& option : options_) {
        const std::size_t w =
            option.name.size() + (option.valueName.empty() ? 0 : option.valueName.size() + 1);
        width = std::max(width, w);
    }
    for (const CommandLineOption& option : options_) {
        std::string left = option.name;
        if (!option.valueName.empty()) left += " " + option.valueName;
        text += "  " + left + std::string(width - left.size() + 2, ' ') + option.help + "\n";
    }
    return text;
}

std::string versionText() {
    return std::string("reelbook ") + REELBOOK_VERSION;
}

}  // namespace reel
