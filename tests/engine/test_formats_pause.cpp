// The diskette message of PAUS and message draining, through the host hook.
#include <gtest/gtest.h>

#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

struct HookCounts {
    int drains = 0;
    int pauses = 0;
    std::string text;
    std::string title;
};

void count_drain(void* context) {
    ++static_cast<HookCounts*>(context)->drains;
}

void count_pause(void* context, std::uint32_t, const char* text, const char* title) {
    auto* counts = static_cast<HookCounts*>(context);
    ++counts->pauses;
    counts->text = text;
    counts->title = title;
}

class FormatsPause : public ::testing::Test {
  protected:
    void SetUp() override { s_sethost(count_drain, count_pause, &counts_); }
    void TearDown() override { s_sethost(nullptr, nullptr, nullptr); }
    HookCounts counts_;
};

TEST_F(FormatsPause, MessageOnceBeforeTheOutputOfACopyOrAMergedSort) {
    ScratchDir dir;
    std::vector<std::string> items;
    for (int i = 0; i < 4000; ++i) items.push_back("record " + std::to_string(4000 - i));
    write_file("in", lines(items));
    for (const char* command : {"CORE(40) PAUS", "SORT(1,11,C,A) CORE(100) PAUS"}) {
        counts_ = HookCounts{};
        ASSERT_EQ(run("in", "out", command).code, 0) << command;
        EXPECT_EQ(counts_.pauses, 1) << command;
        EXPECT_GT(counts_.drains, 10) << command;
    }
    EXPECT_EQ(counts_.text, "Ready to create output file.\n\rChange diskettes and press OK");
    EXPECT_EQ(counts_.title, "Zorvik Sort");
    counts_ = HookCounts{};
    ASSERT_EQ(run("in", "out", "SORT(1,11,C,A) NOYI").code, 0);
    EXPECT_EQ(counts_.pauses, 0);
    EXPECT_EQ(counts_.drains, 0);
}

}  // namespace
