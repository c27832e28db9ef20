#include "prefs/copy_messages.h"

#include <array>

namespace reel {
namespace {

constexpr std::array<const char*, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

constexpr const char* BlockBreak = "\n\r\n\r";

std::tm localTime(std::time_t when) {
    std::tm parts{};
    localtime_r(&when, &parts);
    return parts;
}

std::string modifiedLine(const FileDescription& file) {
    return file.shownName + " was created or last modified on " + longDate(file.facts.modified) +
           " at " + shortTime(file.facts.modified) + ". Its size is " +
           std::to_string(file.facts.size) + " bytes. ";
}

}  // namespace

std::string longDate(std::time_t when) {
    const std::tm t = localTime(when);
    return std::string(DayNames.at(static_cast<std::size_t>(t.tm_wday))) + ", " +
           MonthNames.at(static_cast<std::size_t>(t.tm_mon)) + " " + std::to_string(t.tm_mday) +
           ", " + std::to_string(t.tm_year + 1900);
}

std::string shortTime(std::time_t when) {
    const std::tm t = localTime(when);
    const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    const std::string minutes = (t.tm_min < 10 ? "0" : "") + std::to_string(t.tm_min);
    return std::to_string(hour) + ":" + minutes + (t.tm_hour < 12 ? " AM" : " PM");
}

std::string upperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string copyQuestion(std::string_view sourceName, std::string_view driveName) {
    return "Do you want to copy " + std::string(sourceName) + " to Drive " +
           std::string(driveName) + " hit Yes, or No ";
}

std::string replaceQuestion(std::string_view driveName, const FileDescription& target,
                            const FileDescription& source) {
    return "               REPLACE CURRENT FILE ON DRIVE \"" + std::string(driveName) + "\"" +
           BlockBreak + modifiedLine(target) + " To replace this file with the one below" + "," +
           " click \"Yes\" or quit click \"No\"." + BlockBreak +
           "    WITH CURRENT FILE ON \"HARD DISK\"" + BlockBreak + modifiedLine(source);
}

}  // namespace reel
