#include "conflicts.h"

#include "return_codes.h"

namespace sorvel {

std::array<bool, kConflictItems> conflict_items_present(const StatementSet& s) {
    std::array<bool, kConflictItems> present{};
    present[kADDR] = s.has(kStmtADDR);
    present[kBYPA] = s.has(kStmtBYPA);
    present[kINCL] = s.has(kStmtINCL);
    present[kKEYO] = s.has(kStmtKEYO);
    present[kLIMI] = s.limited();
    present[kOMIT] = s.has(kStmtOMIT);
    present[kOUTR] = s.has(kStmtOUTR);
    present[kRAW] = s.raw_run;
    present[kRECO] = s.has(kStmtRECO);
    present[kSORT] = s.sorting();
    for (int t = 0; t < kFileTypeCount; ++t) present[kFIX + t] = s.file_type[t];
    return present;
}

int first_conflict_code(const StatementSet& statements) {
    const auto present = conflict_items_present(statements);
    for (int j = 0; j < kConflictItems; ++j) {
        if (!present[j]) continue;
        for (int k = j + 1; k < kConflictItems; ++k) {
            if (present[k] && conflict_forbidden(j, k)) return rc::kConflictBase + 100 * j + k;
        }
    }
    return 0;
}

}  // namespace sorvel
