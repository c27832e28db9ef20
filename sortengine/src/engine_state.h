// The run state of the engine.
//
// Everything one run needs lives in one EngineState: the caller's texts, the
// results, the statements seen, the option values, the statement tables and
// the resources (buffers, record references, files) of the sorting machinery.
// There is one process-wide instance (engine_state()); a run or a
// record-at-a-time session owns it from its reset until it returns, so runs
// never overlap. Tests build their own instances.
//
// Error convention: every step that fails calls fail(state, code) and returns
// false; every step that succeeds leaves the code alone. The driver stops at
// the first failure. Nothing in the engine throws across the C boundary.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "large_buffer.h"
#include "safe_file.h"

namespace sorvel {

// Capacities of the statement tables.
inline constexpr int kMaxKeyFields = 20;
inline constexpr int kMaxDupKeys = 19;  // explicit DUPO/DUPE/DUPI keys
// SUM makes the sort keys the duplicate keys, so the table itself holds 20.
inline constexpr int kDupKeyCapacity = 20;
inline constexpr int kMaxConditions = 40;
inline constexpr int kMaxOutFields = 20;
// KEYO writes the record number before up to 20 key fields.
inline constexpr int kOutFieldCapacity = kMaxOutFields + 1;
inline constexpr int kMaxSumFields = 20;
inline constexpr int kMaxConstant = 50;     // INCL/OMIT constant bytes
inline constexpr int kMaxLiteral = 20;      // OUTR literal bytes
inline constexpr int kMaxGpDelimiter = 16;  // FILE(GP) record delimiter bytes
inline constexpr int kMaxGpEndMarker = 15;  // FILE(GP) end-of-input bytes
inline constexpr int kMaxWorkDirectory = 49;

// Statement numbers: the order of the statement keyword table.
enum Statement : std::uint8_t {
    kStmtADDR,
    kStmtBYPA,
    kStmtCORE,
    kStmtDELI,
    kStmtFILE,
    kStmtINCL,
    kStmtKEYO,
    kStmtLIMI,
    kStmtMERG,
    kStmtOMIT,
    kStmtOUTR,
    kStmtPAUS,
    kStmtRECO,
    kStmtSORT,
    kStmtWORK,
    kStmtALTS,
    kStmtEQUA,
    kStmtDUPO,
    kStmtDUPE,
    kStmtDUPI,
    kStmtORIG,
    kStmtAPOS,
    kStmtSUM,
    kStmtLAST,
    kStmtAPPE,
    kStmtOVER,
    kStmtOPEN,
    kStmtNOYI,
    kStmtVERB,
    kStatementCount
};

// File types: the order of the file type keyword table.
enum FileType : std::uint8_t {
    kFileFIX,
    kFileFE,
    kFileTXT,
    kFileVS,
    kFileBT,
    kFileRV,
    kFileCVS,
    kFilePRE,
    kFileGP,
    kFileDB3,
    kFileTypeCount
};

// Data types of keys and conditions: the order of the data type keyword table.
enum DataType : std::uint8_t {
    kTypeCHA,
    kTypeALP,
    kTypeSU,
    kTypeSLI,
    kTypeNUM,
    kTypeSTI,
    kTypeSTS,
    kTypeZD,
    kTypeT,
    kTypeINT,
    kTypePD,
    kTypeBIN,
    kTypeALT,
    kTypeE,
    kTypeW,
    kTypeSP,
    kTypeDP,
    kTypeFI,
    kTypeFL,
    kDataTypeCount
};

// INCL/OMIT comparison operators: the order of the operator keyword table.
enum Operator : std::uint8_t { kOpCO, kOpEQ, kOpNE, kOpGT, kOpGE, kOpLT, kOpLE, kOperatorCount };

// SUM type numbers are the SumType values of sum_arith.h.

// Special length values of KeyField, DupKey and Condition fields.
inline constexpr std::uint32_t kFieldNumberForm = 0;     // position is a field number
inline constexpr std::uint32_t kToZeroByte = 65535;      // key ends at the first zero byte
inline constexpr std::uint32_t kDupToRecordEnd = 17733;  // duplicate key runs to the record end

struct KeyField {
    std::uint32_t position = 0;  // 1-based; field number when length is 0
    std::uint32_t length = 0;
    std::uint8_t type = kTypeCHA;
    std::uint8_t descending = 0;  // 0 ascending, 1 descending
};

struct DupKey {
    std::uint32_t position = 0;
    std::uint32_t length = 0;
};

enum ConditionKind : std::uint8_t { kCondCompare = 0, kCondAnd = 1, kCondOr = 2 };

// One entry of the postfix condition list of INCL/OMIT.
struct Condition {
    std::uint8_t kind = kCondCompare;
    std::uint32_t position = 0;  // first field
    std::uint32_t length = 0;    // 0: field-number form
    std::uint8_t type = kTypeCHA;
    std::uint8_t op = kOpEQ;
    std::array<std::uint8_t, kMaxConstant + 1> constant{};  // zero-terminated
    std::uint32_t constant_length = 0;
    std::uint32_t position2 = 0;  // second field; 0 means the constant is the operand
    std::uint32_t length2 = 0;
};

// OutField kinds besides the special-field numbers of the OUTR table
// (1 RECL, 2 RRN, 3 RBA, 5 BT-R, 6 HL-R, 7 DUPC, 8 ARRN).
enum OutFieldKind : std::uint8_t {
    kOutField = 0,
    kOutRECL = 1,
    kOutRRN = 2,
    kOutRBA = 3,
    kOutBTR = 5,
    kOutHLR = 6,
    kOutDUPC = 7,
    kOutARRN = 8,
    kOutToEnd = 69,   // 'E': from the position to the end of the record
    kOutLiteral = 76  // 'L': literal bytes (also CRLF)
};

struct OutField {
    std::uint8_t kind = kOutField;
    std::uint32_t position = 0;
    std::uint32_t length = 0;  // bytes this field contributes (literal length for literals)
    std::array<std::uint8_t, kMaxLiteral + 1> text{};  // literal bytes, zero-terminated
};

struct SumField {
    std::uint32_t position = 0;
    std::uint32_t length = 0;
    std::uint8_t type = 0;  // SumType
};

using AltTable = std::array<std::uint8_t, 256>;

// One flag per statement kind, per file type, and the open record-at-a-time run.
struct StatementSet {
    std::array<bool, kStatementCount> statement{};
    std::array<bool, kFileTypeCount> file_type{};
    bool raw_run = false;  // RawRun

    bool has(Statement s) const { return statement[s]; }
    bool has_file(FileType t) const { return file_type[t]; }
    bool sorting() const { return statement[kStmtSORT] || statement[kStmtMERG]; }
    bool selecting() const { return statement[kStmtINCL] || statement[kStmtOMIT]; }
    bool limited() const { return statement[kStmtLIMI] || statement[kStmtLAST]; }
};

// Option values, with the defaults every run starts from.
struct Options {
    FileType file_type = kFileTXT;
    std::uint32_t record_length = 0;
    std::uint32_t core_kb = 2000;
    std::uint32_t open_value = 64;
    std::uint32_t dup_threshold = 1;     // DupThreshold, OUTR DUPC(n)
    std::uint8_t field_delimiter = ',';  // DELI
    std::uint8_t command_quote = '"';    // APOS makes it the apostrophe
    std::uint8_t record_quote = '"';     // quote inside delimited records, never changed
    std::uint8_t eof_byte = 26;          // EOF byte, FILE(FE,n)
    std::uint32_t bypass_count = 0;      // BYPA; headers of DB3, CVS, RV
    bool bypass_without_operands = false;
    bool keep_header = false;
    std::string work_directory;  // WorkDirectory; empty: current directory
    bool has_limit = false;      // LIMI, LAST
    std::uint32_t limit = 0;
    bool has_origin = false;  // ORIG
    std::uint32_t origin = 0;
    // Duplicate processing (DUPO, DUPE, DUPI, or SUM acting as DUPO).
    bool dup_processing = false;
    Statement dup_mode = kStmtDUPO;     // kStmtDUPO, kStmtDUPE or kStmtDUPI
    std::uint32_t dup_buffer_size = 0;  // 1000 after DUPO/DUPE/DUPI, 2000 after SUM, or B
    // Offset of position 1 from the record start: 2 for VS, the length-prefix
    // size for RV and CVS (set when their header is checked), 0 otherwise.
    std::uint32_t field_offset = 0;
    std::uint32_t length_prefix_size = 0;  // RV: 1 or 2, CVS: 2 or 4
};

// The statement tables written by the parser.
struct StatementTables {
    std::array<KeyField, kMaxKeyFields> keys{};
    int key_count = 0;
    std::array<DupKey, kDupKeyCapacity> dup_keys{};
    int dup_key_count = 0;
    std::array<Condition, kMaxConditions> conditions{};
    int condition_count = 0;
    std::array<OutField, kOutFieldCapacity> out_fields{};
    int out_field_count = 0;
    std::array<SumField, kMaxSumFields> sum_fields{};
    int sum_field_count = 0;
    AltTable alt_table{};
    std::array<std::uint8_t, kMaxGpDelimiter> gp_delimiter{};
    int gp_delimiter_count = 0;
    std::array<std::uint8_t, kMaxGpEndMarker> gp_end_marker{};
    int gp_end_marker_count = 0;
};

// One record in memory: where it is, how long, its input order, and whether
// selection kept it.
struct RecordRef {
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    std::uint32_t sequence = 0;  // SequenceNumber
    std::uint8_t present = 1;
};

// One entry of the sort's key array: the leading key bytes of a record in a
// byte-comparable form, and the record's place in the RecordRef table.
struct SortKeyEntry {
    std::uint64_t key;
    std::uint32_t index;
    std::uint32_t extra;  // room the alignment leaves; used when the order is applied
};

// A place in a work file where a record starts, and how many records come
// before it.
struct WorkMark {
    off_t offset = 0;
    std::uint32_t records = 0;
};

// Phases of a record-at-a-time session (RawRun).
enum class RaatPhase : std::uint8_t { Closed, Input, Returning, Ended };

// A merge of work files in progress; defined by the merge (merge.h).
struct MergeState;
// Output writes on a helper thread (write_behind.h). Owned through a deleter
// defined there, so that this header needs no more than the name.
class WriteBehind;
struct WriteBehindDeleter {
    void operator()(WriteBehind* writer) const;
};

// Resources of a run, sized by the memory plan and used by reading, sorting,
// merging and writing.
struct RunResources {
    int handle_budget = 0;       // HandleBudget, 4 to 30
    std::size_t block_size = 0;  // BlockSize
    // The input buffers: windows onto input_memory, each block_size bytes
    // plus room for a work-file record header.
    std::vector<LargeBuffer<std::uint8_t>> input_memory;
    std::vector<ByteWindow> input_buffers;
    std::vector<std::size_t> input_used;  // bytes used per input buffer
    LargeBuffer<RecordRef> refs;          // RecordRef table
    std::size_t ref_capacity = 0;         // RefCapacity
    std::size_t ref_count = 0;
    // The sort's key array and its scratch space, allocated at the first
    // sort of a run and kept for the following buffer-fulls.
    LargeBuffer<SortKeyEntry> sort_keys;
    LargeBuffer<SortKeyEntry> sort_scratch;
    LargeBuffer<std::uint8_t> output_buffer;
    std::size_t output_used = 0;
    // With a second core: the buffer being written by output_writer while
    // output_buffer fills, or the helper's buffer of a split write
    // (split_write.h); both of the same size. None with one core.
    LargeBuffer<std::uint8_t> output_spare;
    std::unique_ptr<WriteBehind, WriteBehindDeleter> output_writer;
    // The memory plan left room for output_spare; it and output_writer are
    // made when the output first outgrows one buffer.
    bool write_behind_allowed = false;
    std::vector<std::uint8_t> dup_buffer;
    // Duplicate state.
    bool has_held = false;
    std::uint32_t held_length = 0;
    std::uint32_t held_sequence = 0;
    std::uint32_t dup_count = 0;  // DupCount
    // Work files: n written so far and the first of the current merge.
    int work_file_count = 0;
    int merge_first = 0;
    // The kept header of the first input file. It stays in memory: a file
    // for it would be one more thing a failed run could leave behind.
    std::vector<std::uint8_t> header_bytes;
    bool header_saved = false;
    bool header_copied = false;
    // Open files (POSIX descriptors, -1 when closed). Work files have no
    // name: work file k is work_fds[k - 1] and vanishes when it is closed.
    int input_fd = -1;
    int output_fd = -1;
    std::vector<int> work_fds;
    // The new output file until it replaces the target; output_committed
    // once it has (RecordsWritten then counts records really in the output).
    PendingOutput pending_output;
    bool output_committed = false;
    // Reading.
    std::size_t input_list_position = 0;  // next name in the input list
    std::uint32_t sequence = 0;           // SequenceNumber of the last record framed
    bool input_file_ended = false;
    // The open input file as it was when opened, to notice a change while
    // it is read (only for regular files).
    bool input_checkable = false;
    std::int64_t input_size = 0;
    std::int64_t input_mtime_ns = 0;
    bool input_exhausted = false;
    bool end_marker_seen = false;
    bool output_open = false;
    bool pause_shown = false;
    // Record-at-a-time.
    RaatPhase raat_phase = RaatPhase::Closed;

    // --- Sort/merge core (merge.cpp, output_file.cpp, raw_run.cpp) ---
    bool output_is_work_file = false;  // the open output descriptor is a work file
    // Marks in the work file being written, at least one per output
    // buffer-full, and its records and bytes so far; each work file keeps its
    // marks (work_marks[k - 1]), so that a merge can cut it into parts
    // (split_merge.h).
    std::vector<WorkMark> output_marks;
    std::uint32_t output_records = 0;
    off_t output_bytes = 0;
    std::vector<std::vector<WorkMark>> work_marks;
    std::uint32_t longest_work_record = 0;  // data bytes of the longest record in any work file
    std::shared_ptr<MergeState> merge;      // a merge in progress (s_1raat returns)
    bool raat_from_memory = false;          // s_1raat returns straight from the table
    std::size_t raat_next = 0;              // next table entry to return from memory
    std::size_t raat_buffer = 0;            // input buffer that takes the next release
};

struct EngineState {
    // Call arguments. The texts are copied, so the caller's storage is only
    // read during the call.
    std::string input_list;
    std::string output_name;
    std::string command;
    std::uint32_t owner_window = 0;  // last handle given to s_2mains; survives resets

    // Results.
    std::int32_t return_code = 0;       // ReturnCode
    std::uint32_t records_written = 0;  // RecordsWritten
    bool error = false;

    StatementSet statements;
    Options options;
    StatementTables tables;
    RunResources run;
};

enum class RunKind { File, RecordAtATime };

// The one process-wide state behind the exports.
EngineState& engine_state();

// Resets everything but the owner window to the start of a run. A
// record-at-a-time start has file type FIX without the TXT flag and the
// RawRun flag set. Closes any file still open and frees the buffers.
void reset_engine_state(EngineState& state, RunKind kind);

// Sets ReturnCode and the error flag; always returns false so that a step can
// `return fail(state, code);`. This is the only place that sets a code.
bool fail(EngineState& state, int code);

// Clears the error flag after a step that succeeded.
inline void succeed(EngineState& state) {
    state.error = false;
}

// Waits for an output write in flight on the helper thread; false when one
// failed (the caller reports it).
bool settle_output_writes(RunResources& run);

// Frees the input buffers, the RecordRef table, the output buffer and the
// duplicate buffer, after any output write in flight has ended.
void release_run_memory(EngineState& state);

// Closes every descriptor still open (input, output, work files). Work files
// vanish with their descriptors; an output file not yet in place is thrown
// away, so the target keeps its previous content.
void close_open_files(EngineState& state);

}  // namespace sorvel
