// The settings rules: defaults, the YES/NO and decimal conversions, the font records,
// what a save writes, and which settings files are read at all.
#include "IniProfileReader.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexa::test {
namespace {

TEST(Settings, AnEmptyStoreGivesTheDefaults) {
    MemoryProfile profile;
    VexaSettings s;
    ASSERT_TRUE(LoadSettings(profile, s));
    ReadColors(profile, s);
    EXPECT_TRUE(s.m_bWriteAllRows);
    EXPECT_TRUE(s.m_bWriteHexInfo);
    EXPECT_TRUE(s.m_bOverwriteFile);
    EXPECT_EQ(s.m_nDefaultProtocol, 1);
    EXPECT_EQ(s.m_nCurrentProtocol, 1);
    for (const FontRecord *f : {&s.m_lfTraceView, &s.m_lfResultView, &s.m_lfMessageList}) {
        EXPECT_EQ(f->lfHeight, -13);
        EXPECT_EQ(f->lfWeight, 700);
        EXPECT_EQ(f->lfPitchAndFamily, 34);
        EXPECT_EQ(f->FaceName(), "System");
    }
    EXPECT_EQ(s.m_nColumnWidth, (std::array<int32_t, 6>{100, 100, 150, 100, 150, 300}));
    EXPECT_EQ(s.m_crIncoming, 0x0000FFu);
    EXPECT_EQ(s.m_crOutgoing, 0xFF0000u);
    EXPECT_EQ(s.SignalNames(), (std::array<std::string, 5>{"DLRDATA", "DLRDATALONG", "DLIDATA", "DLIDATALONG", "DLIUIDATALONG"}));
    EXPECT_EQ(s.m_nRed + s.m_nGreen + s.m_nBlue, 0);
    EXPECT_EQ(s.m_strTempPath.back(), '/');
}

TEST(Settings, YesCountsInAnyCaseButNothingElseDoes) {
    for (auto [text, expected] : std::vector<std::pair<std::string, bool>>{
             {"YES", true}, {"yes", true}, {"yEs", true}, {"Y", false}, {"1", false}, {" YES", false}, {"", false}}) {
        MemoryProfile profile;
        profile.values["Options/WriteAllRows"] = text;
        profile.values["Options/WriteHexInfo"] = "NO";
        VexaSettings s;
        LoadSettings(profile, s);
        EXPECT_EQ(s.m_bWriteAllRows, expected) << text;
        EXPECT_EQ(s.m_bWriteHexInfo, expected) << text;  // all rows implies hex
    }
}

TEST(Settings, AllRowsWithoutHexLoadsAndSavesHexAsYes) {
    MemoryProfile profile;
    profile.values["Options/WriteAllRows"] = "YES";
    profile.values["Options/WriteHexInfo"] = "NO";
    VexaSettings s;
    LoadSettings(profile, s);
    s.m_bWriteHexInfo = false;
    SaveSettings(profile, s);
    EXPECT_EQ(profile.values["Options/WriteHexInfo"], "YES");
    EXPECT_EQ(profile.values["Options/WriteAllRows"], "YES");
}

TEST(Settings, DecimalsFollowTheCLibraryRules) {
    EXPECT_EQ(DecimalValue("  42abc"), 42);
    EXPECT_EQ(DecimalValue("-7"), -7);
    EXPECT_EQ(DecimalValue("+3"), 3);
    EXPECT_EQ(DecimalValue("abc"), 0);
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("99999999999"), 2147483647);
    MemoryProfile profile;
    profile.values["Options/CItalic"] = "257";
    profile.values["Options/CHeight"] = "abc";
    profile.values["Options/DefaultProtocol"] = "nine";
    profile.values["Options/MsgTo"] = "250px";
    VexaSettings s;
    LoadSettings(profile, s);
    EXPECT_EQ(s.m_lfTraceView.lfItalic, 1);
    EXPECT_EQ(s.m_lfTraceView.lfHeight, 0);
    EXPECT_EQ(s.m_nDefaultProtocol, 0);
    EXPECT_EQ(s.m_nColumnWidth[5], 250);
}

TEST(Settings, StoredColoursReplaceTheBuiltInOnesUnlessMinusOne) {
    MemoryProfile profile;
    profile.values["/Incoming Color"] = "-1";
    profile.values["/Outgoing Color"] = "32768";
    VexaSettings s;
    ReadColors(profile, s);
    EXPECT_EQ(s.m_crIncoming, 0x0000FFu);
    EXPECT_EQ(s.m_crOutgoing, 0x008000u);
}

TEST(Settings, LongValuesAreCut) {
    MemoryProfile profile;
    profile.values["Options/LFaceName"] = std::string(100, 'F');
    profile.values["Signal Names/DliData"] = std::string(1000, 'D');
    VexaSettings s;
    LoadSettings(profile, s);
    EXPECT_EQ(s.m_lfMessageList.FaceName(), std::string(31, 'F'));
    EXPECT_EQ(s.m_strDliData.size(), kMaxProfileText);
}

TEST(Settings, SaveWritesEveryOptionAndSignalNameButNeverTheRowColour) {
    MemoryProfile profile;
    VexaSettings s;
    LoadSettings(profile, s);
    s.m_nDefaultProtocol = 5;
    s.m_lfResultView.lfItalic = 255;
    s.m_lfResultView.SetFaceName("DejaVu Sans Mono");
    s.m_nColumnWidth = {10, 20, 30, 40, 50, 60};
    s.m_strDliuiDataLong = "UIDATA";
    s.m_bWriteAllRows = false;
    s.m_bWriteHexInfo = false;
    s.m_nRed = 12;
    SaveSettings(profile, s);
    EXPECT_EQ(profile.values["Options/DefaultProtocol"], "5");
    EXPECT_EQ(profile.values["Options/EItalic"], "255");
    EXPECT_EQ(profile.values["Options/EFaceName"], "DejaVu Sans Mono");
    EXPECT_EQ(profile.values["Options/CHeight"], "-13");
    EXPECT_EQ(profile.values["Options/MsgFrom"], "50");
    EXPECT_EQ(profile.values["Signal Names/DliuiDatalong"], "UIDATA");
    EXPECT_EQ(profile.values["Options/WriteHexInfo"], "NO");
    EXPECT_EQ(profile.values.count("Options/Red"), 0u);

    VexaSettings back;
    LoadSettings(profile, back);
    EXPECT_EQ(back.m_lfResultView, s.m_lfResultView);
    EXPECT_EQ(back.m_nColumnWidth, s.m_nColumnWidth);
    EXPECT_EQ(back.SignalNames(), s.SignalNames());
    EXPECT_EQ(back.m_nDefaultProtocol, 5);
}

// Reads the settings file at path in a child process that may take at most five seconds
// (a named pipe would otherwise hold the test for ever); answers what it told, or
// "hung" / "failed".
std::string RefusalOf(const std::string &path) {
    int fds[2];
    if (pipe(fds) != 0) return "failed";
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(5);
        IniProfileReader profile(path);
        const std::string told = profile.Refusal().empty() ? "read: " + profile.GetProfileString("Options", "DefaultProtocol", "none")
                                                           : profile.Refusal();
        (void)!write(fds[1], told.data(), told.size());
        _exit(0);
    }
    close(fds[1]);
    std::string told;
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) told.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) return "hung";
    return told;
}

TEST(SettingsFile, OnlyARegularFileOfSensibleSizeIsReadAndARefusalIsSaid) {
    char pattern[] = "/tmp/vexa-settings-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string fifo = folder + "/fifo.ini", zero = folder + "/zero.ini", huge = folder + "/huge.ini",
                      plain = folder + "/plain.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    WriteFile(huge, "[Options]\nDefaultProtocol=5\n" + std::string(kMostSettingsBytes, ';'));
    WriteFile(plain, "[Options]\nDefaultProtocol=5\n");

    EXPECT_EQ(RefusalOf(fifo), "settings file " + fifo + " is not read: not a regular file");
    EXPECT_EQ(RefusalOf(zero), "settings file " + zero + " is not read: not a regular file");
    EXPECT_EQ(RefusalOf(huge), "settings file " + huge + " is not read: larger than 4 MB");
    EXPECT_EQ(RefusalOf(plain), "read: 5");
    EXPECT_EQ(RefusalOf(folder + "/missing.ini"), "read: none");  // no file: nothing to say
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vexa::test
