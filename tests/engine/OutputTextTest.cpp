// Output file names, decoded text parts, call reference values and record lines.
#include "OutputText.h"
#include "TestSupport.h"

#include <filesystem>
#include <regex>

namespace vexa::test {
namespace {

TEST(OutputName, BaseNameIsTheTraceNameWithoutItsExtension) {
    const std::regex pattern("/tmp/x/(.*)[0-9]+\\.out");
    std::smatch m;
    struct Case {
        std::string trace, base;
    } cases[] = {{"/t/trace.log", "trace"}, {"/t/trace", "trace"}, {"/t.d/trace", "t"}, {"trace.log", ""}};
    for (const Case &c : cases) {
        std::string name = MakeOutputName("/tmp/x/", c.trace);
        ASSERT_TRUE(std::regex_match(name, m, pattern)) << name;
        EXPECT_EQ(m[1].str().substr(0, c.base.size()), c.base) << c.trace;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[7 + c.base.size()]))) << name;
    }
}

TEST(OutputName, NeverNamesAnExistingFile) {
    const std::string folder = TempPath("vexa-name-test") + "/";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 50; ++i) {
        std::string name = MakeOutputName(folder, "/t/trace.trc");
        EXPECT_FALSE(std::filesystem::exists(name));
        WriteFile(name, "x");
    }
    std::filesystem::remove_all(folder);
}

TEST(DecodedText, PartsAreCutAtEveryDoubleBar) {
    EXPECT_EQ(SplitParts("A||B"), (std::vector<std::string_view>{"A", "B"}));
    EXPECT_EQ(SplitParts("A"), (std::vector<std::string_view>{"A"}));
    EXPECT_EQ(SplitParts("||A|||B||"), (std::vector<std::string_view>{"", "A", "|B", ""}));
}

TEST(DecodedText, CallReferenceValues) {
    EXPECT_EQ(NormaliseHexText("H'01||H'02"), "01  02");
    EXPECT_EQ(NormaliseHexText("H'7F"), "7F");
    EXPECT_EQ(NormaliseHexText("lost H'01||H'02||H'03"), "01  02  03");
    EXPECT_EQ(NormaliseHexText("0x01"), "0x01");
    EXPECT_EQ(NormaliseHexText(""), "");
}

TEST(RecordLine, TimeStampRules) {
    EXPECT_TRUE(IsRecordLine("24.00.00.0 x"));
    EXPECT_TRUE(IsRecordLine("09.41.07.25 00042  SWHW DLRDATALONG"));
    EXPECT_FALSE(IsRecordLine("30.00.00.0 x"));
    EXPECT_FALSE(IsRecordLine("12.60.00.0 x"));
    EXPECT_FALSE(IsRecordLine("12.00.60.0 x"));
    EXPECT_FALSE(IsRecordLine("12.34.56"));
    EXPECT_FALSE(IsRecordLine("12.34.56."));
    EXPECT_TRUE(IsRecordLine("12.34.56.\n"));
    EXPECT_FALSE(IsRecordLine("1a.34.56.7 x"));
    EXPECT_FALSE(IsRecordLine(" 12.34.56.7 x"));
}

}  // namespace
}  // namespace vexa::test
