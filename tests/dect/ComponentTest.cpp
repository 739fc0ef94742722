// The component as the program's host sees it: creation, the member table, line kinds and
// completions of GDI signals, the strings of a DECT block and the filter members.
#include "DectClient.h"

#include "DispatchIds.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace vexa;
using namespace vexa::dect::test;

namespace {

const std::string kSetup = "13 05 05 07 80 A8 00 AB C1 23 45 06 07 80 A4 01 57 81 23 40 E0 80";

void Sink(void *sink, const char *text, size_t len) { static_cast<std::string *>(sink)->assign(text, len); }

TEST(DectInterface, CreatedOnlyUnderItsProgId) {
    void *lib = dlopen(VEXA_DECT_COMPONENT, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto create = reinterpret_cast<VexaCreateObjectFn>(dlsym(lib, VEXA_CREATE_OBJECT_SYMBOL));
    ASSERT_NE(create, nullptr);
    VexaHost host = {VEXA_ABI_VERSION, &Sink};
    EXPECT_EQ(create("VexaParser", &host), nullptr);
    EXPECT_EQ(create("VexaDectParser", nullptr), nullptr);
    VexaObject *o = create("VexaDectParser", &host);
    ASSERT_NE(o, nullptr);
    o->vtbl->release(o);
    dlclose(lib);
}

// Every member answers its dispatch id with the argument types the program passes, and
// refuses other argument lists without touching them.
TEST(DectInterface, EveryMemberAnswersWithItsSignature) {
    struct Signature {
        int32_t dispid;
        const char *args;
        int32_t resultType;
    };
    const ParserDispIds &ids = kDectDispIds;
    const Signature kSignatures[] = {
        {ids.ParseLine, "sHH", VEXA_T_I2},
        {ids.GetLastMessageIndex, "", VEXA_T_I4},
        {ids.GetSequenceNumber, "l", VEXA_T_I2},
        {ids.GetSequenceMessageCount, "h", VEXA_T_I4},
        {ids.GetSequenceMessage, "hhSSSSSSSVSSSSS", VEXA_T_I2},
        {ids.GetMessage, "lHSSSSSSSVS", VEXA_T_BOOL},
        {ids.GetMessageCount, "L", VEXA_T_BOOL},
        {ids.FindFirstMessage, "s", VEXA_T_I4},
        {ids.FindNextMessage, "sl", VEXA_T_I4},
        {ids.Reset, "", VEXA_T_BOOL},
        {ids.GetNextScpId, "lS", VEXA_T_I4},
        {ids.FindFirstByScpId, "s", VEXA_T_I4},
        {ids.FindNextByScpId, "sl", VEXA_T_I4},
        {ids.GetNextTransactionFlag, "lS", VEXA_T_I4},
        {ids.FindFirstByTransactionFlag, "s", VEXA_T_I4},
        {ids.FindNextByTransactionFlag, "sl", VEXA_T_I4},
        {ids.GetUserPart, "hS", VEXA_T_BOOL},
    };
    DectClient client;
    ASSERT_TRUE(client.Loaded());
    for (const Signature &s : kSignatures) {
        std::vector<std::string> sinks(16);
        std::vector<VexaArg> args;
        for (size_t i = 0; s.args[i]; ++i) {
            VexaArg a{};
            switch (s.args[i]) {
            case 's': a.type = VEXA_T_STR; a.str = ""; break;
            case 'S': a.type = VEXA_T_STR; a.out = 1; a.sink = &sinks[i]; break;
            case 'h': a.type = VEXA_T_I2; a.num = 1; break;
            case 'H': a.type = VEXA_T_I2; a.out = 1; break;
            case 'l': a.type = VEXA_T_I4; a.num = 1; break;
            case 'L': a.type = VEXA_T_I4; a.out = 1; break;
            case 'V': a.type = VEXA_T_VBOOL; a.out = 1; break;
            }
            args.push_back(a);
        }
        VexaArg result{};
        EXPECT_EQ(client.parser.InvokeChecked(s.dispid, args.data(), static_cast<int32_t>(args.size()), &result), VEXA_OK)
            << "dispid " << s.dispid;
        EXPECT_EQ(result.type, s.resultType) << "dispid " << s.dispid;
        // One argument fewer, or a text where a number belongs, is refused.
        if (!args.empty()) {
            VexaArg none{};
            EXPECT_EQ(client.parser.InvokeChecked(s.dispid, args.data(), static_cast<int32_t>(args.size()) - 1, &none),
                      VEXA_E_ARGS);
        }
    }
    VexaArg result{};
    EXPECT_EQ(client.parser.InvokeChecked(24, nullptr, 0, &result), VEXA_E_MEMBER);  // an ISDN-only id
}

TEST(DectLines, KindsAndCompletionOfAGdiSignal) {
    DectClient c;
    EXPECT_EQ(c.ParseLine("10.02.11.04 00101  HWSW GDIIND       DECT-01    GDICP-01\n").kind, 1);
    EXPECT_EQ(c.ParseLine("                        SCP DATA_IND  ID 0012\n").kind, 2);
    EXPECT_EQ(c.ParseLine("                        USER PART 2345\n").kind, 3);
    EXPECT_EQ(c.ParseLine("                        some free text of the exchange\n").kind, 0);
    LineAnswer data = c.ParseLine("                        DATA 13 4D E2 00\n");
    EXPECT_EQ(data.kind, 4);
    EXPECT_EQ(data.completion, 0);
    LineAnswer len = c.ParseLine("                        LEN 4\n");
    EXPECT_EQ(len.kind, 3);
    EXPECT_EQ(len.completion, 1);
    EXPECT_EQ(len.status, 1);
    // Rows after the LEN row belong to no message: the signal is not completed twice.
    EXPECT_EQ(c.ParseLine("                        LEN 4\n").kind, 0);
    EXPECT_EQ(c.ParseLine("END OF TRACE\n").completion, 0);
    // Other signals and their rows are kind 0.
    EXPECT_EQ(c.ParseLine("10.02.11.05 00102  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n").kind, 0);
    EXPECT_EQ(c.ParseLine("                        DATA 08 01 01 05\n").kind, 0);
}

TEST(DectLines, StringsOfADectBlock) {
    DectClient c;
    auto done = c.Run(std::string(kPreamble) + Gdi(101, "HWSW", "SETUP_IND", "0031", kSetup) + "END OF TRACE\n");
    ASSERT_EQ(done.size(), 1u);
    const Completion &s = done[0];
    EXPECT_EQ(s.lineStatus, 1);
    EXPECT_EQ(s.completion, 1);
    EXPECT_EQ(s.index, 1);
    EXPECT_EQ(s.sequence, 101);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.messageStatus, 1);
    EXPECT_TRUE(s.message.valid);
    EXPECT_EQ(s.Text(1), "HWSW");
    EXPECT_EQ(s.Text(2), "GDIIND");
    EXPECT_EQ(s.Text(3), "CC-SETUP");
    EXPECT_EQ(s.Text(4), "10.02.11.01");
    EXPECT_EQ(s.Text(5), "DECT-01");
    EXPECT_EQ(s.Text(6), "GDICP-01");
    EXPECT_NE(s.Text(7).find("PORTABLE-IDENTITY (H'05)"), std::string::npos);
    EXPECT_EQ(s.Text(8), "CC Call Control (H'03)");
    EXPECT_EQ(s.Text(9), "SETUP_IND");
    EXPECT_EQ(s.Text(10), "0031");
    EXPECT_EQ(s.Text(11), "TI 1 (Originator)");
    EXPECT_EQ(s.Text(12), "Portable identity: IPUI-N IPEI 02748 0074565 8");
    EXPECT_EQ(s.userPart, "2345");
    auto rows = c.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].sequence, 101);
    EXPECT_EQ(rows[0].Text(3), "CC-SETUP");
    EXPECT_TRUE(rows[0].valid);
}

TEST(DectLines, StationControlOnlyMissingLenAndOtherSignalsBetween) {
    DectClient c;
    std::string trace = kPreamble;
    trace += Gdi(1, "SWHW", "PAGE_REQ", "0040", "", kNoLen);      // station control only, no LEN
    trace += Other(2, "CALLSUP");                                 // completes it (completion 2)
    trace += Gdi(3, "HWSW", "DATA_IND", "0040", "83 01", kNoLen); // DATA but no LEN
    trace += Gdi(4, "HWSW", "DATA_IND", "0040", "83 07");         // completes the one before
    trace += "END OF TRACE\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 3u);
    EXPECT_EQ(done[0].lineStatus, -5);
    EXPECT_EQ(done[0].completion, 2);
    EXPECT_EQ(done[0].Text(9), "PAGE_REQ");
    EXPECT_EQ(done[0].Text(10), "0040");
    EXPECT_TRUE(done[0].message.valid);
    EXPECT_EQ(done[1].sequence, 3);
    EXPECT_EQ(done[1].completion, 2);
    EXPECT_EQ(done[1].Text(3), "CC-ALERTING");
    EXPECT_FALSE(done[1].message.valid);
    EXPECT_NE(done[1].Text(7).find("!!!LEN row missing"), std::string::npos);
    EXPECT_EQ(done[2].completion, 1);
    EXPECT_TRUE(done[2].message.valid);
}

TEST(DectLines, TraceCutInTheMiddleOfASignal) {
    DectClient c;
    // The file ends after the first DATA row of a two-row message: "END" completes it.
    std::string trace = std::string(kPreamble) + Gdi(7, "HWSW", "SETUP_IND", "0031", kSetup);
    trace = trace.substr(0, trace.find("DATA 57"));
    trace.erase(trace.find_last_not_of(' ') + 1);
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].completion, 1);
    EXPECT_EQ(done[0].Text(3), "CC-SETUP");
    EXPECT_FALSE(done[0].message.valid);
    EXPECT_NE(done[0].Text(7).find("LEN row missing"), std::string::npos);
}

TEST(DectLines, SpecialStatuses) {
    DectClient c;
    std::string trace = kPreamble;
    trace += Gdi(1, "HWSW", "DATA_IND", "1", "13 7F");                    // unknown message type
    trace += Gdi(2, "HWSW", "DATA_IND", "1", "12 01");                    // unknown discriminator
    trace += Gdi(3, "HWSW", "DATA_IND", "1", "13 05 05 07 80 A8 00 AB");  // elements not decodable
    trace += Gdi(4, "HWSW", "DATA_IND", "1", "13 01");                    // no elements
    trace += "END OF TRACE\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 4u);
    EXPECT_EQ(done[0].lineStatus, -6);
    EXPECT_NE(done[0].Text(7).find("H'7F"), std::string::npos);
    EXPECT_FALSE(done[0].message.valid);
    EXPECT_EQ(done[1].lineStatus, -7);
    EXPECT_NE(done[1].Text(7).find("Unknown protocol discriminator H'02"), std::string::npos);
    EXPECT_EQ(done[2].lineStatus, -4);
    EXPECT_EQ(done[2].Text(7).rfind("CC-SETUP (H'05)", 0), 0u);
    EXPECT_EQ(done[2].Text(7).find('\n'), std::string::npos);
    EXPECT_EQ(done[3].lineStatus, 0);
    EXPECT_TRUE(done[3].message.valid);
}

TEST(DectFilters, ScpIdsTransactionFlagsAndDirections) {
    DectClient c;
    std::string trace = kPreamble;
    trace += Gdi(1, "HWSW", "SETUP_IND", "0031", kSetup);     // flag 0
    trace += Gdi(2, "SWHW", "DATA_REQ", "0031", "93 02");     // flag 1
    trace += Gdi(3, "SWHW", "PAGE_REQ", "0040", "", kNoLen);  // no transaction
    trace += Gdi(4, "HWSW", "DATA_IND", "0040", "03 01");     // flag 0
    trace += "END OF TRACE\n";
    ASSERT_EQ(c.Run(trace).size(), 4u);
    std::vector<std::string> ids;
    std::string text;
    for (int32_t h = c.parser.GetNextScpId(-1, text); h >= 0; h = c.parser.GetNextScpId(h, text)) ids.push_back(text);
    EXPECT_EQ(ids, (std::vector<std::string>{"0031", "0040"}));
    std::vector<std::string> flags;
    for (int32_t h = c.parser.GetNextTransactionFlag(-1, text); h >= 0; h = c.parser.GetNextTransactionFlag(h, text))
        flags.push_back(text);
    EXPECT_EQ(flags, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(c.parser.FindFirstByScpId("0040"), 3);
    EXPECT_EQ(c.parser.FindNextByScpId("0040", 3), 4);
    EXPECT_EQ(c.parser.FindNextByScpId("0040", 4), -1);
    EXPECT_EQ(c.parser.FindFirstByScpId("9999"), -1);
    EXPECT_EQ(c.parser.FindFirstByTransactionFlag("0"), 1);
    EXPECT_EQ(c.parser.FindNextByTransactionFlag("0", 1), 4);
    EXPECT_EQ(c.parser.FindFirstByTransactionFlag("1"), 2);
    EXPECT_EQ(c.parser.FindNextByTransactionFlag("1", 2), -1);
    EXPECT_EQ(c.parser.FindFirstMessage("SWHW"), 2);
    EXPECT_EQ(c.parser.FindNextMessage("SWHW", 2), 3);
    EXPECT_EQ(c.parser.FindNextMessage("SWHW", 3), -1);
    EXPECT_EQ(c.parser.FindFirstMessage("HWSW"), 1);
    EXPECT_EQ(c.parser.FindNextMessage("HWSW", 1), 4);
    // Reset forgets everything.
    EXPECT_TRUE(c.parser.Reset());
    int32_t count = -1;
    c.parser.GetMessageCount(count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(c.parser.GetNextScpId(-1, text), -1);
    EXPECT_EQ(c.parser.FindFirstMessage("SWHW"), -1);
    std::string userPart;
    EXPECT_FALSE(c.parser.GetUserPart(1, userPart));
}

TEST(DectFilters, RepeatedSequenceNumbersAnswerTheLatestSignal) {
    DectClient c;
    std::string trace = kPreamble;
    trace += Gdi(5, "HWSW", "DATA_IND", "0031", "13 01", -1, "1111");
    trace += Gdi(5, "HWSW", "DATA_IND", "0032", "13 07", -1, "2222");
    trace += "END OF TRACE\n";
    auto done = c.Run(trace);
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].Text(3), "CC-ALERTING");
    EXPECT_EQ(done[0].userPart, "1111");
    EXPECT_EQ(done[1].Text(3), "CC-CONNECT");
    EXPECT_EQ(done[1].userPart, "2222");
    auto rows = c.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Text(3), "CC-ALERTING");
}

}  // namespace
