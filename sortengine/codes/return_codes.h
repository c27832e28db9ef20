// Return codes of the engine and their meanings: the one table that the
// engine, the sorvel command and the catalogue share (the static library
// sorvel_codes), so that a code reads the same wherever it is shown.
//
// The numbers are those of the public header; the short names here are the
// ones the engine's code uses.
#pragma once

#include "sorvel32.h"

namespace sorvel::rc {

inline constexpr int kOk = SORVEL_RC_OK;
inline constexpr int kNoMoreRecords = SORVEL_RC_NO_MORE_RECORDS;

// Statement operands.
inline constexpr int kUnknownStatement = SORVEL_RC_UNKNOWN_STATEMENT;
inline constexpr int kBadPosition = SORVEL_RC_BAD_POSITION;
inline constexpr int kBadLength = SORVEL_RC_BAD_LENGTH;
inline constexpr int kBadDataType = SORVEL_RC_BAD_DATA_TYPE;
inline constexpr int kBadOperator = SORVEL_RC_BAD_OPERATOR;
inline constexpr int kTooManyEntries = SORVEL_RC_TOO_MANY_ENTRIES;
inline constexpr int kBadConstant = SORVEL_RC_BAD_CONSTANT;
inline constexpr int kBadConnector = SORVEL_RC_BAD_CONNECTOR;
inline constexpr int kBadOrder = SORVEL_RC_BAD_ORDER;
inline constexpr int kAltWithoutAlts = SORVEL_RC_ALT_WITHOUT_ALTS;
inline constexpr int kSumWithoutSort = SORVEL_RC_SUM_WITHOUT_SORT;
inline constexpr int kBadSpecialField = SORVEL_RC_BAD_SPECIAL_FIELD;
inline constexpr int kRawSortWithOutr = SORVEL_RC_RAW_SORT_WITH_OUTR;
inline constexpr int kFeWithoutReco = SORVEL_RC_FE_WITHOUT_RECO;  // also SUM with DUPO/DUPE/DUPI

// Statement syntax.
inline constexpr int kAddrSyntax = SORVEL_RC_ADDR_SYNTAX;
inline constexpr int kBypaSyntax = SORVEL_RC_BYPA_SYNTAX;
inline constexpr int kInclSyntax = SORVEL_RC_INCL_SYNTAX;
inline constexpr int kKeyoSyntax = SORVEL_RC_KEYO_SYNTAX;
inline constexpr int kLimiSyntax = SORVEL_RC_LIMI_SYNTAX;
inline constexpr int kOmitSyntax = SORVEL_RC_OMIT_SYNTAX;
inline constexpr int kOutrSyntax = SORVEL_RC_OUTR_SYNTAX;
inline constexpr int kRecoSyntax = SORVEL_RC_RECO_SYNTAX;
inline constexpr int kSortSyntax = SORVEL_RC_SORT_SYNTAX;
inline constexpr int kFileFixLength = SORVEL_RC_FILE_FIX_LENGTH;
inline constexpr int kFileFeMarker = SORVEL_RC_FILE_FE_MARKER;
inline constexpr int kFileBtRefused = SORVEL_RC_FILE_BT_REFUSED;
inline constexpr int kFileGpSyntax = SORVEL_RC_FILE_GP_SYNTAX;
inline constexpr int kFileType = SORVEL_RC_FILE_TYPE;
inline constexpr int kCoreSyntax = SORVEL_RC_CORE_SYNTAX;
inline constexpr int kDeliSyntax = SORVEL_RC_DELI_SYNTAX;
inline constexpr int kWorkSyntax = SORVEL_RC_WORK_SYNTAX;
inline constexpr int kAltsSyntax = SORVEL_RC_ALTS_SYNTAX;
inline constexpr int kDupSyntax = SORVEL_RC_DUP_SYNTAX;
inline constexpr int kOrigSyntax = SORVEL_RC_ORIG_SYNTAX;
inline constexpr int kOpenSyntax = SORVEL_RC_OPEN_SYNTAX;
inline constexpr int kSumSyntax = SORVEL_RC_SUM_SYNTAX;
inline constexpr int kConflictBase = SORVEL_RC_CONFLICT_BASE;
inline constexpr int kConflictLast = SORVEL_RC_CONFLICT_LAST;

// Input and output files.
inline constexpr int kOutputOpen = SORVEL_RC_OUTPUT_OPEN;
inline constexpr int kOutputIsInput = SORVEL_RC_OUTPUT_IS_INPUT;
inline constexpr int kNoInputName = SORVEL_RC_NO_INPUT_NAME;
inline constexpr int kInputOpen = SORVEL_RC_INPUT_OPEN;
inline constexpr int kHeaderCreate = SORVEL_RC_HEADER_CREATE;
inline constexpr int kInputRead = SORVEL_RC_INPUT_READ;
inline constexpr int kInputTooShort = SORVEL_RC_INPUT_TOO_SHORT;
inline constexpr int kHeaderWrite = SORVEL_RC_HEADER_WRITE;
inline constexpr int kHeaderShortWrite = SORVEL_RC_HEADER_SHORT_WRITE;
inline constexpr int kInputClose = SORVEL_RC_INPUT_CLOSE;
inline constexpr int kHeaderClose = SORVEL_RC_HEADER_CLOSE;
inline constexpr int kInputSeek = SORVEL_RC_INPUT_SEEK;
inline constexpr int kOutputWrite = SORVEL_RC_OUTPUT_WRITE;
inline constexpr int kHeaderOpenForCopy = SORVEL_RC_HEADER_OPEN_FOR_COPY;
inline constexpr int kHeaderReadForCopy = SORVEL_RC_HEADER_READ_FOR_COPY;
inline constexpr int kHeaderCopyWrite = SORVEL_RC_HEADER_COPY_WRITE;
inline constexpr int kHeaderCloseAfterCopy = SORVEL_RC_HEADER_CLOSE_AFTER_COPY;
inline constexpr int kOutputClose = SORVEL_RC_OUTPUT_CLOSE;
inline constexpr int kOutputRecordTooLong = SORVEL_RC_OUTPUT_RECORD_TOO_LONG;
inline constexpr int kDb3CountWrite = SORVEL_RC_DB3_COUNT_WRITE;
inline constexpr int kHeaderDelete = SORVEL_RC_HEADER_DELETE;
inline constexpr int kEndMarkerWrite = SORVEL_RC_END_MARKER_WRITE;

// Memory, work files, record-at-a-time.
inline constexpr int kNoMemory = SORVEL_RC_NO_MEMORY;
inline constexpr int kWorkOpenForMerge = SORVEL_RC_WORK_OPEN_FOR_MERGE;
inline constexpr int kMergeOutputClose = SORVEL_RC_MERGE_OUTPUT_CLOSE;
inline constexpr int kRecordTooLong = SORVEL_RC_RECORD_TOO_LONG;
inline constexpr int kWorkRecordTooLong = SORVEL_RC_WORK_RECORD_TOO_LONG;
inline constexpr int kDupBufferTooSmall = SORVEL_RC_DUP_BUFFER_TOO_SMALL;
inline constexpr int kRaatUnknownOperation = SORVEL_RC_RAAT_UNKNOWN_OPERATION;
inline constexpr int kRaatNotOpen = SORVEL_RC_RAAT_NOT_OPEN;
inline constexpr int kRaatReleaseAfterReturn = SORVEL_RC_RAAT_RELEASE_AFTER_RETURN;
inline constexpr int kMergeFileRename = SORVEL_RC_MERGE_FILE_RENAME;
inline constexpr int kWorkCloseAfterMerge = SORVEL_RC_WORK_CLOSE_AFTER_MERGE;
inline constexpr int kWorkDelete = SORVEL_RC_WORK_DELETE;
inline constexpr int kWorkRead = SORVEL_RC_WORK_READ;
inline constexpr int kWorkBlockInconsistent = SORVEL_RC_WORK_BLOCK_INCONSISTENT;
inline constexpr int kGiveBackSeek = SORVEL_RC_GIVE_BACK_SEEK;
inline constexpr int kProbeCreate = SORVEL_RC_PROBE_CREATE;
inline constexpr int kProbeTooFewHandles = SORVEL_RC_PROBE_TOO_FEW_HANDLES;
inline constexpr int kProbeHandleClose = SORVEL_RC_PROBE_HANDLE_CLOSE;
inline constexpr int kProbeDelete = SORVEL_RC_PROBE_DELETE;
inline constexpr int kProbeCloseCreated = SORVEL_RC_PROBE_CLOSE_CREATED;
inline constexpr int kProbeReopen = SORVEL_RC_PROBE_REOPEN;
inline constexpr int kNoFreeInputBuffer = SORVEL_RC_NO_FREE_INPUT_BUFFER;
// Calls made while another is in progress in this process (from the host's
// message callback or another thread) are refused instead of disturbing it.
inline constexpr int kRunInProgress = SORVEL_RC_RUN_IN_PROGRESS;
// s_1raat operation 2 or 3 without a data buffer.
inline constexpr int kRaatNoBuffer = SORVEL_RC_RAAT_NO_BUFFER;
// An input file shrank, grew or was rewritten while the run read it.
inline constexpr int kInputChanged = SORVEL_RC_INPUT_CHANGED;

}  // namespace sorvel::rc

namespace sorvel {

// The meaning of a return code as one line of text, for messages and logs.
// Unknown codes give "unknown return code"; the conflict codes name their
// two statements. The text is static and safe to read from any thread.
const char* return_code_meaning(int code);

}  // namespace sorvel
