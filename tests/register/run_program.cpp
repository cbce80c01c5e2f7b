#include "tests/register/run_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace register_test {

namespace {
std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args, int limitSeconds) {
    // Output goes to files rather than pipes: nothing can block however much the program prints.
    char outName[] = "/tmp/run_program_out_XXXXXX";
    char errName[] = "/tmp/run_program_err_XXXXXX";
    int outFd = mkstemp(outName);
    int errFd = mkstemp(errName);
    if (outFd < 0 || errFd < 0) throw std::runtime_error("mkstemp failed");

    std::vector<std::string> argv0{path};
    argv0.insert(argv0.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv0) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);

    ProgramResult result;
    if (rc == 0) {
        int status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
        pid_t waited;
        for (;;) {
            waited = waitpid(pid, &status, WNOHANG);
            if (waited != 0 && !(waited < 0 && errno == EINTR)) break;
            if (std::chrono::steady_clock::now() > deadline && !result.timedOut) {
                kill(pid, SIGKILL);
                result.timedOut = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (waited == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    } else {
        result.err = "cannot start " + path;
    }
    result.out = Slurp(outName);
    result.err += Slurp(errName);
    std::remove(outName);
    std::remove(errName);
    return result;
}

}  // namespace register_test
