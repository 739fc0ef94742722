// Temporary outputs: private, never shared by two runs, and removed when a signal ends the
// program or, after a kill, by the next start; the program removes only its own files.
#include "TempOutputs.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexa::test {
namespace {

bool Exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

// Runs body in a child process and answers how it ended (the waitpid status).
template <class Body>
int InChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST(TempOutputs, ASignalRemovesTheTrackedFilesAndEndsTheProgramAsItWould) {
    const std::string made = TempPath("vexa-temp-made");
    const std::string saved = TempPath("vexa-temp-saved");
    const std::string removed = TempPath("vexa-temp-removed");
    for (const std::string &p : {made, saved, removed}) WriteFile(p, "run");
    const int status = InChild([&] {
        TempOutputs::RemoveOnTermination();
        TempOutputs::Track(made);
        TempOutputs::Track(saved);
        TempOutputs::Untrack(saved);  // the user saved under this name: theirs now
        TempOutputs::Track(removed);
        std::remove(removed.c_str());
        TempOutputs::Untrack(removed);
        WriteFile(removed, "someone else's file of the same name");
        raise(SIGTERM);
        _exit(3);  // not reached
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_FALSE(Exists(made));
    EXPECT_TRUE(Exists(saved));
    EXPECT_TRUE(Exists(removed));
    std::remove(saved.c_str());
    std::remove(removed.c_str());
}

TEST(TempOutputs, ASignalTheProgramWasToldToIgnoreStaysIgnored) {
    const std::string made = TempPath("vexa-temp-nohup");
    WriteFile(made, "run");
    const int status = InChild([&] {
        signal(SIGHUP, SIG_IGN);  // started with nohup
        TempOutputs::RemoveOnTermination();
        TempOutputs::Track(made);
        raise(SIGHUP);
        TempOutputs::Untrack(made);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Exists(made));
    std::remove(made.c_str());
}

// A folder of the test's own, also the temporary folder (TMPDIR) of the processes it
// starts, where the markers of their outputs go.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vexa-outputs-XXXXXX";
        path = mkdtemp(pattern);
        path += "/";
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string path;
};

TEST(TempOutputs, OutputsAreTheUsersAloneAndNeverShared) {
    TempFolder folder;
    // Eight processes at once make outputs for traces of the same name, each writing its
    // own text into every file it got: no file may be handed to two of them.
    constexpr int kProcesses = 8, kEach = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            int bad = 0;
            for (int i = 0; i < kEach; ++i) {
                const std::string path = TempOutputs::CreateOutput(folder.path, "/traces/" + std::to_string(i % 2) + "/trace.trc");
                struct stat st {};
                if (path.empty() || stat(path.c_str(), &st) != 0 || (st.st_mode & 0777) != 0600 || st.st_size != 0) ++bad;
                FILE *file = std::fopen(path.c_str(), "a");
                if (!file) _exit(2);
                std::fprintf(file, "%d\n", p);
                std::fclose(file);
                TempOutputs::Untrack(path);
            }
            _exit(bad ? 1 : 0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a process got a file not its own, or not private";
    }
    int outputs = 0;
    for (const std::string &name : folder.Files()) {
        if (!name.ends_with(".out")) continue;
        ++outputs;
        const std::string text = ReadFile(folder.path + name);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << name << " was written by several processes";
        EXPECT_TRUE(name.starts_with("trace")) << name;
    }
    EXPECT_EQ(outputs, kProcesses * kEach);
}

TEST(TempOutputs, ATraceNameOfAnyLengthGetsAnOutput) {
    TempFolder folder;
    const std::string ascii(250, 'n');
    std::string wide;
    while (wide.size() < 250) wide += "\xc3\xa9";  // é, two bytes each
    for (const std::string &base : {ascii, wide}) {
        const std::string path = TempOutputs::CreateOutput(folder.path, "/traces/" + base + ".trc");
        ASSERT_FALSE(path.empty()) << std::strerror(errno);
        const std::string name = path.substr(folder.path.size());
        EXPECT_LE(name.size(), 255u);
        EXPECT_EQ(name.compare(0, 100, base, 0, 100), 0);
        // Shortened before a character, never inside one.
        const size_t digits = name.find_first_of("0123456789");
        EXPECT_EQ(digits % (base == wide ? 2 : 1), 0u) << name;
        std::remove(path.c_str());
        TempOutputs::Untrack(path);
    }
}

// The program of a child: makes an output in folder and stops as `end` says.
pid_t StartWithOutput(const std::string &folder, int end, std::string &path) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", folder.c_str(), 1);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT leaves no core file behind
        TempOutputs::RemoveOnTermination();
        const std::string made = TempOutputs::CreateOutput(folder, "/traces/killed.trc");
        FILE *file = std::fopen(made.c_str(), "w");
        if (file) {
            std::fputs("a run's output\n", file);
            std::fclose(file);
        }
        (void)!write(fds[1], made.c_str(), made.size() + 1);
        if (end == 0) pause();  // runs until killed
        raise(end);
        _exit(3);
    }
    close(fds[1]);
    char buffer[PATH_MAX] = {};
    (void)!read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    path = buffer;
    return pid;
}

TEST(TempOutputs, SignalsThatEndTheProgramRemoveItsOutputs) {
    TempFolder folder;
    for (int signal : {SIGQUIT, SIGUSR1, SIGUSR2, SIGTERM}) {
        std::string path;
        const pid_t pid = StartWithOutput(folder.path, signal, path);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(Exists(path)) << strsignal(signal) << " left " << path;
    }
    EXPECT_EQ(folder.Files(), std::vector<std::string>{});  // no marker either
}

TEST(TempOutputs, ALaterStartRemovesWhatAKilledRunLeftAndNothingElse) {
    TempFolder folder;
    std::string killed, running;
    const pid_t killedPid = StartWithOutput(folder.path, 0, killed);
    const pid_t runningPid = StartWithOutput(folder.path, 0, running);
    ASSERT_TRUE(Exists(killed));
    kill(killedPid, SIGKILL);
    waitpid(killedPid, nullptr, 0);
    ASSERT_TRUE(Exists(killed));  // nothing can catch SIGKILL
    // The user's own files stay, also one named like an output.
    const std::string mine = folder.path + "mine123.out";
    WriteFile(mine, "the user's");

    TempOutputs::RemoveLeftBehind(folder.path);
    EXPECT_FALSE(Exists(killed));
    EXPECT_FALSE(Exists(TempOutputs::MarkerPath(folder.path, killedPid)));
    EXPECT_TRUE(Exists(running)) << "the output of a run still going was removed";
    EXPECT_TRUE(Exists(mine));

    kill(runningPid, SIGKILL);
    waitpid(runningPid, nullptr, 0);
    // A file made since under the killed run's name is someone else's: it stays.
    WriteFile(running + ".new", "made since by another program");
    std::rename((running + ".new").c_str(), running.c_str());
    TempOutputs::RemoveLeftBehind(folder.path);
    EXPECT_TRUE(Exists(running));
    EXPECT_EQ(folder.Files().size(), 2u);  // the two files of others, no marker
}

}  // namespace
}  // namespace vexa::test
