#pragma once
// The texts of the copy window's questions and messages.
//
// The replace question tells the user about both files before anything is
// overwritten: the file already on the volume first, then the one that would
// replace it, each with its last-modification date (long form, as "Tuesday,
// March 5, 2024"), time ("3:07 PM") and size in bytes. Its blocks are
// separated by a line feed and a carriage return, twice, as the message box
// has always shown them.
#include <ctime>
#include <string>
#include <string_view>

#include "prefs/file_copy.h"

namespace reel {

inline constexpr const char* NoDiskMessage =
    "There is no disk in floppy drive, or wrong drive was selected. Insert disk and click ok.";

// "Tuesday, March 5, 2024" in local time.
std::string longDate(std::time_t when);
// "3:07 PM" in local time: hours 1 to 12 without a leading zero.
std::string shortTime(std::time_t when);
// ASCII letters upper-cased; other bytes (UTF-8 sequences included) kept.
std::string upperCased(std::string_view text);

// "Do you want to copy NAME to Drive DRIVE hit Yes, or No ".
std::string copyQuestion(std::string_view sourceName, std::string_view driveName);

// What the replace question says about one file.
struct FileDescription {
    std::string shownName;  // as the question names it (upper-cased by the caller)
    FileFacts facts;
};
std::string replaceQuestion(std::string_view driveName, const FileDescription& target,
                            const FileDescription& source);

}  // namespace reel
