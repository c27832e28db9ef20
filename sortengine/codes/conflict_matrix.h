// Pairs of statements that may not be combined in one command.
//
// The statements are numbered for this purpose as follows (the numbering is
// part of the interface: it fixes the codes 10301 + 100 * j + k):
//   0 ADDR, 1 BYPA, 2 INCL, 3 KEYO, 4 LIMI or LAST, 5 OMIT, 6 OUTR,
//   7 record-at-a-time run, 8 RECO, 9 SORT or MERG, 10 FIX, 11 FE, 12 TXT,
//   13 VS, 14 BT, 15 RV, 16 CVS, 17 PRE, 18 GP, 19 DB3.
#pragma once

namespace sorvel {

enum ConflictItem {
    kADDR,
    kBYPA,
    kINCL,
    kKEYO,
    kLIMI,
    kOMIT,
    kOUTR,
    kRAW,
    kRECO,
    kSORT,
    kFIX,
    kFE,
    kTXT,
    kVS,
    kBT,
    kRV,
    kCVS,
    kPRE,
    kGP,
    kDB3
};

inline constexpr int kConflictItems = kDB3 + 1;

// True when the items j and k may not be combined (either order).
bool conflict_forbidden(int j, int k);

// The name of a conflict item, e.g. "LIMI or LAST", "file type FIX".
const char* conflict_item_name(int item);

}  // namespace sorvel
