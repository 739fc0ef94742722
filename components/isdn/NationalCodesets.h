// Information elements of the national codesets (5, 6 and 7, reached by a shift) that a
// protocol variant's national standard defines. Elements not listed are shown with their
// identifier and octets in hex.
#pragma once

#include "IeDecoders.h"

namespace vexa::isdn {

struct NationalElement {
    int variant;       // 1 Generic, 2 French, 3 German, 4 Australian
    int codeset;       // 5, 6 or 7
    uint8_t id;
    const char *name;
    ElementDecoder decode;  // nullptr: octets shown in hex
};

// The element id of codeset in variant, or nullptr.
const NationalElement *FindNationalElement(int variant, int codeset, uint8_t id);

// The name of a variant ("Generic", "French", "German", "Australian").
const char *VariantName(int variant);

}  // namespace vexa::isdn
