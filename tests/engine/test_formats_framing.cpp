// Framing of single records per file type.
#include <gtest/gtest.h>

#include <string>

#include "record_framing.h"

namespace {

using sorvel::FrameKind;
using sorvel::FramingRules;

struct Case {
    const char* name;
    FramingRules rules;
    std::string bytes;
    bool file_ended;
    FrameKind kind;
    std::size_t length;
};

FramingRules rules_of(std::uint8_t type, std::uint32_t length = 0, std::uint8_t prefix = 1) {
    FramingRules r;
    r.file_type = type;
    r.record_length = length;
    r.prefix_size = prefix;
    return r;
}

const std::uint8_t kDelimiter[] = {';', '\n'};
const std::uint8_t kEnd[] = {'#', '#'};

FramingRules gp(bool with_delimiter, bool with_end) {
    FramingRules r = rules_of(sorvel::kFileGP);
    if (with_delimiter) {
        r.delimiter = kDelimiter;
        r.delimiter_length = 2;
    }
    if (with_end) {
        r.end_sequence = kEnd;
        r.end_sequence_length = 2;
    }
    return r;
}

TEST(FormatsFraming, EachFileTypeFindsItsRecordEnd) {
    using std::string;
    const Case cases[] = {
        {"FIX whole", rules_of(sorvel::kFileFIX, 3), "abcdef", false, FrameKind::kRecord, 3},
        {"FIX partial", rules_of(sorvel::kFileFIX, 3), "ab", true, FrameKind::kIncomplete, 0},
        {"FIX length 0 frames nothing", rules_of(sorvel::kFileFIX, 0), "ab", false,
         FrameKind::kIncomplete, 0},
        {"FE marker", rules_of(sorvel::kFileFE, 3),
         "\x1a"
         "bc",
         false, FrameKind::kEndMarker, 0},
        {"FE short marker is a partial record", rules_of(sorvel::kFileFE, 3), "\x1a", true,
         FrameKind::kIncomplete, 0},
        {"TXT line", rules_of(sorvel::kFileTXT), "ab\r\ncd", false, FrameKind::kRecord, 4},
        {"TXT lone LF is no end", rules_of(sorvel::kFileTXT), "a\nb\r\n", false, FrameKind::kRecord,
         5},
        {"TXT CR at the end waits", rules_of(sorvel::kFileTXT), "ab\r", false,
         FrameKind::kIncomplete, 0},
        {"TXT marker mid-line", rules_of(sorvel::kFileTXT), "ab\x1a\r\n", false,
         FrameKind::kEndMarker, 0},
        {"VS", rules_of(sorvel::kFileVS), string("\x03\x00xyzq", 6), false, FrameKind::kRecord, 5},
        {"VS short", rules_of(sorvel::kFileVS), string("\x05\x00xy", 4), true,
         FrameKind::kIncomplete, 0},
        {"RV prefix 1", rules_of(sorvel::kFileRV, 0, 1),
         "\x02"
         "ab\x02",
         false, FrameKind::kRecord, 4},
        {"RV prefix 2", rules_of(sorvel::kFileRV, 0, 2),
         string("\x01\x00"
                "a\x01\x00",
                5),
         false, FrameKind::kRecord, 5},
        {"CVS prefix 2 rounds up", rules_of(sorvel::kFileCVS, 0, 2),
         string("\x00\x03"
                "abc"
                "\x00\x00\x00",
                8),
         false, FrameKind::kRecord, 8},
        {"CVS prefix 4", rules_of(sorvel::kFileCVS, 0, 4),
         string("\x00\x00\x00\x04"
                "abcd",
                8),
         false, FrameKind::kRecord, 8},
        {"CVS padding ends the file", rules_of(sorvel::kFileCVS, 0, 2), string(8, '\0'), false,
         FrameKind::kEndMarker, 0},
        {"PRE", rules_of(sorvel::kFilePRE, 2), "abc", false, FrameKind::kRecord, 2},
        {"DB3 marker", rules_of(sorvel::kFileDB3, 2), "\x1a\x1a", false, FrameKind::kEndMarker, 0},
        {"GP delimiter", gp(true, true), "ab;\ncd", false, FrameKind::kRecord, 4},
        {"GP end sequence", gp(true, true), "##ab;\n", false, FrameKind::kEndMarker, 0},
        {"GP end before delimiter", gp(true, true), "ab##;\n", false, FrameKind::kEndMarker, 0},
        {"GP no delimiter yet", gp(true, false), "abc", false, FrameKind::kIncomplete, 0},
        {"GP without delimiter: whole file", gp(false, false), "abc;\n", true, FrameKind::kRecord,
         5},
        {"GP without delimiter waits for the end", gp(false, false), "abc", false,
         FrameKind::kIncomplete, 0},
        {"GP without delimiter up to the end sequence", gp(false, true), "abc##x", false,
         FrameKind::kRecord, 3},
    };
    for (const Case& c : cases) {
        const auto result =
            sorvel::frame_record(c.rules, reinterpret_cast<const std::uint8_t*>(c.bytes.data()),
                                 c.bytes.size(), c.file_ended);
        EXPECT_EQ(result.kind, c.kind) << c.name;
        if (c.kind == FrameKind::kRecord) {
            EXPECT_EQ(result.length, c.length) << c.name;
        }
    }
}

}  // namespace
