// INCL and OMIT: reads a condition list into postfix order.
//
// Connectors have equal precedence and combine left to right; parentheses
// group. A marker stack drives the conversion: each comparison is appended
// to the list at once and pushes a value marker; a value marker that lands
// on an AND/OR marker emits that connector and merges into the value below.
// A ")" must close an "(" two markers down (open, value, close), and the
// group then counts as one value. Example: A,OR,(B,AND,C) gives A B C AND OR;
// (A,OR,B),AND,C gives A B OR C AND.
#include "conditions.h"
#include "keywords.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

namespace {

constexpr int kMarkerCapacity = 100;

enum Marker : std::uint8_t {
    kMarkXXX = 0,  // connector numbers double as their markers
    kMarkAnd = 1,
    kMarkOr = 2,
    kMarkOpen,
    kMarkValue,
    kMarkClose
};

class ConditionBuilder {
  public:
    ConditionBuilder(ParseContext& ctx, Statement which)
        : ctx_(ctx),
          tables_(ctx.state.tables),
          syntax_code_(which == kStmtINCL ? rc::kInclSyntax : rc::kOmitSyntax) {}

    bool run();

  private:
    bool push(Marker m) {
        if (marker_count_ == kMarkerCapacity) return ctx_.error(syntax_code_);
        markers_[marker_count_++] = m;
        return true;
    }
    Marker below(int distance) const { return markers_[marker_count_ - 1 - distance]; }
    bool append(const Condition& c) {
        if (tables_.condition_count == kMaxConditions) return ctx_.error(rc::kTooManyEntries);
        tables_.conditions[tables_.condition_count++] = c;
        return true;
    }
    bool read_first_field(Condition& c);
    bool read_comparison();
    bool read_operand(Condition& c);
    bool push_value();

    ParseContext& ctx_;
    StatementTables& tables_;
    const int syntax_code_;
    Marker markers_[kMarkerCapacity]{};
    int marker_count_ = 0;
    int depth_ = 0;
};

bool ConditionBuilder::read_first_field(Condition& c) {
    const auto t = ctx_.next();
    if (!t) return ctx_.error(syntax_code_);
    if (ctx_.first_upper(*t) == '#') {
        c.position = static_cast<std::uint32_t>(token_number(ctx_.bytes(*t) + 1, t->length - 1));
        c.length = kFieldNumberForm;
    } else {
        c.position = static_cast<std::uint32_t>(ctx_.number(*t));
        if (c.position == 0) return ctx_.error(rc::kBadPosition);
        const auto l = ctx_.next();
        if (!l) return ctx_.error(rc::kBadLength);
        c.length = static_cast<std::uint32_t>(ctx_.number(*l));  // 0: field-number form
    }
    if (c.position == 0) return ctx_.error(rc::kBadPosition);
    return true;
}

bool ConditionBuilder::read_operand(Condition& c) {
    const auto t = ctx_.next();
    if (!t) return ctx_.error(rc::kBadConstant);
    if (!t->quoted) {
        // a second field of the same record, with the rules of the first
        c.position2 = 0;
        if (ctx_.first_upper(*t) == '#') {
            c.position2 =
                static_cast<std::uint32_t>(token_number(ctx_.bytes(*t) + 1, t->length - 1));
            c.length2 = kFieldNumberForm;
            if (c.position2 == 0) return ctx_.error(rc::kBadPosition);
            return true;
        }
        c.position2 = static_cast<std::uint32_t>(ctx_.number(*t));
        if (c.position2 == 0) return ctx_.error(rc::kBadPosition);
        const auto l = ctx_.next();
        if (!l) return ctx_.error(rc::kBadLength);
        c.length2 = static_cast<std::uint32_t>(ctx_.number(*l));
        return true;
    }
    if (t->length > kMaxConstant) return ctx_.error(rc::kBadConstant);
    bool encoded = false;
    const int n =
        decode_literal(ctx_.bytes(*t), t->length, c.constant.data(), kMaxConstant, &encoded);
    if (n < 0) return ctx_.error(rc::kBadConstant);
    c.constant_length = static_cast<std::uint32_t>(n);
    c.constant[c.constant_length] = 0;
    if (!encoded && !convert_constant(c, c.length)) return ctx_.error(rc::kBadConstant);
    return true;
}

bool ConditionBuilder::read_comparison() {
    Condition c;
    c.kind = kCondCompare;
    if (!read_first_field(c)) return false;
    const auto type = ctx_.next();
    const auto type_number =
        type ? lookup(kDataTypeKeywords, ctx_.bytes(*type), type->length) : std::nullopt;
    if (!type_number) return ctx_.error(rc::kBadDataType);
    c.type = static_cast<std::uint8_t>(*type_number);
    const auto op = ctx_.next();
    const auto op_number =
        op ? lookup(kOperatorKeywords, ctx_.bytes(*op), op->length) : std::nullopt;
    if (!op_number) return ctx_.error(rc::kBadOperator);
    c.op = static_cast<std::uint8_t>(*op_number);
    if (c.op == kOpCO && c.type != kTypeCHA && c.type != kTypeALP) {
        return ctx_.error(rc::kBadOperator);
    }
    if (!read_operand(c)) return false;
    return append(c);
}

bool ConditionBuilder::push_value() {
    if (!push(kMarkValue)) return false;
    if (marker_count_ >= 3 && (below(1) == kMarkAnd || below(1) == kMarkOr)) {
        Condition connector;
        connector.kind = below(1) == kMarkAnd ? kCondAnd : kCondOr;
        if (!append(connector)) return false;
        marker_count_ -= 2;  // the earlier value marker stands for the result
    }
    return true;
}

bool ConditionBuilder::run() {
    tables_.condition_count = 0;
    for (;;) {
        while (ctx_.tokens.open_paren()) {
            ++depth_;
            if (!push(kMarkOpen)) return false;
        }
        if (!read_comparison()) return false;
        if (!push_value()) return false;
        bool complete = false;
        while (ctx_.tokens.close_paren()) {
            --depth_;
            if (!push(kMarkClose)) return false;
            if (marker_count_ < 3 || below(2) != kMarkOpen) return ctx_.error(syntax_code_);
            marker_count_ -= 3;
            if (depth_ == 0) {
                complete = true;
                break;
            }
            if (!push_value()) return false;
        }
        if (complete) break;
        const auto t = ctx_.next();
        if (!t) return ctx_.error(rc::kTooManyEntries);
        const auto connector = lookup(kConnectorKeywords, ctx_.bytes(*t), t->length);
        if (!connector) return ctx_.error(rc::kBadConnector);
        if (!push(static_cast<Marker>(*connector))) return false;
    }
    if (ctx_.tokens.close_paren()) return ctx_.error(syntax_code_);
    return true;
}

}  // namespace

bool parse_condition_list(ParseContext& ctx, Statement which) {
    ConditionBuilder builder(ctx, which);
    return builder.run();
}

}  // namespace sorvel
