// Linked into every test program: widget tests run offscreen, and tests find the build and source trees,
// also when a test binary is started by hand.
#include <cstdlib>

namespace {
struct TestEnvironment {
    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("VORLUX_BUILD_DIR", VORLUX_BUILD_DIR_DEFAULT, 0);
        setenv("VORLUX_SOURCE_DIR", VORLUX_SOURCE_DIR_DEFAULT, 0);
    }
} environment;
}  // namespace
