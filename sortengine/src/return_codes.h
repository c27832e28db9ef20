// Return codes of the engine and their meanings.
//
// 0 is success. Codes 1 to 342 come from running (or from reading a
// statement's operands); codes from 10001 on are statement errors of the
// parser and the final checks, including the conflict codes
// 10301 + 100 * j + k for two statements j < k that may not be combined.
#pragma once

namespace sorvel::rc {

inline constexpr int kOk = 0;
inline constexpr int kNoMoreRecords = 1;

// Statement operands.
inline constexpr int kUnknownStatement = 201;
inline constexpr int kBadPosition = 202;
inline constexpr int kBadLength = 203;
inline constexpr int kBadDataType = 204;
inline constexpr int kBadOperator = 205;
inline constexpr int kTooManyEntries = 206;
inline constexpr int kBadConstant = 207;
inline constexpr int kBadConnector = 208;
inline constexpr int kBadOrder = 209;
inline constexpr int kAltWithoutAlts = 242;
inline constexpr int kSumWithoutSort = 257;
inline constexpr int kBadSpecialField = 323;
inline constexpr int kRawSortWithOutr = 10708;
inline constexpr int kFeWithoutReco = 15762;  // also SUM with DUPO/DUPE/DUPI

// Statement syntax.
inline constexpr int kAddrSyntax = 10001;
inline constexpr int kBypaSyntax = 10002;
inline constexpr int kInclSyntax = 10003;
inline constexpr int kKeyoSyntax = 10004;
inline constexpr int kLimiSyntax = 10005;
inline constexpr int kOmitSyntax = 10006;
inline constexpr int kOutrSyntax = 10007;
inline constexpr int kRecoSyntax = 10009;
inline constexpr int kSortSyntax = 10010;
inline constexpr int kFileFixLength = 10011;
inline constexpr int kFileFeMarker = 10012;
inline constexpr int kFileBtRefused = 10015;
inline constexpr int kFileGpSyntax = 10019;
inline constexpr int kFileType = 10033;
inline constexpr int kCoreSyntax = 10051;
inline constexpr int kDeliSyntax = 10052;
inline constexpr int kWorkSyntax = 10054;
inline constexpr int kAltsSyntax = 10055;
inline constexpr int kDupSyntax = 10056;
inline constexpr int kOrigSyntax = 10057;
inline constexpr int kOpenSyntax = 10058;
inline constexpr int kSumSyntax = 10062;
inline constexpr int kConflictBase = 10301;
inline constexpr int kConflictLast = 12120;

// Input and output files.
inline constexpr int kOutputOpen = 210;
inline constexpr int kOutputIsInput = 211;
inline constexpr int kNoInputName = 213;
inline constexpr int kInputOpen = 214;
inline constexpr int kHeaderCreate = 215;
inline constexpr int kInputRead = 216;
inline constexpr int kInputTooShort = 217;
inline constexpr int kHeaderWrite = 218;
inline constexpr int kHeaderShortWrite = 219;
inline constexpr int kInputClose = 220;
inline constexpr int kHeaderClose = 221;
inline constexpr int kInputSeek = 227;
inline constexpr int kOutputWrite = 240;
inline constexpr int kHeaderOpenForCopy = 301;
inline constexpr int kHeaderReadForCopy = 302;
inline constexpr int kHeaderCopyWrite = 303;
inline constexpr int kHeaderCloseAfterCopy = 304;
inline constexpr int kOutputClose = 307;
inline constexpr int kOutputRecordTooLong = 315;
inline constexpr int kDb3CountWrite = 319;
inline constexpr int kHeaderDelete = 320;
inline constexpr int kEndMarkerWrite = 321;

// Memory, work files, record-at-a-time.
inline constexpr int kNoMemory = 225;
inline constexpr int kWorkOpenForMerge = 229;
inline constexpr int kMergeOutputClose = 231;
inline constexpr int kRecordTooLong = 245;
inline constexpr int kWorkRecordTooLong = 246;
inline constexpr int kDupBufferTooSmall = 256;
inline constexpr int kRaatUnknownOperation = 260;
inline constexpr int kRaatNotOpen = 261;
inline constexpr int kRaatReleaseAfterReturn = 262;
inline constexpr int kMergeFileRename = 310;
inline constexpr int kWorkCloseAfterMerge = 311;
inline constexpr int kWorkDelete = 312;
inline constexpr int kWorkRead = 313;
inline constexpr int kWorkBlockInconsistent = 314;
inline constexpr int kGiveBackSeek = 322;
inline constexpr int kProbeCreate = 329;
inline constexpr int kProbeTooFewHandles = 330;
inline constexpr int kProbeHandleClose = 331;
inline constexpr int kProbeDelete = 332;
inline constexpr int kProbeCloseCreated = 333;
inline constexpr int kProbeReopen = 334;
inline constexpr int kNoFreeInputBuffer = 342;
// Calls made while a run is in progress in this process (for example from
// the host's message callback) are refused instead of disturbing that run.
inline constexpr int kRunInProgress = 343;
// s_1raat operation 2 or 3 without a data buffer.
inline constexpr int kRaatNoBuffer = 344;
// An input file shrank, grew or was rewritten while the run read it.
inline constexpr int kInputChanged = 345;

}  // namespace sorvel::rc

namespace sorvel {

// The meaning of a return code as one line of text, for messages and logs.
// Unknown codes give "unknown return code". The text is static.
const char* return_code_meaning(int code);

}  // namespace sorvel
