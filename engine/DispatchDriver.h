// The program's side of a parser component: creates the component by ProgID and calls
// its members by dispatch id with typed arguments, the way an automation client does.
#pragma once

#include "VexaComponentAbi.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// One argument of a call: build in and out arguments with the helpers below.
struct DispatchArg {
    VexaArg arg{};
    std::string text;    // the text of a text out argument after the call
    std::string inText;  // what a text out argument carries in
    bool wanted = true;  // a text out argument whose value is read

    static DispatchArg InShort(int16_t v);
    static DispatchArg InLong(int32_t v);
    static DispatchArg InText(std::string_view v);
    static DispatchArg OutShort();
    static DispatchArg OutLong();
    static DispatchArg OutFlag();
    // A text out argument; initial is what it carries in (usually empty).
    static DispatchArg OutText(std::string_view initial = {});
    // A text out argument whose value is not wanted: the component may skip making it.
    static DispatchArg OutTextUnwanted();

    int32_t Number() const { return arg.num; }
    bool Flag() const { return arg.num != 0; }
};

// Raw arguments for InvokeRaw, for the calls made for every line or message: a number in
// or out, and a text out argument whose text goes straight into the caller's string (or
// is not asked for, with no string).
inline VexaArg RawIn(int32_t type, int32_t value) {
    VexaArg a{};
    a.type = type;
    a.num = value;
    return a;
}
inline VexaArg RawOut(int32_t type) {
    VexaArg a{};
    a.type = type;
    a.out = 1;
    return a;
}
inline VexaArg RawOutText(std::string *sink) {
    VexaArg a = RawOut(VEXA_T_STR);
    a.str = "";
    a.sink = sink;
    return a;
}

class CDispatchDriver {
public:
    CDispatchDriver() = default;
    ~CDispatchDriver();
    CDispatchDriver(const CDispatchDriver &) = delete;
    CDispatchDriver &operator=(const CDispatchDriver &) = delete;

    // Loads <progId>.so from the component folder and creates its object. False when the
    // library or its object cannot be had.
    bool CreateDispatch(const std::string &progId);
    // The same from the library at libraryPath, wherever it lies.
    bool CreateDispatchFrom(const std::string &libraryPath, const std::string &progId);
    // Lets go of the component (the library stays loaded for the next creation).
    void ReleaseDispatch();
    bool HasDispatch() const { return m_object != nullptr; }

    // Calls member dispid. Without a component, or when the component refuses the call,
    // nothing happens and the result is 0. Text out arguments are read back into text.
    int32_t Invoke(int32_t dispid, DispatchArg *args, int32_t argc);
    // The same for arguments without text out values, passed as they stand (the hot path
    // of reading a trace line).
    int32_t InvokeRaw(int32_t dispid, VexaArg *args, int32_t argc);
    // Calls member dispid with the arguments as they stand and answers the component's
    // VexaInvokeResult (VEXA_E_FAIL without a component); result receives its result value.
    // Text out arguments need a std::string as their sink.
    int32_t InvokeChecked(int32_t dispid, VexaArg *args, int32_t argc, VexaArg *result);

    // The folder that components are loaded from: VEXA_COMPONENT_PATH when set, else the
    // folder of the running program.
    static std::string ComponentFolder();
    // The reason the last creation failed, for messages that go beyond the program's own.
    const std::string &LastError() const { return m_lastError; }

private:
    VexaObject *m_object = nullptr;
    std::string m_lastError;
};

}  // namespace vexa
