// The table of statement pairs that may not be combined, shared by the
// engine's final checks and the wording of the conflict codes.
#include "conflict_matrix.h"

#include <array>

namespace sorvel {

namespace {

constexpr bool is_file_item(int i) {
    return i >= kFIX && i <= kDB3;
}

// The rule list is short and readable; the matrix is built from it once.
constexpr bool pair_rule(int a, int b) {
    auto pair = [a, b](int x, int y) { return (a == x && b == y) || (a == y && b == x); };
    for (int other : {kKEYO, kOUTR, kRAW, kRV, kCVS, kDB3}) {
        if (pair(kADDR, other)) return true;
    }
    for (int other : {kRAW, kRV, kCVS, kDB3}) {
        if (pair(kBYPA, other)) return true;
    }
    if (pair(kINCL, kOMIT)) return true;
    for (int other : {kOUTR, kRAW, kRV, kCVS, kDB3}) {
        if (pair(kKEYO, other)) return true;
    }
    if (pair(kLIMI, kRAW)) return true;
    for (int other : {kRV, kCVS, kDB3}) {
        if (pair(kOUTR, other)) return true;
    }
    if (pair(kRAW, kRECO)) return true;
    for (int type = kFIX; type <= kDB3; ++type) {
        if (type != kBT && pair(kRAW, type)) return true;
    }
    for (int other : {kTXT, kBT, kRV, kCVS, kPRE, kDB3}) {
        if (pair(kRECO, other)) return true;
    }
    return is_file_item(a) && is_file_item(b) && a != b;
}

using Matrix = std::array<std::array<bool, kConflictItems>, kConflictItems>;

constexpr Matrix build_matrix() {
    Matrix m{};
    for (int j = 0; j < kConflictItems; ++j) {
        for (int k = 0; k < kConflictItems; ++k) m[j][k] = pair_rule(j, k);
    }
    return m;
}

constexpr Matrix kConflictMatrix = build_matrix();

constexpr const char* kItemNames[kConflictItems] = {
    "ADDR",          "BYPA",          "INCL",          "KEYO",
    "LIMI or LAST",  "OMIT",          "OUTR",          "record-at-a-time run",
    "RECO",          "SORT or MERG",  "file type FIX", "file type FE",
    "file type TXT", "file type VS",  "file type BT",  "file type RV",
    "file type CVS", "file type PRE", "file type GP",  "file type DB3"};

}  // namespace

bool conflict_forbidden(int j, int k) {
    if (j < 0 || k < 0 || j >= kConflictItems || k >= kConflictItems) return false;
    return kConflictMatrix[j][k];
}

const char* conflict_item_name(int item) {
    if (item < 0 || item >= kConflictItems) return "?";
    return kItemNames[item];
}

}  // namespace sorvel
