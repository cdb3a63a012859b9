// Runs the real game headless and ends it the way a desktop would: SIGTERM, which SDL
// turns into a quit event, must close everything and exit 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "test_support.h"

namespace {

// True once the process catches SIGTERM, i.e. SDL has installed its quit handler.
bool CatchesSigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// Waits up to a limit for the child to end or for ready() to hold.
template <class Ready>
bool WaitFor(pid_t pid, int& status, bool& ended, Ready ready) {
    for (int i = 0; i < 750; ++i) {
        if ((ended = waitpid(pid, &status, WNOHANG) == pid) || ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(SmokeE2E, GameShowsTheTitleAndExitsCleanlyOnQuit) {
    testing_support::TempDir dir;
    testing_support::PrepareGameDir(dir.Path());
    const std::string where = dir.Str();  // the child may only make async-signal-safe calls
    char exe[] = DW_GAME_EXE;
    char* argv[] = {exe, nullptr};
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(where.c_str()) == 0) execv(exe, argv);
        _exit(127);
    }
    int status = 0;
    bool ended = false;
    EXPECT_TRUE(WaitFor(pid, status, ended, [&] { return CatchesSigterm(pid); }) && !ended) << "no event loop";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // some frames, and the music
    if (!ended && (ended = waitpid(pid, &status, WNOHANG) == pid)) ADD_FAILURE() << "the game ended by itself";
    if (!ended) kill(pid, SIGTERM);
    if (!ended && !WaitFor(pid, status, ended, [] { return false; })) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the game did not end after SIGTERM";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "opt.ez"));  // the close wrote the options
}

}  // namespace
