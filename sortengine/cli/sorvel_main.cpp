// sorvel: runs the sort engine from a shell.
//
//   sorvel [-q] INPUT-LIST OUTPUT 'COMMAND'
//
// Prints the number of records written; on failure prints the return code
// and its meaning to stderr and exits with status 1 (2 for a usage error).
// PAUS prompts on the terminal and waits for Enter.
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "return_codes.h"
#include "sorvel32.h"

namespace {

constexpr const char* kUsage = "usage: sorvel [-q] INPUT-LIST OUTPUT 'COMMAND'\n";

constexpr const char* kHelp = R"(usage: sorvel [-q] INPUT-LIST OUTPUT 'COMMAND'

Sorts, merges, copies, selects, reformats and sums files of records.

  INPUT-LIST  one or more input files, separated by blanks, commas or "+";
              they are read one after the other as one stream of records
  OUTPUT      the output file (created, or replaced when the run succeeds;
              a failed or interrupted run leaves it as it was)
  COMMAND     control statements, for example 'SORT(1,10,C,A) RECORD(100)'
  -q          do not print the number of records written

Statements (a statement may be shortened, e.g. S for SORT, R for RECORD):
  SORT(pos,len,type,A|D ...)   sort keys; type C (characters), ALP (case
                               blind), N (numeric text), I, BI, PD, ZD, E ...
  MERGE(...)                   as SORT
  RECORD(n)                    fixed-length records of n bytes
  FILE(type[,n])               record format: TXT (lines ending CR LF, the
                               default), FIX,n  FE  VS  RV  CVS  PRE,n
                               GP,(delimiter bytes),(end bytes)  DB3;
                               lines ending in LF alone: FILE(GP,(10),())
  INCLUDE(pos,len,type,op,"constant" [,AND|OR ...])   keep matching records
  OMIT(...)                    drop matching records; op EQ NE GT GE LT LE CO
  OUTREC(pos,len, "literal", CRLF, ARRN, RRN, RECL, DUPC ...)  output layout
  DUPO  DUPE  DUPI             keep one record per key / only unique keys /
                               only repeated keys (optionally (pos,len ...))
  SUM(pos,len,type ...)        add fields of equal keys (BI, I, PD, ZD, NUM, E)
  LIMIT(n)  ORIGIN(n)          stop after / start at input record n
  BYPASS(n,D|R)                skip n header bytes of each input (R keeps it)
  APPEND                       extend the output instead of replacing it
  WORK(dir/)                   directory of the work files (default: here)
  CORE(kb)                     memory budget in kilobytes (0: largest)
  ALTSEQ(file)                 alternate collating table for type ALT
  PAUSE                        ask before the output file is created

Examples:
  sorvel names.txt sorted.txt 'SORT(1,20,C,A)'
  sorvel /etc/services services.sorted 'SORT(1,16,C,A) FILE(GP,(10),())'
  sorvel master.dat index.dat 'S(1,40,C,A) OUTREC(1,40,ARRN,CRLF) RECORD(649)'
  sorvel a.txt+b.txt out.txt 'S(1,8,C,A) DUPO(1,8)'
  sorvel sales.txt totals.txt 'S(1,6,C,A) SUM(8,10,NUM)'

On success the number of records written is printed. On failure the return
code and its meaning go to stderr and the exit status is 1.
)";

// PAUS: the message goes to the terminal and the run waits for Enter.
void pause_prompt(void*, std::uint32_t, const char* text, const char* title) {
    std::string shown;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c != '\r') shown += *c;
    }
    std::fprintf(stderr, "%s: %s [Enter] ", title, shown.c_str());
    std::fflush(stderr);
    FILE* terminal = std::fopen("/dev/tty", "r");
    FILE* answer = terminal != nullptr ? terminal : (isatty(STDIN_FILENO) ? stdin : nullptr);
    if (answer != nullptr) {
        int c;
        while ((c = std::fgetc(answer)) != EOF && c != '\n') {
        }
    }
    if (terminal != nullptr) std::fclose(terminal);
    std::fputc('\n', stderr);
}

// Interrupted, hung up or told to stop: whatever the run wrote goes, the old
// output stays as it was, and the signal then ends the program as usual.
void stop_on_signal(int signal_number) {
    s_sigclean();
    std::raise(signal_number);  // the handler was reset: this ends the process
}

void handle_stop_signals() {
    struct sigaction action {};
    action.sa_handler = stop_on_signal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    bool quiet = false;
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "-q") == 0) {
        quiet = true;
        first = 2;
    }
    if (argc - first != 3) {
        std::fputs(kUsage, stderr);
        std::fputs("Try 'sorvel --help' for the statements.\n", stderr);
        return 2;
    }
    s_sethost(nullptr, pause_prompt, nullptr);
    handle_stop_signals();
    std::uint32_t written = 0;
    std::int32_t code = 0;
    s_1mains(argv[first], argv[first + 1], argv[first + 2], &written, &code);
    if (code != 0) {
        std::fprintf(stderr, "sorvel: return code %d: %s (%u records written)\n",
                     static_cast<int>(code), sorvel::return_code_meaning(code), written);
        return 1;
    }
    if (!quiet) std::printf("%u\n", written);
    return 0;
}
