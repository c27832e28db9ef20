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
 *     (or one record-at-a-time session) may be in progress per process.
 *     A call made while a run is in progress (for example from the host's
 *     message callback) is refused with return code 343 and leaves the
 *     running call undisturbed.
 *  5. The input list names one or more files, separated by blanks, commas,
 *     "+", tabs or line feeds; text in "[" "]" is skipped; a name containing
 *     separators is written in the command's quote characters. The files are
 *     read one after the other as one stream of records.
 *  6. The output name is the first name of the output text (same separators,
 *     no quoting); the rest of that text is ignored.
 *  7. Return code 0 is success. Codes 1 to 345 come from running, codes from
 *     10001 on are statement errors; 10301 + 100 * j + k reports two
 *     statements that may not be combined. A statement error returns at once
 *     with a record count of 0, and no file is created or changed.
 *     345: an input file shrank, grew or was rewritten while it was being
 *     read; the output is not replaced.
 *  8. The output is written to a new file beside it, flushed to disk and
 *     renamed over the old output only when the run succeeds. After any
 *     failure (or when the process is killed) the old output is exactly as
 *     it was, with APPEND too, and the record count is 0. So a plain sort may
 *     write an input into itself (211 still guards the other runs). An existing output keeps its permissions; a target
 *     that is a symbolic link has the file it points to replaced; a target
 *     that is not a regular file (a device, a pipe) is written directly.
 *  9. Fields of the data types SP and DP have no comparison of their own:
 *     they are compared as CHA (bytewise, the shorter value smaller when
 *     equal up to its length). E and FL fields of a length other than 4 or 8
 *     are compared as CHA as well. NUM fields longer than 23 bytes are
 *     compared by their first 23 bytes.
 * 10. Work files are created in the directory given by WORK (default: the
 *     current directory) without a name where the file system allows it,
 *     otherwise under an unpredictable hidden name removed at once; only
 *     their owner can read them, and none outlives the run, however it ends.
 */
#ifndef SORVEL32_H
#define SORVEL32_H

#include <stdint.h>

#if defined(__GNUC__)
#define SORVEL_API __attribute__((visibility("default")))
#else
#define SORVEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

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
 * Record-at-a-time interface.
 *   operation 1 start:   data = command text, *length = its length. Starts a
 *                        session (fixed-length records; statements naming
 *                        files are refused with their conflict codes).
 *   operation 2 release: data = one record, *length = its length.
 *                        261 when no session is open, 262 after operation 3.
 *   operation 3 return:  data = a buffer large enough for the longest record;
 *                        receives the next record in output order and its
 *                        length in *length. Returns 1 when no record is left
 *                        (a held duplicate record may come with that call).
 *                        261 when no session is open.
 *   operation 4 end:     deletes the session's work files (312 when one
 *                        cannot be deleted) and releases its memory.
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
 * removes the new output file of the run in progress when it already has a
 * name (where the file system cannot make unnamed files), so that nothing of
 * the run is left beside the untouched old output. Async-signal-safe; does
 * nothing when no run is writing.
 */
SORVEL_API void s_sigclean(void);

#ifdef __cplusplus
}
#endif

#endif /* SORVEL32_H */
