// libFuzzer target for the record readers: the input is the content of an
// input file of one record format, and a whole engine run reads it (header
// check, bypass, framing, giving bytes back between buffers, the sort, work
// files and their merge with a small CORE, trailers). Built once per format
// with FUZZ_FORMAT set (see CMakeLists.txt here and `make fuzz-smoke`).
//
// The file lives in memory (memfd) and is named through /proc/self/fd; the
// output goes to /dev/null. Besides the sanitizers, the run must end with a
// return code the engine documents.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "return_codes.h"
#include "sorvel32.h"

#ifndef FUZZ_FORMAT
#error "FUZZ_FORMAT names the record format: FIX, FE, TXT, VS, RV, CVS, PRE, GP or DB3"
#endif

namespace {

#define FUZZ_TEXT2(x) #x
#define FUZZ_TEXT(x) FUZZ_TEXT2(x)

// The statements that read the format, with a key that reaches past short
// records and a budget small enough for several buffers and work files.
const char* command_for(const std::string& format) {
    if (format == "FIX") return "SORT(2,3,C,A) FILE(FIX,7) CORE(100)";
    if (format == "FE") return "SORT(1,4,C,D) FILE(FE,35) RECO(5) CORE(100)";
    if (format == "TXT") return "SORT(1,6,C,A) CORE(100)";
    if (format == "VS") return "SORT(1,4,C,A) FILE(VS) CORE(100)";
    if (format == "RV") return "SORT(1,4,C,A) FILE(RV) CORE(100)";
    if (format == "CVS") return "SORT(1,4,C,A) FILE(CVS) CORE(100)";
    if (format == "PRE") return "SORT(1,3,C,A) FILE(PRE,6) CORE(100)";
    if (format == "GP") return "SORT(1,4,C,A) FILE(GP,(59,10),(33,33)) CORE(100)";
    if (format == "DB3") return "SORT(2,8,C,A) FILE(DB3) CORE(100)";
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const command = command_for(FUZZ_TEXT(FUZZ_FORMAT));
    if (command == nullptr) std::abort();
    if (size > 64 * 1024) return 0;
    const int fd = memfd_create("fuzz-input", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    char input[64];
    std::snprintf(input, sizeof input, "/proc/self/fd/%d", fd);
    std::uint32_t written = 0;
    std::int32_t code = -1;
    s_1mains(input, "/dev/null", command, &written, &code);
    ::close(fd);
    if (std::strcmp(sorvel::return_code_meaning(code), "unknown return code") == 0) {
        std::fprintf(stderr, "undocumented return code %d\n", code);
        std::abort();
    }
    return 0;
}
