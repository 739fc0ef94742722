// The component side of the dispatch interface: a C++ base for parser components.
//
// A component lists its members in a table (dispatch id, name, argument signature,
// handler). ComponentObject checks every call against that table before the handler
// runs, so a handler reads its arguments without checking their types again.
//
// Signature letters, one per argument in order, then ':' and the result letter:
//   s text in    S text out (may carry a text in as well)
//   h short in   H short out
//   l long in    L long out
//   V VARIANT_BOOL out
// Results: h short, l long, b BOOL, - nothing.
#pragma once

#include "VexaComponentAbi.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace vexa::component {

// The arguments and result of one call.
class Call {
public:
    Call(const VexaHost *host, VexaArg *args, int32_t argc, VexaArg *result)
        : m_host(host), m_args(args), m_argc(argc), m_result(result) {}

    std::string_view text(int i) const {
        const VexaArg &a = m_args[i];
        return a.str ? std::string_view(a.str, a.len) : std::string_view();
    }
    int32_t number(int i) const { return m_args[i].num; }
    int16_t shortNumber(int i) const { return static_cast<int16_t>(m_args[i].num); }

    void setNumber(int i, int32_t v) { m_args[i].num = v; }
    void setFlag(int i, bool v) { m_args[i].num = v ? -1 : 0; }
    void setText(int i, std::string_view t) {
        if (m_host && m_host->setText && m_args[i].sink) m_host->setText(m_args[i].sink, t.data(), t.size());
    }

    void returnShort(int32_t v) { setResult(VEXA_T_I2, static_cast<int16_t>(v)); }
    void returnLong(int32_t v) { setResult(VEXA_T_I4, v); }
    void returnBool(bool v) { setResult(VEXA_T_BOOL, v ? 1 : 0); }

    int32_t argc() const { return m_argc; }
    const VexaArg &arg(int i) const { return m_args[i]; }
    const VexaArg *args() const { return m_args; }

private:
    void setResult(int32_t type, int32_t v) {
        if (!m_result) return;
        m_result->type = type;
        m_result->num = v;
    }
    const VexaHost *m_host;
    VexaArg *m_args;
    int32_t m_argc;
    VexaArg *m_result;
};

// A signature read once: the type and direction each argument must have.
struct CompiledSignature {
    static constexpr int kMaxArgs = 16;
    int32_t types[kMaxArgs] = {};
    bool outs[kMaxArgs] = {};
    // The first eight octets of each argument (its type, then its out flag) as the program
    // fills them: one comparison per argument for nearly every call.
    uint64_t usual[kMaxArgs] = {};
    int8_t argc = -1;  // -1: the signature cannot be met by any call

    // The type and direction of a signature letter; false for a letter that is none.
    static constexpr bool Letter(char letter, int32_t &type, bool &out) {
        switch (letter) {
        case 's': type = VEXA_T_STR, out = false; return true;
        case 'S': type = VEXA_T_STR, out = true; return true;
        case 'h': type = VEXA_T_I2, out = false; return true;
        case 'H': type = VEXA_T_I2, out = true; return true;
        case 'l': type = VEXA_T_I4, out = false; return true;
        case 'L': type = VEXA_T_I4, out = true; return true;
        case 'V': type = VEXA_T_VBOOL, out = true; return true;
        default: return false;
        }
    }
    constexpr explicit CompiledSignature(const char *signature) {
        int n = 0;
        for (; signature[n] && signature[n] != ':'; ++n) {
            if (n == kMaxArgs || !Letter(signature[n], types[n], outs[n])) return;
            usual[n] = static_cast<uint32_t>(types[n]) | static_cast<uint64_t>(outs[n] ? 1 : 0) << 32;
        }
        argc = static_cast<int8_t>(n);
    }
    // Checked on every call, for every argument. An out flag may be any value but 0.
    bool Matches(const VexaArg *args, int32_t count) const {
        static_assert(offsetof(VexaArg, type) == 0 && offsetof(VexaArg, out) == 4, "type and out lead an argument");
        if (count != argc) return false;
        for (int32_t i = 0; i < count; ++i) {
            uint64_t lead;
            std::memcpy(&lead, &args[i], sizeof lead);
            if (lead == usual[i]) continue;
            if (args[i].type != types[i] || (args[i].out != 0) != outs[i]) return false;
        }
        return true;
    }
};

// Base of every component object.
class ComponentObject : public VexaObject {
public:
    explicit ComponentObject(const VexaHost *host);
    virtual ~ComponentObject();
    ComponentObject(const ComponentObject &) = delete;
    ComponentObject &operator=(const ComponentObject &) = delete;

protected:
    // Runs member dispid; returns a VexaInvokeResult.
    virtual int32_t Invoke(int32_t dispid, Call &call) = 0;
    const VexaHost *host() const { return m_host; }

private:
    static int32_t InvokeThunk(VexaObject *self, int32_t dispid, VexaArg *args, int32_t argc, VexaArg *result);
    static void ReleaseThunk(VexaObject *self);
    static const VexaObjectVtbl s_vtbl;
    const VexaHost *m_host;
};

// One row of a component's member table.
template <class T>
struct Member {
    constexpr Member(int32_t id, const char *memberName, const char *memberSignature, void (T::*memberHandler)(Call &))
        : dispid(id), name(memberName), signature(memberSignature), handler(memberHandler), compiled(memberSignature) {}
    int32_t dispid;
    const char *name;
    const char *signature;
    void (T::*handler)(Call &);
    CompiledSignature compiled;
};

// Finds dispid in the table, checks the arguments and runs the handler.
template <class T>
int32_t DispatchMember(T &self, std::span<const Member<T>> table, int32_t dispid, Call &call) {
    for (const Member<T> &m : table) {
        if (m.dispid != dispid) continue;
        if (!m.compiled.Matches(call.args(), call.argc())) return VEXA_E_ARGS;
        (self.*m.handler)(call);
        return VEXA_OK;
    }
    return VEXA_E_MEMBER;
}

}  // namespace vexa::component

// Defines the exported creation function of a component library: it creates an object
// of Class for the ProgID progId (and for no other name).
#define VEXA_EXPORT_COMPONENT(progId, Class)                                                 \
    extern "C" __attribute__((visibility("default"))) VexaObject *VexaCreateObject(          \
        const char *requested, const VexaHost *host) {                                       \
        if (!requested || std::string_view(requested) != (progId)) return nullptr;           \
        if (!host || host->abiVersion != VEXA_ABI_VERSION) return nullptr;                  \
        try {                                                                                \
            return new Class(host);                                                          \
        } catch (...) {                                                                      \
            return nullptr;                                                                  \
        }                                                                                    \
    }
