// Trace text in: fed line by line to the DECT component through its C interface, the way the
// program calls it, reading back every completed message and the filter members.
#include "DispatchIds.h"
#include "ComponentCalls.h"

#include <string>
#include <vector>

namespace {

using namespace vexa::fuzz;
constexpr const vexa::ParserDispIds &kIds = vexa::kDectDispIds;

void Feed(VexaObject *o, std::string_view piece) {
    std::vector<VexaArg> a = {Text(piece), Num(VEXA_T_I2, 0, true), Num(VEXA_T_I2, 0, true)};
    const int status = static_cast<int16_t>(Call(o, kIds.ParseLine, a));
    const int completion = a[2].num;
    if (a[1].num < 0 || a[1].num > 4 || completion < 0 || completion > 2 || status < -7 || status > 1) std::abort();
    if (!completion) return;
    std::vector<VexaArg> none;
    const int32_t index = Call(o, kIds.GetLastMessageIndex, none);
    std::vector<VexaArg> s = {Num(VEXA_T_I4, index)};
    const int seq = static_cast<int16_t>(Call(o, kIds.GetSequenceNumber, s));
    std::vector<VexaArg> c = {Num(VEXA_T_I2, seq)};
    if (Call(o, kIds.GetSequenceMessageCount, c) != 1) std::abort();
    std::string t[12];
    std::vector<VexaArg> m = {Num(VEXA_T_I2, 1), Num(VEXA_T_I2, seq)};
    for (int k = 0; k < 7; ++k) m.push_back(OutText(t[k]));
    m.push_back(Num(VEXA_T_VBOOL, 0, true));
    for (int k = 7; k < 12; ++k) m.push_back(OutText(t[k]));
    if (Call(o, kIds.GetSequenceMessage, m) != 1) std::abort();
    std::string userPart;
    std::vector<VexaArg> u = {Num(VEXA_T_I2, seq), OutText(userPart)};
    Call(o, kIds.GetUserPart, u);
    std::vector<VexaArg> f = {Text(t[9]), Num(VEXA_T_I4, 0)};
    Call(o, kIds.FindNextByScpId, f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    VexaObject *o = Create("VexaDectParser");
    for (std::string_view piece : TracePieces(data, size)) Feed(o, piece);
    // The filter members walk what was kept.
    std::string value;
    for (int32_t id : {kIds.GetNextScpId, kIds.GetNextTransactionFlag}) {
        int32_t h = -1;
        for (int n = 0; n < 100000; ++n) {
            std::vector<VexaArg> g = {Num(VEXA_T_I4, h), OutText(value)};
            h = Call(o, id, g);
            if (h < 0) break;
        }
    }
    std::vector<VexaArg> count = {Num(VEXA_T_I4, 0, true)};
    Call(o, kIds.GetMessageCount, count);
    for (int32_t i = 1; i <= count[0].num && i <= 64; ++i) {
        std::string t[8];
        std::vector<VexaArg> g = {Num(VEXA_T_I4, i), Num(VEXA_T_I2, 0, true)};
        for (int k = 0; k < 7; ++k) g.push_back(OutText(t[k]));
        g.push_back(Num(VEXA_T_VBOOL, 0, true));
        g.push_back(OutText(t[7]));
        Call(o, kIds.GetMessage, g);
    }
    o->vtbl->release(o);
    return 0;
}
