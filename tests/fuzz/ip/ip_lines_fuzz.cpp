// Trace text in: fed line by line to the IP component through its C interface the way the
// program feeds it, going back to the mark at a rewind, and reading back every completed
// message. A rewind that does not move the reading on, or a completion without messages, is
// a fault.
#include "DispatchIds.h"
#include "../ComponentCalls.h"

#include <string>
#include <vector>

namespace {

using namespace vexa::fuzz;
constexpr const vexa::ParserDispIds &kIds = vexa::kIpDispIds;

// Returns the status of the line.
int Feed(VexaObject *o, std::string_view piece) {
    std::vector<VexaArg> a = {Text(piece), Num(VEXA_T_I2, 0, true), Num(VEXA_T_I2, 0, true)};
    const int status = static_cast<int16_t>(Call(o, kIds.ParseLine, a));
    const int completion = a[2].num;
    if (a[1].num < 0 || a[1].num > 4 || completion < 0 || completion > 2) std::abort();
    if (!completion) return status;
    std::vector<VexaArg> none;
    const int32_t index = Call(o, kIds.GetLastMessageIndex, none);
    std::vector<VexaArg> s = {Num(VEXA_T_I4, index)};
    const int seq = static_cast<int16_t>(Call(o, kIds.GetSequenceNumber, s));
    std::vector<VexaArg> c = {Num(VEXA_T_I2, seq)};
    const int32_t count = Call(o, kIds.GetSequenceMessageCount, c);
    if (count < 1) std::abort();
    for (int i = 1; i <= count; ++i) {
        std::string t[7];
        std::vector<VexaArg> m = {Num(VEXA_T_I2, i), Num(VEXA_T_I2, seq)};
        for (int k = 0; k < 7; ++k) m.push_back(OutText(t[k]));
        m.push_back(Num(VEXA_T_VBOOL, 0, true));
        if (Call(o, kIds.GetSequenceMessage, m) != 1) std::abort();
    }
    for (const char *p : {"RAS", "H245", "H2250", ""}) {
        std::vector<VexaArg> f = {Text(p), Num(VEXA_T_I4, index - 1)};
        Call(o, kIds.FindNextByProtocol, f);
    }
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    VexaObject *o = Create("VexaIpParser");
    const std::vector<std::string_view> pieces = TracePieces(data, size);
    size_t at = 0, mark = 0, calls = 0;
    bool markOpen = false;
    while (at < pieces.size()) {
        if (++calls > 20 * pieces.size() + 100000) std::abort();  // read over and over
        const size_t here = at++;
        const int status = Feed(o, pieces[here]);
        if (status == -100) {
            mark = at;
            markOpen = true;
        } else if ((status == 100 || status == 300) && markOpen) {
            if (mark > here) std::abort();
            at = mark;
            markOpen = false;
        }
    }
    std::vector<VexaArg> count = {Num(VEXA_T_I4, 0, true)};
    Call(o, kIds.GetMessageCount, count);
    o->vtbl->release(o);
    return 0;
}
