// FILE, ALTS and WORK: the statements that name file types, files and
// directories.
#include <cstdio>
#include <string>

#include "keywords.h"
#include "parser_internal.h"
#include "return_codes.h"

namespace sorvel {

namespace {

constexpr std::uint8_t kAltTableMagic = 172;
constexpr std::size_t kAltTableFileSize = 265;  // magic, 8 unused bytes, 256 weights
constexpr std::size_t kAltWeightsOffset = 9;

// FILE(FIX,n) and FILE(PRE,n): a record length other than 0.
bool record_length(ParseContext& ctx) {
    const auto t = ctx.next();
    const auto n = t ? static_cast<std::uint32_t>(ctx.number(*t)) : 0u;
    if (n == 0) return ctx.error(rc::kFileFixLength);
    ctx.state.options.record_length = n;
    return true;
}

// FILE(FE) or FILE(FE,n): the byte that marks the end of the input.
bool end_of_file_byte(ParseContext& ctx) {
    if (ctx.tokens.close_paren()) {
        ctx.state.options.eof_byte = 26;
        return true;
    }
    const auto t = ctx.next();
    if (!t || !ctx.has_number(*t)) return ctx.error(rc::kFileFeMarker);
    const std::int32_t n = ctx.number(*t);
    // only a byte value can mark anything; 0 is refused as well
    if (n <= 0 || n > 255) return ctx.error(rc::kFileFeMarker);
    ctx.state.options.eof_byte = static_cast<std::uint8_t>(n);
    return true;
}

// "(" b1, b2, ... ")" into `bytes`; bytes beyond the capacity are read but
// not kept.
template <std::size_t N>
bool byte_list(ParseContext& ctx, std::array<std::uint8_t, N>& bytes, int* count) {
    *count = 0;
    if (!ctx.tokens.open_paren()) return ctx.error(rc::kFileGpSyntax);
    while (!ctx.tokens.close_paren()) {
        const auto t = ctx.next();
        if (!t || !ctx.has_number(*t)) return ctx.error(rc::kFileGpSyntax);
        if (*count < static_cast<int>(N)) {
            bytes[*count] = static_cast<std::uint8_t>(ctx.number(*t));
            ++*count;
        }
    }
    return true;
}

bool general_purpose_lists(ParseContext& ctx) {
    StatementTables& tables = ctx.state.tables;
    return byte_list(ctx, tables.gp_delimiter, &tables.gp_delimiter_count) &&
           byte_list(ctx, tables.gp_end_marker, &tables.gp_end_marker_count);
}

}  // namespace

bool parse_file(ParseContext& ctx) {
    if (!ctx.tokens.open_paren()) return ctx.error(rc::kFileType);
    const auto t = ctx.next();
    const auto type = t ? lookup(kFileTypeKeywords, ctx.bytes(*t), t->length) : std::nullopt;
    if (!type) return ctx.error(rc::kFileType);
    StatementSet& statements = ctx.state.statements;
    statements.file_type[kFileTXT] = false;
    statements.file_type[*type] = true;
    ctx.state.options.file_type = static_cast<FileType>(*type);
    switch (*type) {
        case kFileFIX:
        case kFilePRE:
            return record_length(ctx);
        case kFileFE:
            return end_of_file_byte(ctx);
        case kFileBT:
            return ctx.error(rc::kFileBtRefused);
        case kFileGP:
            return general_purpose_lists(ctx);
        default:
            return true;
    }
}

bool parse_alts(ParseContext& ctx) {
    if (!ctx.tokens.open_paren()) return ctx.error(rc::kAltsSyntax);
    const auto t = ctx.next();
    if (!t || t->length == 0) return ctx.error(rc::kAltsSyntax);
    const std::string name(ctx.tokens.view(*t));
    if (name.find('\0') != std::string::npos) return ctx.error(rc::kAltsSyntax);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) return ctx.error(rc::kAltsSyntax);
    std::uint8_t content[kAltTableFileSize] = {};
    const std::size_t got = std::fread(content, 1, sizeof content, file);
    const bool read_error = std::ferror(file) != 0;
    std::fclose(file);
    if (read_error || got == 0 || content[0] != kAltTableMagic) {
        return ctx.error(rc::kAltsSyntax);
    }
    AltTable& table = ctx.state.tables.alt_table;
    table.fill(0);  // a short file leaves the missing weights 0
    for (std::size_t i = kAltWeightsOffset; i < got; ++i) table[i - kAltWeightsOffset] = content[i];
    return true;
}

bool parse_work(ParseContext& ctx) {
    if (!ctx.tokens.open_paren()) return ctx.error(rc::kWorkSyntax);
    const auto t = ctx.next();
    if (!t || t->length == 0 || t->length > kMaxWorkDirectory) return ctx.error(rc::kWorkSyntax);
    const std::string_view directory = ctx.tokens.view(*t);
    const char last = directory.back();
    if (last != ':' && last != '/' && last != '\\') return ctx.error(rc::kWorkSyntax);
    if (directory.find('\0') != std::string_view::npos) return ctx.error(rc::kWorkSyntax);
    ctx.state.options.work_directory = std::string(directory);
    return true;
}

}  // namespace sorvel
