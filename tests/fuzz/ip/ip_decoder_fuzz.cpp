// Octets in: the first octet chooses a RAS, call signalling or H.245 message, or (with the
// second and third) any type of the PER tables; the rest are decoded as that.
#include "H323Decoder.h"
#include "PerSchema.h"
#include "PerWalker.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) return 0;
    const uint8_t choice = data[0] % 4;
    if (choice < 3) {
        const auto m = vexa::ip::H323Decoder::Decode(static_cast<vexa::ip::H323Protocol>(choice), data + 1, size - 1);
        if (!m.valid && m.text.find("!!!") == std::string::npos) std::abort();
        return 0;
    }
    const uint32_t type = (static_cast<uint32_t>(data[1]) << 8 | data[2]) % vexa::ip::kPerTypeCount;
    vexa::component::DecodedText out;
    vexa::ip::PerWalker walker(out);
    if (!walker.Decode(static_cast<int32_t>(type), data + 3, size - 3, "value") && !out.HasErrors()) std::abort();
    return 0;
}
