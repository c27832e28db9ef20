// Gives every test binary the environment the build describes (where the
// shared data, the engine library and the programs are), also when a binary
// is started by hand or by test discovery. Variables already set win.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("XDG_RUNTIME_DIR", REELBOOK_TEST_XDG_RUNTIME_DIR, 0);
        setenv("REELBOOK_SHARE_DIR", REELBOOK_TEST_SHARE_DIR, 0);
        setenv("REELBOOK_LIB_DIR", REELBOOK_TEST_LIB_DIR, 0);
        setenv("REELBOOK_BIN_DIR", REELBOOK_TEST_BIN_DIR, 0);
        setenv("REELBOOK_TEST_DATA", REELBOOK_TEST_DATA_DIR, 0);
    }
};

const TestEnvironment environment;

}  // namespace
