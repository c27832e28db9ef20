// The checks that run once the whole command has been read, in this order:
// ALT keys need ALTS; statements that may not be combined; a record-at-a-time
// sort with OUTR; then the statements that rewrite others (BYPA without
// operands, ADDR, RECO, KEYO) and SUM, which turns duplicate processing on
// with the sort keys.
#include "conflicts.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

namespace {

constexpr std::uint32_t kSumDupBuffer = 2000;
constexpr std::uint32_t kVsPrefix = 2;

void output_is_record_number(StatementTables& tables) {
    OutField rrn;
    rrn.kind = kOutRRN;
    rrn.length = 4;
    tables.out_fields[0] = rrn;
    tables.out_field_count = 1;
}

}  // namespace

bool run_final_checks(EngineState& state) {
    StatementSet& s = state.statements;
    Options& o = state.options;
    StatementTables& tables = state.tables;

    for (int k = 0; k < tables.key_count; ++k) {
        if (tables.keys[k].type == kTypeALT && !s.has(kStmtALTS)) {
            return fail(state, rc::kAltWithoutAlts);
        }
    }
    if (const int conflict = first_conflict_code(s)) return fail(state, conflict);
    if (s.raw_run && s.sorting() && s.has(kStmtOUTR)) return fail(state, rc::kRawSortWithOutr);

    if (s.has(kStmtBYPA) && o.bypass_without_operands) o.bypass_count = o.record_length;
    if (s.has(kStmtADDR)) {
        output_is_record_number(tables);
        s.statement[kStmtOUTR] = true;
    }
    if (s.has(kStmtRECO)) {
        if (!s.has_file(kFileFE)) {
            s.file_type[kFileFIX] = true;
            o.file_type = kFileFIX;
        }
    } else if (s.has_file(kFileFE)) {
        return fail(state, rc::kFeWithoutReco);
    }
    if (s.has(kStmtKEYO)) {
        output_is_record_number(tables);
        for (int k = 0; k < tables.key_count && tables.out_field_count < kOutFieldCapacity; ++k) {
            OutField field;
            field.kind = kOutField;
            field.position = tables.keys[k].position;
            field.length = tables.keys[k].length;
            tables.out_fields[tables.out_field_count++] = field;
        }
        s.statement[kStmtOUTR] = true;
    }
    if (s.has(kStmtSUM)) {
        if (s.has(kStmtDUPO) || s.has(kStmtDUPE) || s.has(kStmtDUPI)) {
            return fail(state, rc::kFeWithoutReco);
        }
        if (!s.sorting()) return fail(state, rc::kSumWithoutSort);
        o.dup_processing = true;
        o.dup_mode = kStmtDUPO;
        o.dup_buffer_size = kSumDupBuffer;
        tables.dup_key_count = tables.key_count;
        for (int k = 0; k < tables.key_count; ++k) {
            tables.dup_keys[k] = DupKey{tables.keys[k].position, tables.keys[k].length};
        }
    }
    if (o.file_type == kFileVS) o.field_offset = kVsPrefix;
    return true;
}

}  // namespace sorvel
