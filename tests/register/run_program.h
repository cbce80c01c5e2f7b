#pragma once
// Runs a program to its end, as a user would from a shell, and keeps what it printed.
#include <string>
#include <vector>

namespace register_test {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args);

}  // namespace register_test
