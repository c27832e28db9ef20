// Texts of the copy window: dates, times and the two questions.
#include "prefs/copy_messages.h"

#include <gtest/gtest.h>

namespace reel {
namespace {

std::time_t localTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(CopyMessages, LongDateAndTwelveHourTime) {
    struct Case {
        int year, month, day, hour, minute;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {2024, 3, 5, 15, 7, "Tuesday, March 5, 2024", "3:07 PM"},
        {2024, 3, 5, 0, 5, "Tuesday, March 5, 2024", "12:05 AM"},
        {2023, 7, 16, 12, 0, "Sunday, July 16, 2023", "12:00 PM"},
        {2023, 7, 16, 11, 59, "Sunday, July 16, 2023", "11:59 AM"},
        {1999, 12, 31, 23, 59, "Friday, December 31, 1999", "11:59 PM"},
        {2000, 2, 29, 9, 30, "Tuesday, February 29, 2000", "9:30 AM"},
    };
    for (const Case& c : cases) {
        const std::time_t when = localTime(c.year, c.month, c.day, c.hour, c.minute);
        EXPECT_EQ(longDate(when), c.date);
        EXPECT_EQ(shortTime(when), c.time);
    }
}

TEST(CopyMessages, CopyQuestionNamesTheFileAndTheDrive) {
    EXPECT_EQ(copyQuestion("Tavlen.Dat", "STICK"),
              "Do you want to copy Tavlen.Dat to Drive STICK hit Yes, or No ");
}

TEST(CopyMessages, ReplaceQuestionShowsBothFilesInItsBlocks) {
    FileDescription target{"/media/ann/STICK/TAVLEN.DAT", {}};
    target.facts.modified = localTime(2024, 3, 5, 15, 7);
    target.facts.size = 1298;
    FileDescription source{"TAVLEN.DAT", {}};
    source.facts.modified = localTime(2024, 11, 1, 8, 45);
    source.facts.size = 64900;
    EXPECT_EQ(replaceQuestion("STICK", target, source),
              "               REPLACE CURRENT FILE ON DRIVE \"STICK\""
              "\n\r\n\r"
              "/media/ann/STICK/TAVLEN.DAT was created or last modified on Tuesday, March 5, "
              "2024 at 3:07 PM. Its size is 1298 bytes.  To replace this file with the one "
              "below, click \"Yes\" or quit click \"No\"."
              "\n\r\n\r"
              "    WITH CURRENT FILE ON \"HARD DISK\""
              "\n\r\n\r"
              "TAVLEN.DAT was created or last modified on Friday, November 1, 2024 at 8:45 AM. "
              "Its size is 64900 bytes. ");
}

TEST(CopyMessages, UpperCasingLeavesOtherBytesAlone) {
    EXPECT_EQ(upperCased("Tavlen.Dat"), "TAVLEN.DAT");
    EXPECT_EQ(upperCased("filmy-\xc5\xbe.dat"), "FILMY-\xc5\xbe.DAT");
}

}  // namespace
}  // namespace reel
