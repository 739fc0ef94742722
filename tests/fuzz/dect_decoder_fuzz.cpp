// Octets in: decoded as one DECT network layer message, with the line reader's findings and
// without; the text must stay bounded and an invalid message must say why.
#include "DectDecoder.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace vexa::dect;
    for (bool withProblems : {false, true}) {
        const std::vector<std::string> problems =
            withProblems ? std::vector<std::string>{"LEN row missing: the signal may be incomplete"}
                         : std::vector<std::string>{};
        DecodedDect d = DectDecoder::Decode(data, size, problems, true);
        if (d.text.size() > vexa::component::DecodedText::kMaxChars + 1024) std::abort();
        if (!d.valid && d.text.find("!!!") == std::string::npos) std::abort();
        if (d.status < -7 || d.status > 1) std::abort();
        if (d.messageName.empty()) std::abort();
    }
    return 0;
}
