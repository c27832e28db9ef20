#include "indexes/engine_codes.h"

#include <string_view>

namespace reel {

namespace {

struct CodeMeaning {
    std::int32_t code;
    std::string_view text;
};

constexpr CodeMeaning Meanings[] = {
    {0, "success"},
    {1, "no more records"},
    {201, "unknown statement name"},
    {202, "a field position is missing, zero or not a number"},
    {203, "a field length is missing or zero"},
    {204, "data type missing or unknown"},
    {205, "comparison operator missing or unknown"},
    {206, "too many entries in a statement"},
    {207, "a constant or literal is missing, too long or not convertible"},
    {208, "INCLUDE/OMIT connector other than AND or OR"},
    {209, "sort order missing or not A or D"},
    {210, "the output file (or the next work file) cannot be created or opened"},
    {211, "the output file is one of the input files"},
    {213, "the input list holds no file name"},
    {214, "an input file cannot be opened"},
    {215, "the header file cannot be created"},
    {216, "read error on an input file"},
    {217, "the first input file is shorter than the header to bypass"},
    {218, "write error on the header file"},
    {219, "short write on the header file"},
    {220, "an input file cannot be closed"},
    {221, "the header file, or an input file after its header check, cannot be closed"},
    {225, "not enough memory"},
    {227, "seek error on an input file"},
    {229, "a work file cannot be opened for merging"},
    {231, "the output of a merge cannot be closed"},
    {240, "write error or short write on the output file"},
    {242, "a key of type ALT without an ALTSEQ statement"},
    {245, "a record is longer than the free buffer space"},
    {246, "a work-file record is longer than the block size"},
    {256, "a record is longer than the duplicate buffer"},
    {257, "SUM without SORT or MERGE"},
    {260, "record-at-a-time: unknown operation"},
    {261, "record-at-a-time: no record-at-a-time run open"},
    {262, "record-at-a-time: operation 2 after operation 3"},
    {301, "the header file cannot be opened for copying"},
    {302, "read error on the header file"},
    {303, "write error copying the header into the output"},
    {304, "the header file cannot be closed after copying"},
    {307, "the output file cannot be closed"},
    {310, "the merge file cannot be renamed after an intermediate merge"},
    {311, "a work file cannot be closed after a merge"},
    {312, "a work file cannot be deleted"},
    {313, "read error on a work file"},
    {314, "work-file block inconsistent"},
    {315, "an output record is longer than the output buffer"},
    {319, "the record count of a DB3 output cannot be written"},
    {320, "the header file cannot be deleted at the end"},
    {321, "the end-of-file marker cannot be written"},
    {322, "seek error when giving back unread bytes of a file"},
    {323, "OUTREC special field unknown, or DUPC with a bad count"},
    {329, "the probe work file cannot be created"},
    {330, "fewer than 4 files can be open at once"},
    {331, "a probe handle cannot be closed"},
    {332, "the probe work file cannot be deleted"},
    {333, "the created probe work file cannot be closed"},
    {334, "the probe work file cannot be reopened"},
    {342, "no input buffer is free when a fill starts"},
    {343, "another run is in progress"},
    {10001, "ADDR: operand other than RRN"},
    {10002, "BYPASS: count or D/R operand missing or wrong"},
    {10003, "INCLUDE: condition missing or parentheses not matching"},
    {10004, "KEYOUT: operand other than RRN"},
    {10005, "LIMIT or LAST: \"(\" or a non-zero number missing"},
    {10006, "OMIT: condition missing or parentheses not matching"},
    {10007, "OUTREC: \"(\" missing, or a field length zero"},
    {10009, "RECORD: \"(\" or the length missing"},
    {10010, "SORT or MERGE: the command ends where a key's position is expected"},
    {10011, "FILE(FIX) or FILE(PRE): record length missing or zero"},
    {10012, "FILE(FE): marker byte zero or not a number"},
    {10015, "FILE(BT): this file type is not supported"},
    {10019, "FILE(GP): the two byte lists missing or malformed"},
    {10033, "FILE: file type missing or unknown"},
    {10051, "CORE: \"(\" or the number missing"},
    {10052, "DELIMITER: the number missing after \"(\""},
    {10054, "WORK: the directory missing, too long or not ending in a separator"},
    {10055,
     "ALTSEQ: the table file name is missing, the table file (UPPER.ALT) cannot be opened or "
     "read, or it is not a table file"},
    {10056, "DUPLICATES: the command ends where an operand is expected"},
    {10057, "ORIG: \"(\" or a non-zero number missing"},
    {10058, "OPEN: \"(\" or the number missing"},
    {10062, "SUM: the command ends where a field's position is expected"},
    {10708, "record-at-a-time run with statements that cannot be used there"},
    {15762, "FILE(FE) without RECORD, or SUM together with DUPLICATES"},
};

constexpr std::int32_t ConflictFirst = 10301;
constexpr std::int32_t ConflictLast = 12120;

}  // namespace

std::string engineCodeMeaning(std::int32_t code) {
    for (const CodeMeaning& m : Meanings)
        if (m.code == code) return std::string(m.text);
    if (code >= ConflictFirst && code <= ConflictLast)
        return "two statements that may not be combined";
    return "unknown return code";
}

}  // namespace reel
