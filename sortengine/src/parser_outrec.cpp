// OUTR: the layout of the output record, a list of fields, literals and
// special fields.
#include <cstring>

#include "conditions.h"
#include "keywords.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

namespace {

// Bytes each special field contributes to the output record.
std::uint32_t special_field_length(int special) {
    switch (special) {
        case kSpecialRECL:
            return 2;
        case kSpecialRRN:
        case kSpecialRBA:
            return 4;
        case kSpecialBTR:
            return 5;
        case kSpecialHLR:
            return 2;
        case kSpecialDUPC:
        case kSpecialARRN:
            return 7;
        default:
            return 0;
    }
}

bool read_literal(ParseContext& ctx, const Token& t, OutField* field) {
    if (t.length > kMaxLiteral) return ctx.error(rc::kBadConstant);
    bool encoded = false;
    const int n = decode_literal(ctx.bytes(t), t.length, field->text.data(), kMaxLiteral, &encoded);
    if (n < 0) return ctx.error(rc::kBadConstant);
    field->kind = kOutLiteral;
    field->length = static_cast<std::uint32_t>(n);
    field->text[field->length] = 0;
    return true;
}

bool read_special(ParseContext& ctx, int special, OutField* field) {
    if (special == kSpecialXXXX) return ctx.error(rc::kBadSpecialField);
    if (special == kSpecialCRLF) {
        field->kind = kOutLiteral;
        field->length = 2;
        field->text[0] = '\r';
        field->text[1] = '\n';
        field->text[2] = 0;
        return true;
    }
    field->kind = static_cast<std::uint8_t>(special);
    field->length = special_field_length(special);
    if (special == kSpecialDUPC && ctx.tokens.open_paren()) {
        const auto n = ctx.next();
        if (!n || !ctx.has_number(*n)) return ctx.error(rc::kBadSpecialField);
        if (!ctx.tokens.close_paren()) return ctx.error(rc::kBadSpecialField);
        ctx.state.options.dup_threshold = static_cast<std::uint32_t>(ctx.number(*n));
    }
    return true;
}

bool read_field(ParseContext& ctx, const Token& position, OutField* field) {
    field->position = static_cast<std::uint32_t>(ctx.number(position));
    const auto length = ctx.next();
    if (!length) return ctx.error(rc::kOutrSyntax);
    if (ctx.first_upper(*length) == 'E') {
        field->kind = kOutToEnd;
        field->length = 0;
        return true;
    }
    field->kind = kOutField;
    field->length = static_cast<std::uint32_t>(ctx.number(*length));
    if (field->length == 0) return ctx.error(rc::kOutrSyntax);
    return true;
}

}  // namespace

bool parse_outrec(ParseContext& ctx) {
    StatementTables& tables = ctx.state.tables;
    tables.out_field_count = 0;
    if (!ctx.tokens.open_paren()) return ctx.error(rc::kOutrSyntax);
    for (;;) {
        // Line ends, tabs and comments may stand before the ")" as well; "()"
        // alone is an empty layout (empty output records).
        if (ctx.tokens.take_char_after(')', kListSeparators)) return true;
        if (tables.out_field_count == kMaxOutFields) return ctx.error(rc::kTooManyEntries);
        const auto t = ctx.next();
        if (!t) return ctx.error(rc::kOutrSyntax);
        OutField field;
        if (t->quoted) {
            if (!read_literal(ctx, *t, &field)) return false;
        } else if (const auto special = lookup(kSpecialFieldKeywords, ctx.bytes(*t), t->length)) {
            if (!read_special(ctx, *special, &field)) return false;
        } else if (!read_field(ctx, *t, &field)) {
            return false;
        }
        tables.out_fields[tables.out_field_count++] = field;
    }
}

}  // namespace sorvel
