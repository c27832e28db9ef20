// Shared by the parser's files: the parsing context and the operand rules of
// each statement. Rule of every function here: when it returns false it has
// set the return code through fail().
#pragma once

#include <optional>

#include "engine_state.h"
#include "tokenizer.h"

namespace sorvel {

struct ParseContext {
    EngineState& state;
    Tokenizer tokens;

    std::optional<Token> next() {
        return tokens.next(kStatementDelimiters, state.options.command_quote);
    }
    bool error(int code) { return fail(state, code); }
    const std::uint8_t* bytes(const Token& t) const { return tokens.bytes(t); }
    std::int32_t number(const Token& t) const { return token_number(bytes(t), t.length); }
    bool has_number(const Token& t) const { return token_has_number(bytes(t), t.length); }
    // First byte of a token, upper-cased; 0 for an empty token.
    std::uint8_t first_upper(const Token& t) const;
};

// A field operand: "#n" (field number n, length 0) or a position and a length.
struct FieldOperand {
    std::uint32_t position = 0;
    std::uint32_t length = 0;
};

bool parse_sort_keys(ParseContext& ctx);
bool parse_duplicates(ParseContext& ctx, Statement which);
bool parse_sum(ParseContext& ctx);
bool parse_condition_list(ParseContext& ctx, Statement which);
bool parse_outrec(ParseContext& ctx);
bool parse_file(ParseContext& ctx);
bool parse_alts(ParseContext& ctx);
bool parse_work(ParseContext& ctx);

// The checks that run after the last statement.
bool run_final_checks(EngineState& state);

}  // namespace sorvel
