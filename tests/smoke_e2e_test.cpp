// Runs the real game headless and ends it the way a desktop would: SIGTERM, which
// SDL turns into a quit event, must close everything and exit 0.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// True once the process catches SIGTERM, i.e. SDL has installed its quit handler.
bool CatchesSigterm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return (mask >> (SIGTERM - 1)) & 1;
        }
    }
    return false;
}

// Waits for the child to end; -1 when it did not within the time.
int WaitExit(pid_t pid, std::chrono::milliseconds limit, int& status) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return 0;
        if (r < 0) return -1;
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

TEST(SmokeE2E, GameShowsTheTitleAndExitsCleanlyOnQuit) {
    const fs::path dir = fs::temp_directory_path() / ("dw_smoke_" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(DW_GAME_DATA_DIR))
        if (entry.path().extension() == ".mid") fs::create_symlink(entry.path(), dir / entry.path().filename());
    const fs::path errors = dir / "stderr.txt";
    const int errorFd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(errorFd, 0);

    // Everything the child needs is made before fork: it may only make async-signal-safe calls.
    std::vector<std::string> env{"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "SDL_VIDEODRIVER=", 16) != 0 && std::strncmp(*e, "SDL_AUDIODRIVER=", 16) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char exe[] = DW_GAME_EXE;
    char* argv[] = {exe, nullptr};

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0 || dup2(errorFd, STDERR_FILENO) < 0) _exit(126);
        execve(exe, argv, envp.data());
        _exit(127);
    }
    close(errorFd);

    int status = 0;
    bool ready = false;
    bool ended = false;
    for (int i = 0; i < 500 && !ready && !ended; ++i) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        ready = !ended && CatchesSigterm(pid);
        if (!ready && !ended) std::this_thread::sleep_for(20ms);
    }
    if (ready) {
        std::this_thread::sleep_for(500ms);  // let it run some frames and start the music
        ended = waitpid(pid, &status, WNOHANG) == pid;
        EXPECT_FALSE(ended) << "the game ended by itself";
    }
    if (!ended) {
        kill(pid, SIGTERM);
        ended = WaitExit(pid, 15s, status) == 0;
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "the game did not end after SIGTERM";
    }
    std::stringstream err;
    err << std::ifstream(errors).rdbuf();
    fs::remove_all(dir);

    EXPECT_TRUE(ready) << "the game never set up its event loop\n" << err.str();
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status) << "\n" << err.str();
    EXPECT_EQ(WEXITSTATUS(status), 0) << err.str();
    EXPECT_EQ(err.str().find("Duskwarden:"), std::string::npos) << err.str();
}

}  // namespace
