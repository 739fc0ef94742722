// What the lines fuzz targets share: a component made through its C interface, its members
// called the way the program calls them (any call the component refuses is a fault), and
// trace text cut into the pieces the program hands over: lines, cut at 511 characters,
// then the end line.
#pragma once

#include "VexaComponentAbi.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" VexaObject *VexaCreateObject(const char *progId, const VexaHost *host);

namespace vexa::fuzz {

inline void SetText(void *sink, const char *text, size_t len) {
    static_cast<std::string *>(sink)->assign(text, len);
}
inline const VexaHost kHost = {VEXA_ABI_VERSION, &SetText};

inline VexaArg Num(int32_t type, int32_t v, bool out = false) {
    VexaArg a{};
    a.type = type;
    a.num = v;
    a.out = out;
    return a;
}
inline VexaArg Text(std::string_view s) {
    VexaArg a{};
    a.type = VEXA_T_STR;
    a.str = s.data();
    a.len = s.size();
    return a;
}
inline VexaArg OutText(std::string &s) {
    VexaArg a{};
    a.type = VEXA_T_STR;
    a.out = 1;
    a.sink = &s;
    return a;
}

inline int32_t Call(VexaObject *o, int32_t id, std::vector<VexaArg> &args) {
    VexaArg r{};
    if (o->vtbl->invoke(o, id, args.data(), static_cast<int32_t>(args.size()), &r) != VEXA_OK) std::abort();
    return r.num;
}

// The component of progId; a component that cannot be made is a fault.
inline VexaObject *Create(const char *progId) {
    VexaObject *o = VexaCreateObject(progId, &kHost);
    if (!o) std::abort();
    return o;
}

// The pieces of data as the program reads them from a trace, the end line last.
inline std::vector<std::string_view> TracePieces(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    std::vector<std::string_view> pieces;
    for (size_t pos = 0; pos < text.size();) {
        const size_t nl = text.find('\n', pos);
        const size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        const std::string_view line = text.substr(pos, end - pos);
        for (size_t p = 0; p < line.size(); p += 511) pieces.push_back(line.substr(p, 511));
        pos = end;
    }
    pieces.push_back("END");
    return pieces;
}

}  // namespace vexa::fuzz
