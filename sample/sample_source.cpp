#include "sample_source.h"

#include <algorithm>
#include <array>
#include <optional>

#include "data/codepage.h"

namespace reel::sample {
namespace {

constexpr std::array<std::string_view, 20> GenreCodes = {"AA", "AD", "AN", "CH", "CL", "CO", "DO",
                                                         "DR", "FA", "FO", "FM", "HO", "IN", "MU",
                                                         "MS", "MY", "NA", "SF", "SI", "WE"};
constexpr std::array<std::string_view, 13> RatingCodes = {
    "G",     "PG",   "PG-13", "R",     "NC-17", "XXX", "TV-Y",
    "TV-Y7", "TV-G", "TV-PG", "TV-14", "TV-MA", "NR"};
constexpr std::array<std::string_view, 3> FormatWords = {"DVD", "Laser", "VHS"};
constexpr std::array<std::string_view, 3> AspectWords = {"Wide Screen", "Pan & Scan", "TV 1.33:1"};
constexpr std::array<std::string_view, 2> DiscModes = {"CLV", "CAV"};
constexpr std::array<std::string_view, 2> ColourWords = {"Color", "B & W"};
constexpr int MaxStars = 6;

template <std::size_t N>
bool isOneOf(std::string_view value, const std::array<std::string_view, N>& choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<Field> fieldNamed(std::string_view name) {
    for (const FieldSpec& s : fieldSpecs()) {
        if (s.name == name) return s.field;
    }
    return std::nullopt;
}

// Why `value` cannot go into `field`, or "" when it can.
std::string problemWith(Field field, std::string_view value) {
    const std::string stored = utf8ToCp1252(value);
    if (stored.find('?') != std::string::npos && value.find('?') == std::string_view::npos) {
        return "\"" + std::string(value) + "\" has characters the data files cannot hold";
    }
    const FieldSpec& s = fieldSpec(field);
    if (static_cast<int>(stored.size()) > s.width) {
        return std::string(s.name) + " holds " + std::to_string(s.width) + " characters, \"" +
               std::string(value) + "\" has " + std::to_string(stored.size());
    }
    const bool allowed = [&] {
        switch (field) {
            case Field::Genre:
                return isOneOf(value, GenreCodes);
            case Field::Rating:
                return isOneOf(value, RatingCodes);
            case Field::CLV:
                return isOneOf(value, DiscModes);
            case Field::Color:
                return isOneOf(value, ColourWords);
            default:
                return true;
        }
    }();
    return allowed ? ""
                   : "\"" + std::string(value) + "\" is not a value the " + std::string(s.name) +
                         " picker offers";
}

class BlockReader {
  public:
    explicit BlockReader(ParseResult& result) : result_(result) {}

    void line(int number, std::string_view text) {
        const auto colon = text.find(':');
        if (colon == std::string_view::npos) return error(number, "expected \"Field: value\"");
        const std::string_view name = trim(text.substr(0, colon));
        const std::string_view value = trim(text.substr(colon + 1));
        if (!open_) start(number);
        if (name == "Stars") return stars(number, value);
        if (name == "Format") return word(number, Field::Format, value, FormatWords);
        if (name == "Letter") return word(number, Field::Letter, value, AspectWords);
        const std::optional<Field> field = fieldNamed(name);
        if (!field || name.starts_with("Star")) {
            return error(number, "unknown field \"" + std::string(name) + "\"");
        }
        set(number, *field, value);
    }

    void end() {
        if (!open_) return;
        open_ = false;
        if (record_.isFree()) return error(firstLine_, "a film needs a title");
        if (record_.value(Field::Format).empty()) return error(firstLine_, "a film needs a format");
        result_.films.push_back(record_);
    }

  private:
    void start(int number) {
        open_ = true;
        firstLine_ = number;
        record_ = FilmRecord();
    }

    void set(int number, Field field, std::string_view value) {
        if (const std::string problem = problemWith(field, value); !problem.empty()) {
            return error(number, problem);
        }
        record_.set(field, value);
    }

    // Words the pickers offer are stored by their first letter.
    template <std::size_t N>
    void word(int number, Field field, std::string_view value,
              const std::array<std::string_view, N>& words) {
        if (!isOneOf(value, words)) {
            return error(number, "\"" + std::string(value) + "\" is not one of the " +
                                     std::string(fieldSpec(field).name) + " words");
        }
        record_.set(field, value.substr(0, 1));
    }

    void stars(int number, std::string_view list) {
        int index = 0;
        while (!list.empty()) {
            const auto semicolon = list.find(';');
            const std::string_view name = trim(list.substr(0, semicolon));
            list = semicolon == std::string_view::npos ? "" : list.substr(semicolon + 1);
            if (name.empty()) continue;
            if (index == MaxStars) return error(number, "more than six stars");
            set(number, static_cast<Field>(static_cast<int>(Field::Star1) + index++), name);
        }
    }

    void error(int number, const std::string& message) {
        result_.errors.push_back("line " + std::to_string(number) + ": " + message);
    }

    ParseResult& result_;
    FilmRecord record_;
    bool open_ = false;
    int firstLine_ = 0;
};

}  // namespace

ParseResult parseSampleSource(std::string_view text) {
    ParseResult result;
    BlockReader block(result);
    int number = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? "" : text.substr(newline + 1);
        ++number;
        if (trim(line).empty()) {
            block.end();
        } else if (!line.starts_with('#')) {
            block.line(number, line);
        }
    }
    block.end();
    return result;
}

}  // namespace reel::sample
