#include "return_codes.h"

#include <array>
#include <string>

#include "conflict_matrix.h"

namespace sorvel {

namespace {

struct Meaning {
    int code;
    const char* text;
};

constexpr Meaning kMeanings[] = {
    {0, "success"},
    {1, "no more records"},
    {201, "unknown statement name"},
    {202, "a field position is missing, zero or not a number"},
    {203, "a field length is missing or zero"},
    {204, "data type missing or unknown"},
    {205, "comparison operator missing or unknown, or CO used with a type other than CHA and ALP"},
    {206, "too many entries, or the command ends where an INCL/OMIT connector is expected"},
    {207,
     "INCL/OMIT constant missing, too long, a bad \"&H\" constant or not convertible to the "
     "field's type; or an OUTR literal too long or a bad \"&H\" literal"},
    {208, "INCL/OMIT connector other than AND or OR"},
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
    {231, "the output of a merge cannot be closed (flushed to disk and put in place)"},
    {240, "write error or short write when the output buffer is written"},
    {242, "a key of type ALT without an ALTS statement"},
    {245,
     "not a single record fits into the free buffer space (a record longer than the block "
     "size)"},
    {246, "a work-file record is longer than the block size"},
    {256, "a record is longer than the duplicate buffer"},
    {257, "SUM without SORT or MERG"},
    {260, "record-at-a-time: unknown operation"},
    {261, "record-at-a-time: no record-at-a-time run open"},
    {262, "record-at-a-time: operation 2 after operation 3"},
    {301, "the header file cannot be opened for copying"},
    {302, "read error on the header file"},
    {303, "write error copying the header into the output"},
    {304, "the header file cannot be closed after copying"},
    {307, "the output file cannot be closed (flushed to disk and put in place)"},
    {310, "the merge file cannot be moved to its new name after an intermediate merge"},
    {311, "a work file cannot be closed after a merge"},
    {312, "a work file cannot be deleted"},
    {313, "read error on a work file"},
    {314, "work-file block inconsistent (a full block was expected)"},
    {315, "an output record is longer than the output buffer"},
    {319, "the record count of a DB3 output cannot be written"},
    {320, "the header file cannot be deleted at the end"},
    {321, "the end-of-file marker cannot be written"},
    {322, "seek error when giving back unread bytes of an input or work file"},
    {323, "OUTR special field XXXX, or DUPC with a bad \"(n)\""},
    {329, "the probe work file cannot be created"},
    {330, "fewer than 4 files can be open at once"},
    {331, "a probe handle cannot be closed"},
    {332, "the probe work file cannot be deleted"},
    {333, "the created probe work file cannot be closed"},
    {334, "the probe work file cannot be reopened"},
    {342, "no input buffer is free when a fill starts"},
    {343, "another run is in progress in this process"},
    {344, "record-at-a-time: no data buffer given"},
    {345, "an input file changed (shrank, grew or was rewritten) while it was being read"},
    {10001, "ADDR: operand other than RRN"},
    {10002, "BYPA: count or D/R operand missing or wrong"},
    {10003, "INCL: condition missing or parentheses not matching"},
    {10004, "KEYO: operand other than RRN"},
    {10005, "LIMI or LAST: \"(\" or a non-zero number missing"},
    {10006, "OMIT: condition missing or parentheses not matching"},
    {10007, "OUTR: \"(\" missing, or a field length zero"},
    {10009, "RECO: \"(\" or the length missing"},
    {10010, "SORT or MERG: the command ends where a key's position is expected"},
    {10011, "FILE(FIX) or FILE(PRE): record length missing or zero"},
    {10012, "FILE(FE): marker byte zero or not a number"},
    {10015, "FILE(BT): this file type is not supported"},
    {10019, "FILE(GP): the two byte lists missing or malformed"},
    {10033, "FILE: file type missing or unknown"},
    {10051, "CORE: \"(\" or the number missing"},
    {10052, "DELI: the number missing after \"(\""},
    {10054,
     "WORK: \"(\" or the directory missing, longer than 49 characters, or not ending in "
     "\":\", \"/\" or \"\\\""},
    {10055,
     "ALTS: \"(\" or the file name missing, the table file cannot be opened or read, or "
     "its first byte is not 172"},
    {10056, "DUPO, DUPE, DUPI: the command ends where an operand is expected"},
    {10057, "ORIG: \"(\" or a non-zero number missing"},
    {10058, "OPEN: \"(\" or the number missing"},
    {10062, "SUM: the command ends where a field's position is expected"},
    {10708, "record-at-a-time run with SORT or MERG together with OUTR, or with LIMI or LAST"},
    {15762, "FILE(FE) without RECO, or SUM together with DUPO, DUPE or DUPI"},
};

// "X may not be combined with Y" for every forbidden pair, built once.
const std::string* conflict_text(int code) {
    static const auto texts = [] {
        std::array<std::string, kConflictItems * kConflictItems> t;
        for (int j = 0; j < kConflictItems; ++j) {
            for (int k = j + 1; k < kConflictItems; ++k) {
                if (!conflict_forbidden(j, k)) continue;
                t[j * kConflictItems + k] = std::string(conflict_item_name(j)) +
                                            " may not be combined with " + conflict_item_name(k);
            }
        }
        return t;
    }();
    const int offset = code - rc::kConflictBase;
    const int j = offset / 100;
    const int k = offset % 100;
    if (offset < 0 || j >= kConflictItems || k >= kConflictItems || j >= k) return nullptr;
    const std::string& text = texts[j * kConflictItems + k];
    return text.empty() ? nullptr : &text;
}

}  // namespace

const char* return_code_meaning(int code) {
    for (const Meaning& m : kMeanings) {
        if (m.code == code) return m.text;
    }
    if (code >= rc::kConflictBase && code <= rc::kConflictLast) {
        if (const std::string* text = conflict_text(code)) return text->c_str();
    }
    return "unknown return code";
}

}  // namespace sorvel
