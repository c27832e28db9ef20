// OUTR record layout. Positions count from the first byte of the record as
// framed (a VS length prefix is bytes 1 and 2). Field bytes that lie outside
// the record are given as blanks, so a layout always has its declared width.
#include "outrec.h"

#include <algorithm>
#include <cstring>

#include "little_endian.h"
#include "memory_plan.h"
#include "output_file.h"

namespace sorvel {

bool uses_layout(const EngineState& state) {
    const StatementSet& s = state.statements;
    return s.has(kStmtOUTR) || s.has(kStmtADDR) || s.has(kStmtKEYO);
}

namespace {

constexpr std::size_t kSpecialLength[] = {0, 2, 4, 4, 0, 5, 2, 7, 7};

std::size_t field_length(const OutField& field, std::size_t record_length) {
    switch (field.kind) {
        case kOutField:
        case kOutLiteral:
            return field.length;
        case kOutToEnd:
            return field.position >= 1 && field.position <= record_length
                       ? record_length - field.position + 1
                       : 0;
        case kOutRECL:
        case kOutRRN:
        case kOutRBA:
        case kOutBTR:
        case kOutHLR:
        case kOutDUPC:
        case kOutARRN:
            return kSpecialLength[field.kind];
        default:
            return 0;
    }
}

// Seven digits, zero-padded; a longer number gives its first seven digits.
void put_seven_digits(std::uint8_t* out, std::uint32_t value) {
    if (value < 10000000) {
        for (int i = 6; i >= 0; --i) {
            out[i] = static_cast<std::uint8_t>('0' + value % 10);
            value /= 10;
        }
        return;
    }
    char text[10];  // a 32-bit value has at most ten digits
    int n = 0;
    do {
        text[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < 7) text[n++] = '0';
    for (int i = 0; i < 7; ++i) out[i] = static_cast<std::uint8_t>(text[n - 1 - i]);
}

void copy_field(std::uint8_t* out, const std::uint8_t* record, std::size_t record_length,
                std::uint32_t position, std::size_t length) {
    if (position >= 1 && position - 1 + length <= record_length) {
        std::memcpy(out, record + (position - 1), length);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t at = static_cast<std::size_t>(position) + i;  // 1-based
        out[i] = (at >= 1 && at <= record_length) ? record[at - 1] : ' ';
    }
}

}  // namespace

std::size_t output_record_length(const EngineState& state, std::size_t record_length) {
    if (!uses_layout(state)) return record_length;
    std::size_t total = 0;
    for (int i = 0; i < state.tables.out_field_count; ++i) {
        total += field_length(state.tables.out_fields[i], record_length);
    }
    return total;
}

namespace {

void format_layout(const EngineState& state, const std::uint8_t* record, std::size_t record_length,
                   std::uint32_t sequence, std::uint32_t dup_count, std::size_t total,
                   std::uint8_t* out) {
    std::uint8_t* at = out;
    for (int i = 0; i < state.tables.out_field_count; ++i) {
        const OutField& field = state.tables.out_fields[i];
        const std::size_t length = field_length(field, record_length);
        switch (field.kind) {
            case kOutField:
            case kOutToEnd:
                copy_field(at, record, record_length, field.position, length);
                break;
            case kOutLiteral:
                std::memcpy(at, field.text.data(), length);
                break;
            case kOutRECL: {
                const std::size_t recl = total - 2;
                at[0] = static_cast<std::uint8_t>(recl & 0xFF);
                at[1] = static_cast<std::uint8_t>((recl >> 8) & 0xFF);
                break;
            }
            case kOutRRN:
            case kOutRBA:
                put_le32(at, sequence);
                break;
            case kOutARRN:
                put_seven_digits(at, sequence);
                break;
            case kOutDUPC:
                put_seven_digits(at, dup_count);
                break;
            // BT-R and HL-R carry no information of their own here: zeros.
            case kOutBTR:
            case kOutHLR:
                std::memset(at, 0, length);
                break;
            default:
                break;
        }
        at += length;
    }
}

}  // namespace

bool write_work_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                       std::uint32_t sequence) {
    std::uint8_t* out = output_space(state, kWorkRecordHeader + length);
    if (out == nullptr) return false;
    put_le32(out, static_cast<std::uint32_t>(length));
    put_le32(out + 4, sequence);
    if (length > 0) std::memcpy(out + kWorkRecordHeader, record, length);
    ++state.records_written;
    RunResources& run = state.run;
    ++run.output_records;
    run.longest_work_record = std::max(run.longest_work_record, static_cast<std::uint32_t>(length));
    return true;
}

bool build_output_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                         std::uint32_t sequence) {
    const std::size_t out_length = output_record_length(state, length);
    const bool to_work_file = state.statements.raw_run && !state.statements.sorting();
    const std::size_t header = to_work_file ? kWorkRecordHeader : 0;
    std::uint8_t* out = output_space(state, header + out_length);
    if (out == nullptr) return false;
    if (to_work_file) {
        put_le32(out, static_cast<std::uint32_t>(out_length));
        put_le32(out + 4, sequence);
        RunResources& run = state.run;
        ++run.output_records;
        run.longest_work_record =
            std::max(run.longest_work_record, static_cast<std::uint32_t>(out_length));
    }
    if (uses_layout(state)) {
        format_layout(state, record, length, sequence, state.run.dup_count, out_length,
                      out + header);
    } else if (length > 0) {
        std::memcpy(out + header, record, length);
    }
    ++state.records_written;
    return true;
}

}  // namespace sorvel
