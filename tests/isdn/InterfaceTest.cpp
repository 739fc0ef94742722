// The component as the program's host sees it: creation, the member table with its
// argument checks, and the small members.
#include "TestSupport.h"

#include "DispatchIds.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace vexa::isdn::test;

namespace {

void Sink(void *, const char *, size_t) {}

TEST(Interface, CreatedOnlyForItsProgIdAndAbi) {
    void *lib = dlopen(ComponentPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto create = reinterpret_cast<VexaCreateObjectFn>(dlsym(lib, VEXA_CREATE_OBJECT_SYMBOL));
    ASSERT_NE(create, nullptr);
    VexaHost host = {VEXA_ABI_VERSION, &Sink};
    VexaHost old = {VEXA_ABI_VERSION + 1, &Sink};
    EXPECT_EQ(create("VexaDectParser", &host), nullptr);
    EXPECT_EQ(create("VexaParser", &old), nullptr);
    EXPECT_EQ(create("VexaParser", nullptr), nullptr);
    VexaObject *o = create("VexaParser", &host);
    ASSERT_NE(o, nullptr);
    o->vtbl->release(o);
    dlclose(lib);
}

VexaArg Arg(char letter, std::string &sink) {
    VexaArg a{};
    switch (letter) {
    case 's': a.type = VEXA_T_STR; a.str = ""; break;
    case 'S': a.type = VEXA_T_STR; a.out = 1; a.sink = &sink; break;
    case 'h': a.type = VEXA_T_I2; break;
    case 'H': a.type = VEXA_T_I2; a.out = 1; break;
    case 'l': a.type = VEXA_T_I4; break;
    case 'L': a.type = VEXA_T_I4; a.out = 1; break;
    case 'V': a.type = VEXA_T_VBOOL; a.out = 1; break;
    }
    return a;
}

struct Signature {
    int32_t dispid;
    const char *args;
    int32_t resultType;
};

// The members and argument signatures the program calls (kIsdnDispIds).
const Signature kSignatures[] = {
    {24, "sHH", VEXA_T_I2},  {8, "", VEXA_T_I4},     {10, "l", VEXA_T_I2},         {9, "h", VEXA_T_I4},
    {20, "hhSSSSSSSVS", VEXA_T_I2}, {19, "lHSSSSSSSVS", VEXA_T_BOOL}, {1, "L", VEXA_T_BOOL},
    {2, "s", VEXA_T_I4},     {3, "sl", VEXA_T_I4},   {18, "", VEXA_T_BOOL},        {23, "", VEXA_T_I2},
    {4, "lS", VEXA_T_BOOL},  {21, "SS", VEXA_T_BOOL}, {22, "h", VEXA_T_BOOL},      {25, "sssss", VEXA_T_BOOL},
    {11, "lS", VEXA_T_BOOL}, {12, "lS", VEXA_T_I4},  {15, "s", VEXA_T_I4},         {6, "s", VEXA_T_I4},
    {7, "sl", VEXA_T_I4},    {13, "s", VEXA_T_I4},   {14, "sl", VEXA_T_I4},
};

TEST(Interface, EveryMemberAnswersWithItsSignature) {
    ParserClient c;
    ASSERT_TRUE(c.Loaded());
    for (const Signature &sig : kSignatures) {
        std::vector<std::string> sinks(16);
        std::vector<VexaArg> args;
        for (size_t i = 0; sig.args[i]; ++i) args.push_back(Arg(sig.args[i], sinks[i]));
        VexaArg result{};
        EXPECT_EQ(c.Invoke(sig.dispid, args, result), VEXA_OK) << "dispid " << sig.dispid;
        EXPECT_EQ(result.type, sig.resultType) << "dispid " << sig.dispid;

        // One argument fewer, or an in text where an out text is expected: refused.
        if (!args.empty()) {
            std::vector<VexaArg> fewer(args.begin(), args.end() - 1);
            EXPECT_EQ(c.Invoke(sig.dispid, fewer, result), VEXA_E_ARGS) << "dispid " << sig.dispid;
            std::vector<VexaArg> wrong = args;
            wrong[0].type = wrong[0].type == VEXA_T_STR ? VEXA_T_I4 : VEXA_T_STR;
            EXPECT_EQ(c.Invoke(sig.dispid, wrong, result), VEXA_E_ARGS) << "dispid " << sig.dispid;
            // An in argument marked out, and an out argument whose flag is another value
            // than 1: the first is refused, the second is an out argument all the same.
            std::vector<VexaArg> flagged = args;
            flagged[0].out = flagged[0].out ? 7 : 1;
            EXPECT_EQ(c.Invoke(sig.dispid, flagged, result), args[0].out ? VEXA_OK : VEXA_E_ARGS)
                << "dispid " << sig.dispid;
        }
    }
    std::vector<VexaArg> none;
    VexaArg result{};
    EXPECT_EQ(c.Invoke(5, none, result), VEXA_E_MEMBER);
    EXPECT_EQ(c.Invoke(99, none, result), VEXA_E_MEMBER);
}

TEST(Interface, ProtocolVariantsOneToFour) {
    ParserClient c;
    EXPECT_FALSE(c.SetProtocolVariant(0));
    EXPECT_FALSE(c.SetProtocolVariant(5));
    for (int v = 1; v <= 4; ++v) EXPECT_TRUE(c.SetProtocolVariant(v));
}

TEST(Interface, DecodeCallReferenceClearsTheFlag) {
    ParserClient c;
    std::string value;
    EXPECT_TRUE(c.DecodeCallReference("H'81||H'82", value));
    EXPECT_EQ(value, "H'01||H'82");
    EXPECT_FALSE(c.DecodeCallReference("H'05", value));
    EXPECT_EQ(value, "H'05");
    EXPECT_FALSE(c.DecodeCallReference("", value));
    EXPECT_EQ(value, "");
}

TEST(Interface, QuestionsAboutMessagesThatDoNotExist) {
    ParserClient c;
    std::string text = "unchanged";
    EXPECT_FALSE(c.GetCallReference(1, text));
    EXPECT_FALSE(c.GetEquNumber(0, text));
    EXPECT_EQ(c.GetSequenceMessageCount(42), 0);
    EXPECT_EQ(c.GetSequenceMessage(1, 42).status, 0);
    EXPECT_EQ(c.GetLastMessageIndex(), -1);
    EXPECT_EQ(c.GetMessageCount(), 0);
    EXPECT_EQ(c.GetPendingStatus(), 0);
}

}  // namespace
