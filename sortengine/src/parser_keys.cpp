// Key lists: SORT/MERG keys, DUPO/DUPE/DUPI keys and SUM fields.
#include "keywords.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

namespace {

constexpr std::uint32_t kDefaultDupBuffer = 1000;

// "#n" gives field number n; false (202) when n is 0.
bool field_number(ParseContext& ctx, const Token& t, std::uint32_t* position) {
    const auto n = static_cast<std::uint32_t>(token_number(ctx.bytes(t) + 1, t.length - 1));
    if (n == 0) return ctx.error(rc::kBadPosition);
    *position = n;
    return true;
}

bool nonzero_position(ParseContext& ctx, const Token& t, std::uint32_t* position) {
    const auto n = static_cast<std::uint32_t>(ctx.number(t));
    if (n == 0) return ctx.error(rc::kBadPosition);
    *position = n;
    return true;
}

bool read_sort_key(ParseContext& ctx, KeyField* key) {
    const auto first = ctx.next();
    if (!first) return ctx.error(rc::kSortSyntax);
    if (ctx.first_upper(*first) == '#') {
        if (!field_number(ctx, *first, &key->position)) return false;
        key->length = kFieldNumberForm;
    } else {
        if (!nonzero_position(ctx, *first, &key->position)) return false;
        const auto length = ctx.next();
        if (!length) return ctx.error(rc::kBadLength);
        if (ctx.first_upper(*length) == 'Z') {
            key->length = kToZeroByte;
        } else {
            key->length = static_cast<std::uint32_t>(ctx.number(*length));
            if (key->length == 0) return ctx.error(rc::kBadLength);
        }
    }
    const auto type = ctx.next();
    const auto type_number =
        type ? lookup(kDataTypeKeywords, ctx.bytes(*type), type->length) : std::nullopt;
    if (!type_number) return ctx.error(rc::kBadDataType);
    key->type = static_cast<std::uint8_t>(*type_number);
    const auto order = ctx.next();
    const auto order_number =
        order ? lookup(kOrderKeywords, ctx.bytes(*order), order->length) : std::nullopt;
    if (!order_number) return ctx.error(rc::kBadOrder);
    key->descending = static_cast<std::uint8_t>(*order_number);
    return true;
}

}  // namespace

bool parse_sort_keys(ParseContext& ctx) {
    StatementTables& tables = ctx.state.tables;
    tables.key_count = 0;
    for (;;) {
        if (tables.key_count == kMaxKeyFields) return ctx.error(rc::kTooManyEntries);
        KeyField key;
        if (!read_sort_key(ctx, &key)) return false;
        tables.keys[tables.key_count++] = key;
        if (ctx.tokens.close_paren()) return true;
    }
}

bool parse_duplicates(ParseContext& ctx, Statement which) {
    Options& o = ctx.state.options;
    StatementTables& tables = ctx.state.tables;
    o.dup_processing = true;
    o.dup_mode = which;
    o.dup_buffer_size = kDefaultDupBuffer;
    tables.dup_keys[0] = DupKey{1, kDupToRecordEnd};
    tables.dup_key_count = 1;
    if (!ctx.tokens.open_paren()) return true;

    int count = 0;
    auto finish = [&] {
        // no key given: the whole record stays the key
        if (count > 0) tables.dup_key_count = count;
        return true;
    };
    for (;;) {
        if (ctx.tokens.close_paren()) return finish();
        const auto item = ctx.next();
        if (!item) return ctx.error(rc::kDupSyntax);
        const std::uint8_t first = ctx.first_upper(*item);
        if (first == 'B') {
            o.dup_buffer_size =
                static_cast<std::uint32_t>(token_number(ctx.bytes(*item) + 1, item->length - 1));
            if (ctx.tokens.close_paren()) {
                // only the first key given remains
                if (count > 1) count = 1;
                return finish();
            }
            continue;
        }
        DupKey key;
        if (first == '#') {
            if (!field_number(ctx, *item, &key.position)) return false;
            key.length = kFieldNumberForm;
        } else {
            if (!nonzero_position(ctx, *item, &key.position)) return false;
            const auto length = ctx.next();
            if (!length) return ctx.error(rc::kBadLength);
            if (ctx.first_upper(*length) == 'E') {
                key.length = kDupToRecordEnd;
            } else {
                key.length = static_cast<std::uint32_t>(ctx.number(*length));
                if (key.length == 0) return ctx.error(rc::kBadLength);
            }
        }
        if (count == kMaxDupKeys) return ctx.error(rc::kTooManyEntries);
        tables.dup_keys[count++] = key;
    }
}

bool parse_sum(ParseContext& ctx) {
    StatementTables& tables = ctx.state.tables;
    tables.sum_field_count = 0;
    if (!ctx.tokens.open_paren()) return true;
    if (ctx.tokens.close_paren()) return true;
    for (;;) {
        if (tables.sum_field_count == kMaxSumFields) return ctx.error(rc::kTooManyEntries);
        const auto position = ctx.next();
        if (!position) return ctx.error(rc::kSumSyntax);
        SumField field;
        if (ctx.first_upper(*position) == '#') return ctx.error(rc::kBadPosition);
        if (!nonzero_position(ctx, *position, &field.position)) return false;
        const auto length = ctx.next();
        if (!length) return ctx.error(rc::kBadLength);
        field.length = static_cast<std::uint32_t>(ctx.number(*length));
        if (field.length == 0) return ctx.error(rc::kBadLength);
        const auto type = ctx.next();
        const auto type_number =
            type ? lookup(kSumTypeKeywords, ctx.bytes(*type), type->length) : std::nullopt;
        if (!type_number) return ctx.error(rc::kBadDataType);
        field.type = static_cast<std::uint8_t>(*type_number);
        tables.sum_fields[tables.sum_field_count++] = field;
        if (ctx.tokens.close_paren()) return true;
    }
}

}  // namespace sorvel
