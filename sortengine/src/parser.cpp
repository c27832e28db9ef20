// The statement loop: each statement name is looked up (abbreviations
// allowed), its flag is set and its operand rule reads what follows. A later
// occurrence of a statement overwrites what an earlier one recorded. The
// simple statements are handled here; the ones with operand lists have their
// own files.
#include "parser.h"

#include "keywords.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

std::uint8_t ParseContext::first_upper(const Token& t) const {
    if (t.length == 0) return 0;
    const std::uint8_t c = bytes(t)[0];
    return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 'a' + 'A') : c;
}

namespace {

// "(" n ")" with a number that must be present.
bool parenthesised_number(ParseContext& ctx, int code, std::uint32_t* value) {
    if (!ctx.tokens.open_paren()) return ctx.error(code);
    const auto t = ctx.next();
    if (!t || !ctx.has_number(*t)) return ctx.error(code);
    *value = static_cast<std::uint32_t>(ctx.number(*t));
    return true;
}

// Optional "(" RRN ")" of ADDR and KEYO.
bool record_number_operand(ParseContext& ctx, int code) {
    if (!ctx.tokens.open_paren()) return true;
    const auto t = ctx.next();
    if (!t || !lookup(kRecordNumberKeywords, ctx.bytes(*t), t->length)) return ctx.error(code);
    return true;
}

bool parse_bypass(ParseContext& ctx) {
    Options& o = ctx.state.options;
    if (!ctx.tokens.open_paren()) {
        o.bypass_without_operands = true;
        o.keep_header = true;
        return true;
    }
    const auto count = ctx.next();
    if (!count || !ctx.has_number(*count) || ctx.number(*count) < 0) {
        return ctx.error(rc::kBypaSyntax);
    }
    const auto disposal = ctx.next();
    if (!disposal) return ctx.error(rc::kBypaSyntax);
    const auto which = lookup(kHeaderDisposalKeywords, ctx.bytes(*disposal), disposal->length);
    if (!which) return ctx.error(rc::kBypaSyntax);
    o.bypass_without_operands = false;
    o.bypass_count = static_cast<std::uint32_t>(ctx.number(*count));
    o.keep_header = *which == 1;  // R keeps the header, D drops it
    return true;
}

bool parse_delimiter(ParseContext& ctx) {
    if (!ctx.tokens.open_paren()) return true;
    const auto t = ctx.next();
    if (!t || !ctx.has_number(*t)) return ctx.error(rc::kDeliSyntax);
    ctx.state.options.field_delimiter = static_cast<std::uint8_t>(ctx.number(*t));
    return true;
}

// "(" n ")" with n != 0: LIMI, LAST, ORIG.
bool nonzero_record_number(ParseContext& ctx, int code, std::uint32_t* value) {
    if (!ctx.tokens.open_paren()) return ctx.error(code);
    const auto t = ctx.next();
    if (!t) return ctx.error(code);
    const auto n = static_cast<std::uint32_t>(ctx.number(*t));
    if (n == 0) return ctx.error(code);
    *value = n;
    return true;
}

bool parse_statement(ParseContext& ctx, Statement statement) {
    EngineState& s = ctx.state;
    Options& o = s.options;
    switch (statement) {
        case kStmtADDR:
            return record_number_operand(ctx, rc::kAddrSyntax);
        case kStmtKEYO:
            return record_number_operand(ctx, rc::kKeyoSyntax);
        case kStmtBYPA:
            return parse_bypass(ctx);
        case kStmtCORE:
            return parenthesised_number(ctx, rc::kCoreSyntax, &o.core_kb);
        case kStmtDELI:
            return parse_delimiter(ctx);
        case kStmtFILE:
            return parse_file(ctx);
        case kStmtINCL:
        case kStmtOMIT:
            return parse_condition_list(ctx, statement);
        case kStmtLIMI:
        case kStmtLAST:
            o.has_limit = true;
            return nonzero_record_number(ctx, rc::kLimiSyntax, &o.limit);
        case kStmtORIG:
            o.has_origin = true;
            return nonzero_record_number(ctx, rc::kOrigSyntax, &o.origin);
        case kStmtMERG:
        case kStmtSORT:
            return parse_sort_keys(ctx);
        case kStmtOUTR:
            return parse_outrec(ctx);
        case kStmtRECO:
            s.statements.file_type[kFileTXT] = false;
            return parenthesised_number(ctx, rc::kRecoSyntax, &o.record_length);
        case kStmtWORK:
            return parse_work(ctx);
        case kStmtALTS:
            return parse_alts(ctx);
        case kStmtDUPO:
        case kStmtDUPE:
        case kStmtDUPI:
            return parse_duplicates(ctx, statement);
        case kStmtAPOS:
            o.command_quote = '\'';
            return true;
        case kStmtSUM:
            return parse_sum(ctx);
        case kStmtOPEN:
            return parenthesised_number(ctx, rc::kOpenSyntax, &o.open_value);
        case kStmtPAUS:
        case kStmtEQUA:
        case kStmtAPPE:
        case kStmtOVER:
        case kStmtNOYI:
        case kStmtVERB:
        default:
            return true;
    }
}

}  // namespace

bool parse_command(EngineState& state) {
    ParseContext ctx{state, Tokenizer(state.command)};
    for (;;) {
        const auto t = ctx.next();
        if (!t || (t->length > 0 && ctx.bytes(*t)[0] == 26)) break;
        const auto found = lookup(kStatementKeywords, ctx.bytes(*t), t->length);
        if (!found) return ctx.error(rc::kUnknownStatement);
        const auto statement = static_cast<Statement>(*found);
        state.statements.statement[statement] = true;
        if (!parse_statement(ctx, statement)) return false;
    }
    return run_final_checks(state);
}

}  // namespace sorvel
