// Runs the real game headless and ends it the way a desktop would: SIGTERM, which SDL
// turns into a quit event, must close everything and exit 0.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "test_support.h"

namespace {

using namespace std::chrono_literals;

// True once the process catches SIGTERM, i.e. SDL has installed its quit handler.
bool CatchesSigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

TEST(SmokeE2E, GameShowsTheTitleAndExitsCleanlyOnQuit) {
    testing_support::TempDir dir;
    testing_support::PrepareGameDir(dir.Path());
    const std::string errors = (dir.Path() / "stderr.txt").string();
    const int errorFd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(errorFd, 0);
    // Everything the child needs is made before fork: it may only make async-signal-safe calls.
    const std::string where = dir.Str();
    char exe[] = DW_GAME_EXE;
    char* argv[] = {exe, nullptr};
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(where.c_str()) != 0 || dup2(errorFd, STDERR_FILENO) < 0) _exit(126);
        execv(exe, argv);
        _exit(127);
    }
    close(errorFd);

    int status = 0;
    bool ended = false, ready = false;
    for (int i = 0; i < 500 && !ready && !ended; ++i) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        ready = !ended && CatchesSigterm(pid);
        if (!ready && !ended) std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(500ms);  // let it run some frames and start the music
    EXPECT_TRUE(ready && waitpid(pid, &status, WNOHANG) == 0) << "the game never ran its loop, or ended by itself";
    kill(pid, SIGTERM);
    for (int i = 0; i < 750 && !ended; ++i) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) std::this_thread::sleep_for(20ms);
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    std::stringstream err;
    err << std::ifstream(errors).rdbuf();
    ASSERT_TRUE(ended) << "the game did not end after SIGTERM";
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status) << "\n" << err.str();
    EXPECT_EQ(WEXITSTATUS(status), 0) << err.str();
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "opt.ez"));  // the close wrote the options
}

}  // namespace
