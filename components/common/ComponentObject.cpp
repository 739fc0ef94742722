#include "ComponentObject.h"

namespace vexa::component {

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
