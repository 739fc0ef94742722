// Creating components by ProgID and calling them by dispatch id.
#include "CIsdnParser.h"
#include "CIpParser.h"
#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace vexa::test {
namespace {

class ComponentHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXA_COMPONENT_PATH", VEXA_SCRIPTED_DIR, 1);
        unsetenv("VEXA_SCRIPTED_SCRIPT");
        unsetenv("VEXA_SCRIPTED_LOG");
    }
};

TEST_F(ComponentHostTest, CreatesTheComponentOfAProgIdAndCallsItsMembers) {
    CIsdnParser isdn;
    ASSERT_TRUE(isdn.CreateDispatch("VexaParser"));
    int16_t kind = 7, completion = 7;
    EXPECT_EQ(isdn.ParseLine("09.00.00.00 00001  SWHW X\n", kind, completion), 0);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(completion, 0);
    EXPECT_TRUE(isdn.Reset());
    int32_t count = 5;
    EXPECT_TRUE(isdn.GetMessageCount(count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(isdn.FindFirstMessage("SWHW"), -1);
}

TEST_F(ComponentHostTest, AClientWithoutComponentDoesNothing) {
    CIsdnParser isdn;
    int16_t kind = 3, completion = 2;
    EXPECT_EQ(isdn.ParseLine("x", kind, completion), 0);
    EXPECT_FALSE(isdn.Reset());
    std::string text = "kept";
    EXPECT_FALSE(isdn.GetCallReference(1, text));
    EXPECT_EQ(text, "");
    CIpParser ip;
    EXPECT_EQ(ip.FindFirstByProtocol(""), 0);
}

TEST_F(ComponentHostTest, MembersAFamilyLacksAreNotCalled) {
    CIpParser ip;
    ASSERT_TRUE(ip.CreateDispatch("VexaIpParser"));
    // The IP family has no pending status: the client's member table has no id for it.
    EXPECT_EQ(ip.Ids().GetPendingStatus, 0);
    EXPECT_EQ(ip.FindFirstByProtocol("H245"), -1);
}

TEST_F(ComponentHostTest, UnknownProgIdsAndFoldersWithoutComponentsFail) {
    CIsdnParser isdn;
    EXPECT_FALSE(isdn.CreateDispatch("NoSuchParser"));
    EXPECT_FALSE(isdn.LastError().empty());
    setenv("VEXA_COMPONENT_PATH", "/nonexistent-folder", 1);
    EXPECT_FALSE(isdn.CreateDispatch("VexaParser"));
    EXPECT_FALSE(isdn.HasDispatch());
}

TEST_F(ComponentHostTest, CallsWithTheWrongArgumentsAreRefused) {
    CIsdnParser isdn;
    ASSERT_TRUE(isdn.CreateDispatch("VexaDectParser"));  // creates the DECT object
    // The client uses ISDN dispatch ids on a DECT object: calls that do not match the
    // member's arguments are refused and answer 0.
    EXPECT_EQ(isdn.GetMessage(1, *std::make_unique<MessageRecord>()), false);
}

TEST_F(ComponentHostTest, TextsEndAtANulLikeTheProgramsStrings) {
    const std::string dir = TempPath("vexa-host-test");
    std::filesystem::create_directories(dir);
    WriteFile(dir + "/script", std::string("callref\t1\tH'81") + '\0' + "hidden\n");
    setenv("VEXA_SCRIPTED_SCRIPT", (dir + "/script").c_str(), 1);
    CIsdnParser isdn;
    ASSERT_TRUE(isdn.CreateDispatch("VexaParser"));
    std::string raw;
    isdn.GetCallReference(1, raw);
    EXPECT_EQ(raw, "H'81");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vexa::test
