// Opening a trace, running it again, the failures a user can meet, saving the output and
// closing the document.
#include "ScriptText.h"
#include "StringTable.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace vexa::test {
namespace {

namespace fs = std::filesystem;

const std::string kRecord = "09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n";
const std::string kScript = Parse(1) + Message(1, 42, 1, true, {"SWHW", "DLRDATALONG", "SETUP", "t", "a", "b", "body", "PD"});

class DocumentTest : public ScriptedTest {};

TEST_F(DocumentTest, TraceLinesAreReadInPiecesWithoutEmptyLines) {
    host.interpretOnOpen = false;
    const std::string longLine(600, 'x');
    Open("\n\nfirst\r\n" + longLine + "\n\nlast", "");
    EXPECT_EQ(Lines(doc->m_TraceLines),
              (std::vector<std::string>{"first\n", std::string(511, 'x'), std::string(89, 'x') + "\n", "last"}));
    EXPECT_EQ(host.profile["/Open Directory"], dir);
    EXPECT_TRUE(doc->m_bOpened);
    EXPECT_EQ(doc->m_strTracePath, tracePath);
    EXPECT_TRUE(doc->m_RunLines.empty());  // no run without automatic interpretation
}

TEST_F(DocumentTest, ATraceOfEmptyLinesHasNoLines) {
    host.interpretOnOpen = false;
    Open("\n\n\n\n", "");
    EXPECT_TRUE(doc->m_TraceLines.empty());
}

TEST_F(DocumentTest, ProtocolsComeFromTheSettings) {
    host.interpretOnOpen = false;
    host.settings.m_nDefaultProtocol = 5;
    host.settings.m_nCurrentProtocol = 2;
    WriteFile(tracePath, kRecord);
    doc = std::make_unique<CVexaClientDoc>(host);
    doc->OnOpenDocument(tracePath);
    EXPECT_EQ(doc->m_nRunProtocol, 5);
    EXPECT_EQ(doc->m_nProtocol, 2);
}

TEST_F(DocumentTest, NoProtocolAsksForOneAndDoesNothingElse) {
    Open(kRecord, kScript, 0);
    EXPECT_EQ(host.messages, (std::vector<std::string>{LoadString(IDS_NO_PROTOCOL)}));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(doc->m_strOutputPath.empty());
}

TEST_F(DocumentTest, UnsupportedProtocolAndMissingComponentAreReported) {
    Open(kRecord, kScript, 7);
    EXPECT_EQ(host.messages, (std::vector<std::string>{LoadString(IDS_PROTOCOL_NOT_SUPPORTED)}));
    doc->OnCloseDocument();
    host.messages.clear();
    fs::create_directory(dir + "/empty");
    setenv("VEXA_COMPONENT_PATH", (dir + "/empty").c_str(), 1);
    Open(kRecord, kScript, 1);
    EXPECT_EQ(host.messages, (std::vector<std::string>{LoadString(IDS_NOT_INSTALLED)}));
    EXPECT_FALSE(doc->m_bParserCreated);
}

TEST_F(DocumentTest, AFileWithoutRecordLineIsNotATrace) {
    for (std::string content : {std::string("KORVAN SIGNAL TRACE\n30.00.00.00 00001 SWHW X\n12.34.56\n"), std::string(),
                                std::string("\0\0\x01binary\xff\n", 11)}) {
        Open(content, kScript);
        EXPECT_EQ(host.messages, (std::vector<std::string>{LoadString(IDS_NOT_A_TRACE)}));
        EXPECT_TRUE(doc->m_RunLines.empty());
        EXPECT_TRUE(doc->m_DisplayLines.empty());
        EXPECT_FALSE(doc->m_bTraceRecognised);
        EXPECT_TRUE(fs::exists(doc->m_strOutputPath));  // it goes when the document closes
        const std::string output = doc->m_strOutputPath;
        doc->OnCloseDocument();
        EXPECT_FALSE(fs::exists(output));
        host.messages.clear();
    }
}

TEST_F(DocumentTest, UnwritableTemporaryFolderIsReportedAndNothingIsWritten) {
    if (geteuid() == 0) {
        host.settings.m_strTempPath = dir + "/no-such-folder/";
    } else {
        fs::permissions(dir + "/tmp", fs::perms::owner_read | fs::perms::owner_exec);
    }
    Open(kRecord, kScript);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind(LoadString(IDS_OUTPUT_NOT_WRITABLE), 0), 0u);
    EXPECT_TRUE(doc->m_RunLines.empty());
    EXPECT_EQ(ReadFile(tracePath), kRecord);
}

TEST_F(DocumentTest, ALaterRunResetsAndRecreatesTheComponentAndRewritesTheSameFile) {
    Open(kRecord, kScript);
    const std::string output = doc->m_strOutputPath;
    WriteFile(logPath, "");
    ASSERT_TRUE(doc->RunInterpretation());
    EXPECT_EQ(doc->m_strOutputPath, output);
    auto calls = Calls();
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 6),
              (std::vector<std::string>{"Reset", "Reset", "Release", "Create", "SetProtocolVariant 1",
                                        "SetSignalNames DLRDATA DLRDATALONG DLIDATA DLIDATALONG DLIUIDATALONG"}));
    EXPECT_EQ(list.cleared, 1);
    EXPECT_EQ(Lines(doc->m_DisplayLines), Lines(doc->m_RunLines));
}

TEST_F(DocumentTest, ChangingTheProtocolLeavesTheEarlierComponentAlone) {
    Open(kRecord, kScript, 1);
    WriteFile(logPath, "");
    doc->m_nProtocol = 6;
    doc->RunInterpretation();
    auto calls = Calls();
    EXPECT_EQ(calls.front(), "Create");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Reset"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Release"), 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FindFirst protocol "), 1);
    EXPECT_EQ(doc->m_nRunProtocol, 6);
}

TEST_F(DocumentTest, ClosingDeletesTheOutputUnlessTheUserSavedIt) {
    Open(kRecord, kScript);
    std::string output = doc->m_strOutputPath;
    ASSERT_TRUE(fs::exists(output));
    doc->OnCloseDocument();
    EXPECT_FALSE(fs::exists(output));

    Open(kRecord, kScript);
    output = doc->m_strOutputPath;
    std::string error;
    const std::string saved = dir + "/saved.out";
    ASSERT_EQ(doc->SaveOutputAs(saved, error), CVexaClientDoc::SaveResult::Saved);
    EXPECT_EQ(ReadFile(saved), ReadFile(output));
    EXPECT_EQ(host.profile["/Save Directory"], dir + "/");
    EXPECT_TRUE(doc->m_bOutputKept);
    doc->OnCloseDocument();
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_FALSE(fs::exists(output));  // the temporary file of the run goes
}

TEST_F(DocumentTest, ASavedInterpretationStaysAsSavedThroughLaterRunsAndFilters) {
    Open(kRecord, kScript);
    std::string error;
    const std::string saved = dir + "/saved.out";
    ASSERT_EQ(doc->SaveOutputAs(saved, error), CVexaClientDoc::SaveResult::Saved);
    const std::string asSaved = ReadFile(saved);

    // Run again with other settings: the run writes a new file, not the saved one.
    host.settings.m_bWriteAllRows = !host.settings.m_bWriteAllRows;
    ASSERT_TRUE(doc->RunInterpretation());
    const std::string rerun = doc->m_strOutputPath;
    EXPECT_NE(rerun, saved);
    EXPECT_NE(ReadFile(rerun), asSaved);
    EXPECT_EQ(ReadFile(saved), asSaved);

    // Saving onto the output file itself, then filtering: the rewrite goes to a new file.
    ASSERT_EQ(doc->SaveOutputAs(rerun, error), CVexaClientDoc::SaveResult::Saved);
    ASSERT_TRUE(doc->RewriteOutput());
    const std::string filtered = doc->m_strOutputPath;
    EXPECT_NE(filtered, rerun);
    EXPECT_TRUE(fs::exists(filtered));

    // Closing removes the program's own files and leaves both of the user's.
    doc->OnCloseDocument();
    EXPECT_FALSE(fs::exists(filtered));
    EXPECT_EQ(ReadFile(saved), asSaved);
    EXPECT_TRUE(fs::exists(rerun));
}

TEST_F(DocumentTest, SavingOntoTheTraceIsRefusedAndTheTraceIsUntouched) {
    Open(kRecord, kScript);
    std::string error;
    EXPECT_EQ(doc->SaveOutputAs(tracePath, error), CVexaClientDoc::SaveResult::SameAsTrace);
    EXPECT_EQ(doc->SaveOutputAs(dir + "/./trace.trc", error), CVexaClientDoc::SaveResult::SameAsTrace);
    EXPECT_EQ(ReadFile(tracePath), kRecord);
    EXPECT_EQ(doc->SaveOutputAs(dir + "/no-such-folder/x.out", error), CVexaClientDoc::SaveResult::CopyFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(doc->SaveOutputAs(dir, error), CVexaClientDoc::SaveResult::CopyFailed);
    EXPECT_EQ(error, "is a folder; name a file to save the interpretation in");
    EXPECT_FALSE(doc->m_bOutputKept);
    EXPECT_EQ(doc->DefaultSaveName(), "trace.out");
}

TEST_F(DocumentTest, TheTraceFileIsNeverWritten) {
    const std::string content = kRecord + "                        DATA 08 02\n" + "END OF TRACE\n";
    Open(content, kScript);
    struct stat before {};
    stat(tracePath.c_str(), &before);
    doc->RunInterpretation();
    doc->OnCloseDocument();
    struct stat after {};
    stat(tracePath.c_str(), &after);
    EXPECT_EQ(ReadFile(tracePath), content);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST_F(DocumentTest, MissingTraceOrFolderIsNotOpened) {
    CVexaClientDoc d(host);
    EXPECT_FALSE(d.OnOpenDocument(dir + "/missing.trc"));
    EXPECT_FALSE(d.OnOpenDocument(dir));
    EXPECT_FALSE(d.OnNewDocument());
    EXPECT_TRUE(host.profile.empty());
}

TEST_F(DocumentTest, RunFillsTheViewsAtTheEnd) {
    Open(kRecord, kScript);
    EXPECT_EQ(result.sizes, (std::vector<ContentSize>{{1000, 3000}}));
    EXPECT_EQ(result.repaints, 1);
    EXPECT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.focused, 1);
}

}  // namespace
}  // namespace vexa::test
