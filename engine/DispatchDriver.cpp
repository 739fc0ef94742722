#include "DispatchDriver.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <unistd.h>

namespace vexa {

namespace {

void SetText(void *sink, const char *text, size_t len) {
    auto *target = static_cast<std::string *>(sink);
    if (!text) {
        target->clear();
        return;
    }
    // The program reads a returned text as a C string: it ends at a NUL.
    const void *nul = std::memchr(text, '\0', len);
    if (nul) len = static_cast<size_t>(static_cast<const char *>(nul) - text);
    // Emptied and appended to: the same as assigning, without the general replacing that
    // assign does (texts come back for every message of a run).
    target->clear();
    target->append(text, len);
}

const VexaHost kHost = {VEXA_ABI_VERSION, &SetText};

// Libraries stay loaded once opened: components may be created again on every run, and
// unloading code that a released object might still reach gains nothing.
VexaCreateObjectFn LoadFactory(const std::string &path, std::string &error) {
    static std::map<std::string, VexaCreateObjectFn> loaded;
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    auto it = loaded.find(path);
    if (it != loaded.end()) return it->second;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = dlerror();
        error = why ? why : "cannot load " + path;
        return nullptr;
    }
    auto factory = reinterpret_cast<VexaCreateObjectFn>(dlsym(handle, VEXA_CREATE_OBJECT_SYMBOL));
    if (!factory) {
        error = path + " is not a Vexa component";
        dlclose(handle);
        return nullptr;
    }
    loaded.emplace(path, factory);
    return factory;
}

}  // namespace

DispatchArg DispatchArg::InShort(int16_t v) {
    DispatchArg a;
    a.arg.type = VEXA_T_I2;
    a.arg.num = v;
    return a;
}

DispatchArg DispatchArg::InLong(int32_t v) {
    DispatchArg a;
    a.arg.type = VEXA_T_I4;
    a.arg.num = v;
    return a;
}

DispatchArg DispatchArg::InText(std::string_view v) {
    DispatchArg a;
    a.arg.type = VEXA_T_STR;
    a.arg.str = v.data();
    a.arg.len = v.size();
    return a;
}

DispatchArg DispatchArg::OutShort() {
    DispatchArg a;
    a.arg.type = VEXA_T_I2;
    a.arg.out = 1;
    return a;
}

DispatchArg DispatchArg::OutLong() {
    DispatchArg a;
    a.arg.type = VEXA_T_I4;
    a.arg.out = 1;
    return a;
}

DispatchArg DispatchArg::OutFlag() {
    DispatchArg a;
    a.arg.type = VEXA_T_VBOOL;
    a.arg.out = 1;
    return a;
}

DispatchArg DispatchArg::OutText(std::string_view initial) {
    DispatchArg a;
    a.arg.type = VEXA_T_STR;
    a.arg.out = 1;
    a.inText.assign(initial);
    a.text.assign(initial);
    return a;
}

DispatchArg DispatchArg::OutTextUnwanted() {
    DispatchArg a = OutText();
    a.wanted = false;
    return a;
}

CDispatchDriver::~CDispatchDriver() { ReleaseDispatch(); }

std::string CDispatchDriver::ComponentFolder() {
    if (const char *env = std::getenv("VEXA_COMPONENT_PATH"); env && *env) return env;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

bool CDispatchDriver::CreateDispatch(const std::string &progId) {
    return CreateDispatchFrom(ComponentFolder() + "/" + progId + ".so", progId);
}

bool CDispatchDriver::CreateDispatchFrom(const std::string &libraryPath, const std::string &progId) {
    ReleaseDispatch();
    m_lastError.clear();
    VexaCreateObjectFn factory = LoadFactory(libraryPath, m_lastError);
    if (!factory) return false;
    m_object = factory(progId.c_str(), &kHost);
    if (!m_object || !m_object->vtbl || !m_object->vtbl->invoke || !m_object->vtbl->release) {
        m_object = nullptr;
        m_lastError = libraryPath + " did not create " + progId;
        return false;
    }
    return true;
}

void CDispatchDriver::ReleaseDispatch() {
    if (m_object) m_object->vtbl->release(m_object);
    m_object = nullptr;
}

int32_t CDispatchDriver::Invoke(int32_t dispid, DispatchArg *args, int32_t argc) {
    if (!m_object || dispid == 0) return 0;
    // The arguments go to the component as one contiguous array.
    constexpr int kMaxArgs = 16;
    VexaArg raw[kMaxArgs];
    if (argc > kMaxArgs) return 0;
    for (int32_t i = 0; i < argc; ++i) {
        raw[i] = args[i].arg;
        if (raw[i].type == VEXA_T_STR && raw[i].out) {
            raw[i].str = args[i].inText.data();
            raw[i].len = args[i].inText.size();
            raw[i].sink = args[i].wanted ? &args[i].text : nullptr;
        }
    }
    int32_t result = InvokeRaw(dispid, raw, argc);
    for (int32_t i = 0; i < argc; ++i) {
        if (raw[i].out) args[i].arg.num = raw[i].num;
    }
    return result;
}

int32_t CDispatchDriver::InvokeRaw(int32_t dispid, VexaArg *args, int32_t argc) {
    if (dispid == 0) return 0;
    VexaArg result{};
    if (InvokeChecked(dispid, args, argc, &result) != VEXA_OK) return 0;
    return result.num;
}

int32_t CDispatchDriver::InvokeChecked(int32_t dispid, VexaArg *args, int32_t argc, VexaArg *result) {
    if (!m_object) return VEXA_E_FAIL;
    return m_object->vtbl->invoke(m_object, dispid, args, argc, result);
}

}  // namespace vexa
