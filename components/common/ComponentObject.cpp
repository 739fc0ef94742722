#include "ComponentObject.h"

namespace vexa::component {

namespace {

bool ArgMatches(char letter, const VexaArg &a) {
    switch (letter) {
    case 's': return a.type == VEXA_T_STR && !a.out;
    case 'S': return a.type == VEXA_T_STR && a.out;
    case 'h': return a.type == VEXA_T_I2 && !a.out;
    case 'H': return a.type == VEXA_T_I2 && a.out;
    case 'l': return a.type == VEXA_T_I4 && !a.out;
    case 'L': return a.type == VEXA_T_I4 && a.out;
    case 'V': return a.type == VEXA_T_VBOOL && a.out;
    default: return false;
    }
}

}  // namespace

bool MatchesSignature(const char *signature, const VexaArg *args, int32_t argc) {
    int32_t i = 0;
    for (const char *p = signature; *p && *p != ':'; ++p, ++i) {
        if (i >= argc || !ArgMatches(*p, args[i])) return false;
    }
    return i == argc;
}

const VexaObjectVtbl ComponentObject::s_vtbl = {&ComponentObject::InvokeThunk, &ComponentObject::ReleaseThunk};

ComponentObject::ComponentObject(const VexaHost *host) : m_host(host) { vtbl = &s_vtbl; }

ComponentObject::~ComponentObject() = default;

int32_t ComponentObject::InvokeThunk(VexaObject *self, int32_t dispid, VexaArg *args, int32_t argc,
                                     VexaArg *result) {
    if (!self || argc < 0 || (argc > 0 && !args)) return VEXA_E_ARGS;
    auto *object = static_cast<ComponentObject *>(self);
    Call call(object->m_host, args, argc, result);
    try {
        return object->Invoke(dispid, call);
    } catch (...) {
        return VEXA_E_FAIL;
    }
}

void ComponentObject::ReleaseThunk(VexaObject *self) { delete static_cast<ComponentObject *>(self); }

}  // namespace vexa::component
