/*
 * sorvel32: the sort/merge engine.
 *
 * The engine sorts, merges, copies, selects, reformats, removes or counts
 * duplicates and sums files of records under the control of a command text
 * written in its statement language, for example
 *
 *   S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) Include(1,40,C,GT,"000000") Record(649)
 *
 * Calling conventions:
 *
 *  1. All exports have C linkage and return nothing. Results come back through
 *     the pointers the caller passes; every call writes them before it
 *     returns, also when it fails. A null result pointer is skipped.
 *  2. Integers are 32-bit (the s_1raat operation is 16-bit). Texts are bytes
 *     in the caller's code page; the engine copies what it needs and never
 *     keeps or frees the caller's memory.
 *  3. s_1mains takes zero-terminated texts; s_2mains takes counted texts
 *     (only the counted bytes are used; they need not be zero-terminated).
 *     A null text counts as empty.
 *  4. Runs are synchronous and use one process-wide run state: only one run
 *     (or one record-at-a-time call) may be in progress per process at a
 *     time. A call made while another is in progress, from the host's
 *     message callback or from another thread, is refused with return code
 *     343 (SORVEL_RC_RUN_IN_PROGRESS), gets a record count of 0 and leaves
 *     the running call undisturbed. A record-at-a-time session open between
 *     calls does not make other calls fail, but a run of s_1mains or
 *     s_2mains resets the state and so ends that session.
 *  5. The input list names one or more files, separated by blanks, commas,
 *     "+", tabs or line feeds; text in "[" "]" is skipped; a name containing
 *     separators is written in the command's quote characters. The files are
 *     read one after the other as one stream of records.
 *  6. The output name is the first name of the output text (same separators,
 *     no quoting); the rest of that text is ignored.
 *  7. Return code 0 is success. Codes 1 to 345 come from running, codes from
 *     10001 on are statement errors; 10301 + 100 * j + k reports two
 *     statements that may not be combined. A statement error returns at once
 *     with a record count of 0, and no file is created or changed. The codes
 *     are named below (enum sorvel_return_code).
 *     345: an input file that is a regular file shrank, grew or was
 *     rewritten while it was being read; the output is not replaced.
 *  8. The output is written to a new file beside it, flushed to disk and
 *     renamed over the old output only when the run succeeds. After any
 *     failure (or when the process is killed) the old output is exactly as
 *     it was, with APPEND too, and the record count is 0; the new file
 *     and the work files of the run are gone (see 10 and s_sigclean). So a
 *     plain sort may write an input into itself (211 still guards the other
 *     runs). An existing output keeps its permissions; a target that is a
 *     symbolic link has the file it points to replaced; a target that is not
 *     a regular file (a device, a pipe) is written directly.
 *  9. Fields of the data types SP and DP have no comparison of their own:
 *     they are compared as CHA (bytewise, the shorter value smaller when
 *     equal up to its length). E and FL fields of a length other than 4 or 8
 *     are compared as CHA as well. NUM fields longer than 23 bytes are
 *     compared by their first 23 bytes. A NUM value is the decimal number
 *     at the start of its text (white space, sign, digits, point, exponent);
 *     text without one, hexadecimal numbers, inf and nan are 0. Each value
 *     is read as EBCDIC when its own first byte is an EBCDIC number
 *     character (blank, digit, point, sign, tab), otherwise as ASCII.
 * 10. Work files are created in the directory given by WORK (default: the
 *     current directory) without a name where the file system allows it,
 *     otherwise under an unpredictable hidden name removed at once; only
 *     their owner can read them, and closing one removes it, so none
 *     outlives the run, however it ends. The bypassed header of an input is
 *     kept in memory. So the codes that name a header file or a work file
 *     by name (215, 218, 219, 301, 302, 304, 310, 320, 332, 333, 334) are
 *     listed for callers that word every code but are not returned.
 * 11. Where the output may not be one of the inputs (211), the check cuts
 *     the input list into names exactly as reading does (commas included),
 *     so that no file that is read can be the output; the same existing
 *     file under another name counts too.
 * 12. An unfinished last record of an input file is dropped silently, unless
 *     it is longer than the input buffers: then it gives 245, as any record
 *     that does not fit into them.
 */
#ifndef SORVEL32_H
#define SORVEL32_H

#include <stdint.h>

/* The version of this interface; the major number is the library's SONAME
 * (libsorvel32.so.1) and changes only when an existing call changes. */
#define SORVEL32_VERSION_MAJOR 1
#define SORVEL32_VERSION_MINOR 0
#define SORVEL32_VERSION_PATCH 0
#define SORVEL32_VERSION "1.0.0"

#if defined(__GNUC__)
#define SORVEL_API __attribute__((visibility("default")))
#else
#define SORVEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Return codes (see 7). The words for each are in the sorvel command's
 * messages; the numbers never change. */
enum sorvel_return_code {
    SORVEL_RC_OK = 0,
    /* s_1raat operation 3: no record left. */
    SORVEL_RC_NO_MORE_RECORDS = 1,

    /* Statement operands. */
    SORVEL_RC_UNKNOWN_STATEMENT = 201,
    SORVEL_RC_BAD_POSITION = 202,
    SORVEL_RC_BAD_LENGTH = 203,
    SORVEL_RC_BAD_DATA_TYPE = 204,
    SORVEL_RC_BAD_OPERATOR = 205,
    SORVEL_RC_TOO_MANY_ENTRIES = 206,
    SORVEL_RC_BAD_CONSTANT = 207,
    SORVEL_RC_BAD_CONNECTOR = 208,
    SORVEL_RC_BAD_ORDER = 209,
    SORVEL_RC_ALT_WITHOUT_ALTS = 242,
    SORVEL_RC_SUM_WITHOUT_SORT = 257,
    SORVEL_RC_BAD_SPECIAL_FIELD = 323,
    SORVEL_RC_RAW_SORT_WITH_OUTR = 10708,
    /* FILE(FE) without RECO, or SUM with DUPO, DUPE or DUPI. */
    SORVEL_RC_FE_WITHOUT_RECO = 15762,

    /* Statement syntax. */
    SORVEL_RC_ADDR_SYNTAX = 10001,
    SORVEL_RC_BYPA_SYNTAX = 10002,
    SORVEL_RC_INCL_SYNTAX = 10003,
    SORVEL_RC_KEYO_SYNTAX = 10004,
    SORVEL_RC_LIMI_SYNTAX = 10005,
    SORVEL_RC_OMIT_SYNTAX = 10006,
    SORVEL_RC_OUTR_SYNTAX = 10007,
    SORVEL_RC_RECO_SYNTAX = 10009,
    SORVEL_RC_SORT_SYNTAX = 10010,
    SORVEL_RC_FILE_FIX_LENGTH = 10011,
    SORVEL_RC_FILE_FE_MARKER = 10012,
    SORVEL_RC_FILE_BT_REFUSED = 10015,
    SORVEL_RC_FILE_GP_SYNTAX = 10019,
    SORVEL_RC_FILE_TYPE = 10033,
    SORVEL_RC_CORE_SYNTAX = 10051,
    SORVEL_RC_DELI_SYNTAX = 10052,
    SORVEL_RC_WORK_SYNTAX = 10054,
    SORVEL_RC_ALTS_SYNTAX = 10055,
    SORVEL_RC_DUP_SYNTAX = 10056,
    SORVEL_RC_ORIG_SYNTAX = 10057,
    SORVEL_RC_OPEN_SYNTAX = 10058,
    SORVEL_RC_SUM_SYNTAX = 10062,
    /* Two statements that may not be combined: SORVEL_RC_CONFLICT_BASE +
     * 100 * j + k, up to SORVEL_RC_CONFLICT_LAST. */
    SORVEL_RC_CONFLICT_BASE = 10301,
    SORVEL_RC_CONFLICT_LAST = 12120,

    /* Input and output files. */
    SORVEL_RC_OUTPUT_OPEN = 210,
    SORVEL_RC_OUTPUT_IS_INPUT = 211,
    SORVEL_RC_NO_INPUT_NAME = 213,
    SORVEL_RC_INPUT_OPEN = 214,
    SORVEL_RC_HEADER_CREATE = 215,
    SORVEL_RC_INPUT_READ = 216,
    SORVEL_RC_INPUT_TOO_SHORT = 217,
    SORVEL_RC_HEADER_WRITE = 218,
    SORVEL_RC_HEADER_SHORT_WRITE = 219,
    SORVEL_RC_INPUT_CLOSE = 220,
    SORVEL_RC_HEADER_CLOSE = 221,
    SORVEL_RC_INPUT_SEEK = 227,
    SORVEL_RC_OUTPUT_WRITE = 240,
    SORVEL_RC_HEADER_OPEN_FOR_COPY = 301,
    SORVEL_RC_HEADER_READ_FOR_COPY = 302,
    SORVEL_RC_HEADER_COPY_WRITE = 303,
    SORVEL_RC_HEADER_CLOSE_AFTER_COPY = 304,
    SORVEL_RC_OUTPUT_CLOSE = 307,
    SORVEL_RC_OUTPUT_RECORD_TOO_LONG = 315,
    SORVEL_RC_DB3_COUNT_WRITE = 319,
    SORVEL_RC_HEADER_DELETE = 320,
    SORVEL_RC_END_MARKER_WRITE = 321,
    /* An input file changed while it was read (see 7). */
    SORVEL_RC_INPUT_CHANGED = 345,

    /* Memory, work files, record-at-a-time, the process. */
    SORVEL_RC_NO_MEMORY = 225,
    SORVEL_RC_WORK_OPEN_FOR_MERGE = 229,
    SORVEL_RC_MERGE_OUTPUT_CLOSE = 231,
    SORVEL_RC_RECORD_TOO_LONG = 245,
    SORVEL_RC_WORK_RECORD_TOO_LONG = 246,
    SORVEL_RC_DUP_BUFFER_TOO_SMALL = 256,
    SORVEL_RC_RAAT_UNKNOWN_OPERATION = 260,
    SORVEL_RC_RAAT_NOT_OPEN = 261,
    SORVEL_RC_RAAT_RELEASE_AFTER_RETURN = 262,
    SORVEL_RC_MERGE_FILE_RENAME = 310,
    SORVEL_RC_WORK_CLOSE_AFTER_MERGE = 311,
    SORVEL_RC_WORK_DELETE = 312,
    SORVEL_RC_WORK_READ = 313,
    SORVEL_RC_WORK_BLOCK_INCONSISTENT = 314,
    SORVEL_RC_GIVE_BACK_SEEK = 322,
    SORVEL_RC_PROBE_CREATE = 329,
    SORVEL_RC_PROBE_TOO_FEW_HANDLES = 330,
    SORVEL_RC_PROBE_HANDLE_CLOSE = 331,
    SORVEL_RC_PROBE_DELETE = 332,
    SORVEL_RC_PROBE_CLOSE_CREATED = 333,
    SORVEL_RC_PROBE_REOPEN = 334,
    SORVEL_RC_NO_FREE_INPUT_BUFFER = 342,
    /* Another call is in progress in this process (see 4). */
    SORVEL_RC_RUN_IN_PROGRESS = 343,
    /* s_1raat operation 2 or 3 without a data buffer. */
    SORVEL_RC_RAAT_NO_BUFFER = 344
};

/* The operations of s_1raat. */
enum sorvel_raat_operation {
    SORVEL_RAAT_START = 1,
    SORVEL_RAAT_RELEASE = 2,
    SORVEL_RAAT_RETURN = 3,
    SORVEL_RAAT_END = 4
};

/*
 * Runs one sort, merge or copy.
 *   input_list      file names (see 5), zero-terminated
 *   output_name     output file name (see 6), zero-terminated
 *   command         control statements, zero-terminated
 *   records_written receives the number of records written to the output
 *   return_code     receives the return code (see 7)
 */
SORVEL_API void s_1mains(const char* input_list, const char* output_name, const char* command,
                         uint32_t* records_written, int32_t* return_code);

/*
 * As s_1mains, with counted texts and the handle of the window that owns the
 * diskette message of PAUS (passed to the host's pause callback; it is kept
 * for later runs of s_1mains as well).
 */
SORVEL_API void s_2mains(uint32_t owner_window, const char* input_list, int32_t input_length,
                         const char* output_name, int32_t output_length, const char* command,
                         int32_t command_length, uint32_t* records_written, int32_t* return_code);

/*
 * Record-at-a-time interface (operation: enum sorvel_raat_operation).
 *   1 SORVEL_RAAT_START:   data = command text, *length = its length. Starts
 *                          a session (fixed-length records; statements
 *                          naming files are refused with their conflict
 *                          codes).
 *   2 SORVEL_RAAT_RELEASE: data = one record, *length = its length.
 *                          261 when no session is open, 262 after
 *                          operation 3.
 *   3 SORVEL_RAAT_RETURN:  data = a buffer large enough for the longest
 *                          record; receives the next record in output order
 *                          and its length in *length. Returns 1 when no
 *                          record is left (a held duplicate record may come
 *                          with that call). 261 when no session is open.
 *   4 SORVEL_RAAT_END:     closes, and so removes, the session's work files
 *                          (312 when one cannot be closed) and releases its
 *                          memory.
 *   Operations 2 and 3 without a data buffer give 344.
 *   Any other operation gives 260. Every failure closes the session; a new
 *   operation 1 is needed then. Operations 2 to 4 leave the return code of
 *   the previous call when they set none.
 */
SORVEL_API void s_1raat(int16_t operation, void* data, uint32_t* length, int32_t* return_code);

/*
 * Host hook. A windowed caller registers:
 *   drain  called between the long steps of a run (before each read, select,
 *          sort, write and merge step, before each input file is opened and
 *          before each block is read or written) unless the command has NOYI;
 *          it should process pending window messages without waiting.
 *   pause  called once per run before the output file is created when the
 *          command has PAUS, with the owner window of s_2mains (0 when none),
 *          the message text and its title; it should show the message with an
 *          OK button and return when it is dismissed.
 * Either callback may be null. Without a drain callback draining does
 * nothing; without a pause callback the message goes to stderr. context is
 * passed back unchanged. Registering again replaces the earlier hook;
 * s_sethost(0, 0, 0) removes it. Do not call it during a run.
 */
typedef void (*sorvel_drain_fn)(void* context);
typedef void (*sorvel_pause_fn)(void* context, uint32_t owner_window, const char* text,
                                const char* title);
SORVEL_API void s_sethost(sorvel_drain_fn drain, sorvel_pause_fn pause, void* context);

/*
 * For a program's handler of SIGINT, SIGTERM or SIGHUP that ends the process:
 * removes the new output file of the run in progress while it has a name
 * (all along where the file system cannot make unnamed files; otherwise only
 * in the moment between naming the finished file and moving it over the old
 * output), so that nothing of the run is left beside the untouched old
 * output. Work files need none: they lose any name as they are created.
 * Async-signal-safe; does nothing when no run is writing.
 */
SORVEL_API void s_sigclean(void);

#ifdef __cplusplus
}
#endif

#endif /* SORVEL32_H */
