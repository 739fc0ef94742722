// Octets in: the first octet picks the variant (1-4), the rest is a layer 3 message.
#include "Q931Decoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    vexa::isdn::Q931Decoder decoder(1 + data[0] % 4);
    vexa::isdn::DecodedMessage m = decoder.Decode(data + 1, size - 1, {});
    // What the program relies on: a known status, a text it can show.
    switch (m.status) {
    case 1: case 0: case -4: case -5: case -6: case -7: break;
    default: std::abort();
    }
    if (m.status <= -5 && m.valid) std::abort();
    if (m.text.size() > 70000) std::abort();
    return 0;
}
