#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vexa::test {

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TempPath(const char *name) {
    return (std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()))).string();
}

void WriteFile(const std::string &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::vector<std::string> Lines(const LineArray &lines) {
    std::vector<std::string> out;
    for (std::string_view l : lines) out.emplace_back(l);
    return out;
}

TestHost::TestHost() {
    settings.m_strTempPath = "/tmp/";
    settings.m_bWriteAllRows = false;
    settings.m_bWriteHexInfo = false;
    settings.m_nDefaultProtocol = settings.m_nCurrentProtocol = 1;
    settings.m_strDlrData = "DLRDATA";
    settings.m_strDlrDataLong = "DLRDATALONG";
    settings.m_strDliData = "DLIDATA";
    settings.m_strDliDataLong = "DLIDATALONG";
    settings.m_strDliuiDataLong = "DLIUIDATALONG";
}

void ScriptedTest::SetUp() {
    char pattern[] = "/tmp/vexa-test-XXXXXX";
    dir = mkdtemp(pattern);
    tracePath = dir + "/trace.trc";
    scriptPath = dir + "/script.txt";
    logPath = dir + "/calls.log";
    setenv("VEXA_COMPONENT_PATH", VEXA_SCRIPTED_DIR, 1);
    setenv("VEXA_SCRIPTED_SCRIPT", scriptPath.c_str(), 1);
    setenv("VEXA_SCRIPTED_LOG", logPath.c_str(), 1);
    host.settings.m_strTempPath = dir + "/tmp/";
    std::filesystem::create_directory(dir + "/tmp");
}

void ScriptedTest::TearDown() {
    // Whatever the run wrote, the rows it worked out as it went are those a walk over the
    // finished display lines gives.
    if (doc && doc->m_RunLayout && doc->m_RunLayout->Matches(doc->m_DisplayLines)) {
        CResultLayout walked;
        walked.Build(doc->m_DisplayLines);
        const CResultLayout &made = *doc->m_RunLayout;
        EXPECT_EQ(made.RowCount(), walked.RowCount());
        EXPECT_EQ(made.RowsAboveLastLine(), walked.RowsAboveLastLine());
        for (size_t row = 0; row < std::min(made.RowCount(), walked.RowCount()); ++row) {
            EXPECT_EQ(made.RowLine(doc->m_DisplayLines, row), walked.RowLine(doc->m_DisplayLines, row)) << "row " << row;
            EXPECT_EQ(made.RowColour(doc->m_DisplayLines, row), walked.RowColour(doc->m_DisplayLines, row))
                << "row " << row;
        }
    }
    if (doc) doc->OnCloseDocument();
    doc.reset();
    std::filesystem::permissions(dir + "/tmp", std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
}

CVexaClientDoc &ScriptedTest::Open(const std::string &trace, const std::string &script, int protocol) {
    WriteFile(tracePath, trace);
    WriteFile(scriptPath, script);
    host.settings.m_nCurrentProtocol = protocol;
    host.settings.m_nDefaultProtocol = protocol;
    doc = std::make_unique<CVexaClientDoc>(host);
    doc->m_pListView = &list;
    doc->m_pResultView = &result;
    doc->OnOpenDocument(tracePath);
    return *doc;
}

std::vector<std::string> ScriptedTest::Calls() const {
    std::vector<std::string> calls;
    std::istringstream in(ReadFile(logPath));
    std::string line;
    while (std::getline(in, line)) calls.push_back(line);
    return calls;
}

std::string ScriptedTest::RunText() const {
    std::string text;
    for (std::string_view l : doc->m_RunLines) text += std::string(l) + "|";
    return text;
}

}  // namespace vexa::test
