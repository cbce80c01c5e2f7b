#pragma once
// Runs a program to its end, as a user would from a shell, and keeps what it printed.
#include <string>
#include <vector>

namespace register_test {

struct ProgramResult {
    int exitCode = -1;      // -1 when it did not exit normally
    bool timedOut = false;  // killed after the time limit
    std::string out;
    std::string err;
};

// A program still running after `limitSeconds` is killed, so that a hanging program fails the test.
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                         int limitSeconds = 120);

}  // namespace register_test
