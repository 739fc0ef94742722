// Trace text in: fed line by line to the component through its C interface, the way the
// program calls it, reading back every completed message.
#include "DispatchIds.h"
#include "ComponentCalls.h"

#include <string>
#include <vector>

namespace {

using namespace vexa::fuzz;
constexpr const vexa::ParserDispIds &kIds = vexa::kIsdnDispIds;

void Feed(VexaObject *o, std::string_view piece) {
    std::vector<VexaArg> a = {Text(piece), Num(VEXA_T_I2, 0, true), Num(VEXA_T_I2, 0, true)};
    Call(o, kIds.ParseLine, a);
    int completion = a[2].num;
    if (a[1].num < 0 || a[1].num > 4 || completion < 0 || completion > 2) std::abort();
    if (!completion) return;
    std::vector<VexaArg> none;
    int32_t index = Call(o, kIds.GetLastMessageIndex, none);
    std::vector<VexaArg> s = {Num(VEXA_T_I4, index)};
    int seq = static_cast<int16_t>(Call(o, kIds.GetSequenceNumber, s));
    std::vector<VexaArg> c = {Num(VEXA_T_I2, seq)};
    int32_t count = Call(o, kIds.GetSequenceMessageCount, c);
    if (count < 1) std::abort();
    for (int i = 1; i <= count; ++i) {
        std::string t[8];
        std::vector<VexaArg> m = {Num(VEXA_T_I2, i), Num(VEXA_T_I2, seq)};
        for (int k = 0; k < 7; ++k) m.push_back(OutText(t[k]));
        m.push_back(Num(VEXA_T_VBOOL, 0, true));
        m.push_back(OutText(t[7]));
        if (Call(o, kIds.GetSequenceMessage, m) != 1) std::abort();
    }
    std::string cr, value;
    std::vector<VexaArg> g = {Num(VEXA_T_I4, index), OutText(cr)};
    Call(o, kIds.GetCallReference, g);
    VexaArg in = OutText(cr);
    in.str = cr.data();
    in.len = cr.size();
    std::vector<VexaArg> d = {in, OutText(value)};
    Call(o, kIds.DecodeCallReference, d);
    std::vector<VexaArg> f = {Text(cr), Num(VEXA_T_I4, 0)};
    Call(o, kIds.FindNextByCallReference, f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    VexaObject *o = Create("VexaParser");
    for (std::string_view piece : TracePieces(data, size)) Feed(o, piece);
    std::vector<VexaArg> none;
    Call(o, kIds.GetPendingStatus, none);
    std::vector<VexaArg> count = {Num(VEXA_T_I4, 0, true)};
    Call(o, kIds.GetMessageCount, count);
    o->vtbl->release(o);
    return 0;
}
