// A program ended by a signal removes the temporary outputs it made, and only those.
#include "TempOutputs.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
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

}  // namespace
}  // namespace vexa::test
