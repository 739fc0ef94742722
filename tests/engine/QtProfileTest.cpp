// The profile in the platform's settings store: where it lives, what a damaged file gives.
#include "CQtProfile.h"
#include "IniProfileReader.h"
#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexa {
namespace {

namespace fs = std::filesystem;

class QtProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vexa-profile-XXXXXX";
        home = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        file = home + "/Vendrel/Harbek/Vexa.ini";
    }
    void TearDown() override { fs::remove_all(home); }
    std::string home, file;
};

TEST_F(QtProfileTest, SettingsRoundTripThroughTheIniFile) {
    {
        CQtProfile profile;
        EXPECT_EQ(profile.FileName(), file);
        VexaSettings s;
        LoadSettings(profile, s);
        s.m_nDefaultProtocol = 6;
        s.m_strDlrData = "DLR, DATA";
        s.m_lfTraceView.SetFaceName("Noto Mono");
        SaveSettings(profile, s);
        profile.WriteProfileInt("", kKeyIncomingColor, 0x00FF00);
        profile.WriteProfileString("", kKeyOpenDirectory, "/home/engineer/traces");
    }
    ASSERT_TRUE(fs::exists(file));
    CQtProfile profile;
    VexaSettings s;
    LoadSettings(profile, s);
    ReadColors(profile, s);
    EXPECT_EQ(s.m_nDefaultProtocol, 6);
    EXPECT_EQ(s.m_strDlrData, "DLR, DATA");
    EXPECT_EQ(s.m_lfTraceView.FaceName(), "Noto Mono");
    EXPECT_EQ(s.m_crIncoming, 0x00FF00u);
    EXPECT_EQ(profile.GetProfileString("", kKeyOpenDirectory, ""), "/home/engineer/traces");
    EXPECT_EQ(profile.GetProfileString("Options", "NoSuchKey", "dflt"), "dflt");
}

TEST_F(QtProfileTest, TheCommandLineReadsWhatTheWindowsWrite) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Options/EFaceName", "DejaVu Sans Mono"}, {"Signal Names/DliData", "DLI, DATA \"x\""},
        {"Open Directory", "/home/eng/traces 2026"}, {"Save Directory", "C:\\traces\\"},
        {"Options/Odd", " leading and trailing "}, {"Options/At", "@home"}, {"Options/Unicode", "Stra\xc3\x9f\xe2\x82\xac"},
        {"Options/Lines", "a\nb\tc;d=e#f"}, {"Options/Empty", ""}};
    {
        CQtProfile profile;
        for (const auto &[path, value] : values) {
            size_t slash = path.find('/');
            profile.WriteProfileString(slash == std::string::npos ? "" : path.substr(0, slash),
                                       slash == std::string::npos ? path : path.substr(slash + 1), value);
        }
        profile.WriteProfileInt("", kKeyIncomingColor, 255);
        profile.WriteProfileInt("Options", "Negative", -42);
    }
    IniProfileReader reader(IniProfileReader::DefaultPath());
    EXPECT_EQ(IniProfileReader::DefaultPath(), file);
    for (const auto &[path, value] : values) {
        size_t slash = path.find('/');
        EXPECT_EQ(reader.GetProfileString(slash == std::string::npos ? "" : path.substr(0, slash),
                                          slash == std::string::npos ? path : path.substr(slash + 1), "missing"),
                  value)
            << path;
    }
    EXPECT_EQ(reader.GetProfileInt("", kKeyIncomingColor, -1), 255);
    EXPECT_EQ(reader.GetProfileInt("Options", "Negative", 0), -42);
    EXPECT_EQ(reader.GetProfileInt("Options", "EFaceName", 7), 7);
}

TEST_F(QtProfileTest, AGarbledFileGivesDefaultsWhereItMakesNoSense) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file) << "\x01\x02garbage\n[Options\nWriteAllRows=NO\nDefaultProtocol=abc\n[=]\nIncoming Color=red\n"
                        << std::string(3000, 'x') << "\n";
    for (int reader = 0; reader < 2; ++reader) {
        CQtProfile qt;
        IniProfileReader ini(file);
        IProfileReader &profile = reader ? static_cast<IProfileReader &>(ini) : qt;
        VexaSettings s;
        LoadSettings(profile, s);
        ReadColors(profile, s);
        EXPECT_EQ(s.m_crIncoming, 0x0000FFu);
        EXPECT_EQ(s.m_nColumnWidth[0], 100);
    }
}

TEST_F(QtProfileTest, AnUnreadableFileGivesTheDefaults) {
    fs::create_directories(file);  // a folder where the file should be
    CQtProfile profile;
    VexaSettings s;
    LoadSettings(profile, s);
    EXPECT_EQ(s.m_nDefaultProtocol, 1);
    EXPECT_TRUE(s.m_bWriteAllRows);
    profile.WriteProfileString("", kKeyOpenDirectory, "/x");  // ignored, no crash
}

// A named pipe or a link to /dev/zero as the settings file: refused at once (the test
// runs in a child that may take five seconds), said, and left as it is; the session goes
// on with the built-in settings and keeps what it writes in memory.
TEST_F(QtProfileTest, ASettingsFileThatIsNoRegularFileIsRefusedAndLeftAlone) {
    fs::create_directories(fs::path(file).parent_path());
    for (int kind = 0; kind < 2; ++kind) {
        fs::remove(file);
        if (kind == 0) ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
        else fs::create_symlink("/dev/zero", file);
        const pid_t pid = fork();
        if (pid == 0) {
            alarm(5);
            CQtProfile profile;
            VexaSettings s;
            LoadSettings(profile, s);
            profile.WriteProfileString("", kKeyOpenDirectory, "/traces");
            const bool ok = profile.Refusal() == "settings file " + file + " is not read: not a regular file" &&
                            s.m_nDefaultProtocol == 1 && s.m_bWriteAllRows &&
                            profile.GetProfileString("", kKeyOpenDirectory, "") == "/traces";
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << (kind ? "/dev/zero" : "named pipe")
                                                                   << (WIFSIGNALED(status) ? ": hung" : ": not refused");
        EXPECT_TRUE(kind == 0 ? fs::is_fifo(file) : fs::is_symlink(file));
    }
}

}  // namespace
}  // namespace vexa
