// The preload numbers the calls it should and hits exactly the one asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"

namespace fs = std::filesystem;
using fault_inject::Fault;

namespace {

struct Probe {
    fault_inject::ChildResult result;
    std::map<std::string, long> counts;
    std::string hit;
};

Probe run_probe(const Fault& fault) {
    const fs::path folder = fs::temp_directory_path() / ("fault_probe_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string counts = (folder / "counts").string();
    Probe probe;
    probe.result = fault_inject::run_child({FAULT_PROBE_PROGRAM, folder.string()},
                                           fault_inject::preload_environment(fault, counts));
    probe.counts = fault_inject::read_counts(counts);
    probe.hit = fault_inject::read_hit(counts);
    fs::remove_all(folder);
    return probe;
}

TEST(FaultInject, CountsFileCallsOnly) {
    const Probe probe = run_probe({});
    ASSERT_TRUE(probe.result.exited) << probe.result.output;
    EXPECT_EQ(probe.counts.at("open"), 1);
    EXPECT_EQ(probe.counts.at("write"), 3);  // the message to standard error is not numbered
    EXPECT_EQ(probe.counts.at("fsync"), 1);
    EXPECT_EQ(probe.counts.at("rename"), 1);
    EXPECT_EQ(probe.counts.at("truncate"), 1);
    EXPECT_EQ(probe.counts.at("any"), 7);
    EXPECT_EQ(probe.counts.at("injected"), 0);
}

TEST(FaultInject, FailsOrKillsTheNthCall) {
    struct Case {
        Fault fault;
        const char* expected;  // in the output; nullptr for a kill
    } cases[] = {
        {{"write", 2, "enospc", false}, "write1=ok\nwrite2=28\nwrite3=ok\n"},
        {{"write", 2, "eio", true}, "write1=ok\nwrite2=5\nwrite3=5\nfsync=ok\n"},
        {{"any", 6, "enospc", false}, "fsync=ok\nrename=28\ntruncate=ok\n"},
        {{"open", 1, "eio", false}, "open=5\n"},
        {{"fsync", 1, "enospc", false}, "fsync=28\n"},
        {{"truncate", 1, "eio", false}, "truncate=5\n"},
        {{"rename", 1, "kill", false}, nullptr},
    };
    for (const Case& c : cases) {
        const Probe probe = run_probe(c.fault);
        SCOPED_TRACE(c.fault.op + " at " + std::to_string(c.fault.at) + " " + c.fault.kind);
        if (c.expected) {
            ASSERT_TRUE(probe.result.exited);
            EXPECT_NE(probe.result.output.find(c.expected), std::string::npos) << probe.result.output;
            EXPECT_EQ(probe.counts.at("injected"), 1);
        } else {
            EXPECT_EQ(probe.result.signal, 9);
            EXPECT_NE(probe.result.output.find("fsync=ok"), std::string::npos);
            EXPECT_EQ(probe.result.output.find("rename="), std::string::npos);
            EXPECT_EQ(probe.counts.at("rename"), 1);  // written at the moment of the kill
            EXPECT_EQ(probe.hit, "rename");
        }
    }
}

}  // namespace
