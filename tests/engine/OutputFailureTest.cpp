// Writes that fail (a full disk, a file size limit): the user is told, nothing cut short
// passes for the whole interpretation, and a save never spoils the file it replaces.
#include "StringTable.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa::test {
namespace {

namespace fs = std::filesystem;

// Lowers the file size limit of this process while it lives: a write past the limit
// fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    sighandler_t m_handler;
};

constexpr rlim_t kLimit = 64 * 1024;

std::vector<std::string> FilesIn(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const std::string &path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class OutputFailureTest : public ScriptedTest {
protected:
    // A trace of some 800 KB: a record line and many rows, all written with "Include
    // all Rows".
    void OpenLongTrace(bool interpret) {
        host.settings.m_bWriteAllRows = true;
        host.interpretOnOpen = interpret;
        std::string trace = "09.00.00.00 00005  SWHW DLRDATA  FROM  TO\n";
        for (int i = 0; i < 20000; ++i) trace += "                        FREE TEXT ROW " + std::to_string(i) + "\n";
        Open(trace, "");
    }
    bool ToldOutputNotWritten() const {
        return !host.messages.empty() && host.messages.back().starts_with(LoadString(IDS_OUTPUT_NOT_WRITABLE));
    }
};

TEST_F(OutputFailureTest, AFullTemporaryFolderIsSaidAndNoCutInterpretationIsShown) {
    OpenLongTrace(false);
    bool done;
    {
        FileSizeLimit limit(kLimit);
        done = doc->RunInterpretation();
    }
    EXPECT_FALSE(done);
    EXPECT_TRUE(ToldOutputNotWritten());
    EXPECT_FALSE(doc->m_bOutputLoaded);
    EXPECT_EQ(doc->m_DisplayLines.size(), 0u);
    EXPECT_EQ(doc->m_RunLines.size(), 0u);
    EXPECT_TRUE(list.rows.empty());
    ASSERT_FALSE(result.sizes.empty());
    EXPECT_EQ(result.sizes.back(), (ContentSize{1000, 3000}));
    EXPECT_EQ(ReadFile(doc->m_strOutputPath), "");  // nothing of the cut file is left

    // With room again, the same document interprets the trace whole.
    host.messages.clear();
    EXPECT_TRUE(doc->RunInterpretation());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(doc->m_bOutputLoaded);
    EXPECT_GT(ReadFile(doc->m_strOutputPath).size(), 10 * kLimit);
    EXPECT_EQ(Mode(doc->m_strOutputPath), 0600u);
}

TEST_F(OutputFailureTest, ARewriteThatCannotBeWrittenWholeIsSaidAndLeavesNoCutFile) {
    OpenLongTrace(true);
    ASSERT_TRUE(doc->m_bOutputLoaded);
    const std::string runOutput = doc->m_strOutputPath;
    doc->m_DisplayLines.Clear();
    doc->m_DisplayLines.AddAll(doc->m_RunLines);
    bool rewritten;
    {
        FileSizeLimit limit(kLimit);
        rewritten = doc->RewriteOutput();
    }
    EXPECT_FALSE(rewritten);
    EXPECT_TRUE(ToldOutputNotWritten());
    EXPECT_NE(doc->m_strOutputPath, runOutput);
    EXPECT_FALSE(fs::exists(doc->m_strOutputPath));
    EXPECT_TRUE(fs::exists(runOutput));
    // A save now says that there is nothing whole to save, and makes no file.
    std::string error;
    EXPECT_EQ(doc->SaveOutputAs(dir + "/saved.out", error), CVexaClientDoc::SaveResult::CopyFailed);
    EXPECT_NE(error.find("could not be written"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir + "/saved.out"));

    // With room, the rewrite is whole.
    EXPECT_TRUE(doc->RewriteOutput());
    EXPECT_EQ(ReadFile(doc->m_strOutputPath), ReadFile(runOutput));
}

TEST_F(OutputFailureTest, ASaveThatFailsLeavesThePreviousFileAsItWas) {
    OpenLongTrace(true);
    const std::string interpretation = ReadFile(doc->m_strOutputPath);
    const std::string saves = dir + "/saves/";
    fs::create_directory(saves);
    const std::string target = saves + "call.out";
    WriteFile(target, "the previous good interpretation\n");
    chmod(target.c_str(), 0640);

    std::string error;
    CVexaClientDoc::SaveResult saved;
    {
        FileSizeLimit limit(kLimit);
        saved = doc->SaveOutputAs(target, error);
    }
    EXPECT_EQ(saved, CVexaClientDoc::SaveResult::CopyFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(target), "the previous good interpretation\n");
    EXPECT_EQ(FilesIn(saves), std::vector<std::string>{"call.out"});  // nothing half-written beside it
    EXPECT_FALSE(doc->m_bOutputKept);

    // With room, the save replaces the file whole and keeps its permissions.
    ASSERT_EQ(doc->SaveOutputAs(target, error), CVexaClientDoc::SaveResult::Saved) << error;
    EXPECT_EQ(ReadFile(target), interpretation);
    EXPECT_EQ(Mode(target), 0640u);
    EXPECT_EQ(FilesIn(saves), std::vector<std::string>{"call.out"});

    // A new file gets the user's usual permissions, not the private ones of the output.
    const mode_t mask = umask(0);
    umask(mask);
    ASSERT_EQ(doc->SaveOutputAs(saves + "new.out", error), CVexaClientDoc::SaveResult::Saved) << error;
    EXPECT_EQ(Mode(saves + "new.out"), 0666u & ~mask);

    // A link saves into the file it names, and stays a link.
    WriteFile(saves + "real.out", "old");
    fs::create_symlink(saves + "real.out", saves + "link.out");
    ASSERT_EQ(doc->SaveOutputAs(saves + "link.out", error), CVexaClientDoc::SaveResult::Saved) << error;
    EXPECT_TRUE(fs::is_symlink(saves + "link.out"));
    EXPECT_EQ(ReadFile(saves + "real.out"), interpretation);
}

}  // namespace
}  // namespace vexa::test
