// The run driver: the steps of a run in order, stopping at the first
// failure. The sorting machinery behind each step is in phases.h.
#include "driver.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include "host_hook.h"
#include "parser.h"
#include "phases.h"
#include "return_codes.h"
#include "tokenizer.h"

namespace sorvel {

namespace {

constexpr rlim_t kWantedOpenFiles = 40;

bool same_existing_file(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool needs_collision_check(const StatementSet& s) {
    if (!s.sorting()) return true;
    if (s.has(kStmtOVER)) return false;
    for (Statement st : {kStmtADDR, kStmtKEYO, kStmtINCL, kStmtOMIT, kStmtOUTR, kStmtDUPO,
                         kStmtDUPE, kStmtDUPI, kStmtSUM}) {
        if (s.has(st)) return true;
    }
    return false;
}

// Steps 5 to 9: everything that holds memory or files.
bool run_with_resources(EngineState& s) {
    if (!plan_memory(s)) return false;
    if (!check_header(s)) return false;
    if (s.options.keep_header && !save_header(s)) return false;
    for (;;) {
        drain_messages(s);
        if (!fill_buffers(s)) return false;
        if (s.statements.selecting()) {
            drain_messages(s);
            if (!select_records(s)) return false;
        }
        if (s.statements.sorting()) {
            drain_messages(s);
            sort_in_memory(s);
        }
        const Destination destination = choose_destination(s);
        if (destination != Destination::Nothing) {
            drain_messages(s);
            if (!write_records(s, destination)) return false;
            if (s.run.work_file_count >= s.run.handle_budget - 2 && !s.run.input_exhausted) {
                drain_messages(s);
                if (!intermediate_merge(s)) return false;
            }
        }
        if (s.run.input_exhausted) break;
    }
    if (s.run.work_file_count > 0) {
        drain_messages(s);
        if (!final_merge(s)) return false;
    }
    return true;
}

}  // namespace

std::string first_name(std::string_view text, int quote) {
    Tokenizer tokens(text);
    const auto t = tokens.next(kNameSeparators, quote);
    return t ? std::string(tokens.view(*t)) : std::string();
}

bool check_output_collision(EngineState& s) {
    if (!needs_collision_check(s.statements)) return true;
    // The names are cut exactly as the reading step cuts them, so that every
    // file that will be read is compared with the output.
    Tokenizer tokens(s.input_list);
    bool any = false;
    while (const auto t = tokens.next(kNameSeparators, s.options.command_quote)) {
        any = true;
        const std::string name(tokens.view(*t));
        if (name == s.output_name || same_existing_file(name, s.output_name)) {
            return fail(s, rc::kOutputIsInput);
        }
    }
    if (!any) return fail(s, rc::kNoInputName);
    return true;
}

void clean_up(EngineState& s) {
    release_run_memory(s);
    close_open_files(s);
    // A failed run leaves the target as it was, so none of the records it
    // counted is in the output.
    if (s.return_code != rc::kOk && !s.run.output_committed) s.records_written = 0;
}

void raise_open_file_allowance() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    if (limit.rlim_cur >= kWantedOpenFiles) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= kWantedOpenFiles
                         ? kWantedOpenFiles
                         : limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);  // best effort: the probe measures what we got
}

void run_sort(EngineState& s, std::string_view input_list, std::string_view output_text,
              std::string_view command) {
    reset_engine_state(s, RunKind::File);
    s.input_list.assign(input_list);
    s.command.assign(command);
    raise_open_file_allowance();
    s.output_name = first_name(output_text, kNoQuote);

    if (!parse_command(s)) return;
    if (!probe_work_files(s)) return;
    if (!check_output_collision(s)) return;
    run_with_resources(s);
    clean_up(s);
}

}  // namespace sorvel
