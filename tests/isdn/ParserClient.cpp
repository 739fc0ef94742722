#include "ParserClient.h"

#include "DispatchIds.h"

#include <cstdio>
#include <dlfcn.h>
#include <sstream>

namespace vexa::isdn::test {

namespace {

void SetText(void *sink, const char *text, size_t len) { static_cast<std::string *>(sink)->assign(text, len); }

const VexaHost kHost = {VEXA_ABI_VERSION, &SetText};

constexpr const ParserDispIds &kIds = kIsdnDispIds;

VexaArg In(std::string_view s) {
    VexaArg a{};
    a.type = VEXA_T_STR;
    a.str = s.data();
    a.len = s.size();
    return a;
}
VexaArg InShort(int v) {
    VexaArg a{};
    a.type = VEXA_T_I2;
    a.num = v;
    return a;
}
VexaArg InLong(int32_t v) {
    VexaArg a{};
    a.type = VEXA_T_I4;
    a.num = v;
    return a;
}
VexaArg OutText(std::string &s) {
    VexaArg a{};
    a.type = VEXA_T_STR;
    a.out = 1;
    a.sink = &s;
    return a;
}
VexaArg OutShort() {
    VexaArg a{};
    a.type = VEXA_T_I2;
    a.out = 1;
    return a;
}
VexaArg OutLong() {
    VexaArg a{};
    a.type = VEXA_T_I4;
    a.out = 1;
    return a;
}
VexaArg OutFlag() {
    VexaArg a{};
    a.type = VEXA_T_VBOOL;
    a.out = 1;
    return a;
}

bool IsRecordStart(std::string_view l) {
    auto d = [&](size_t i, char lo, char hi) { return i < l.size() && l[i] >= lo && l[i] <= hi; };
    return l.size() >= 10 && d(0, '0', '2') && d(1, '0', '9') && l[2] == '.' && d(3, '0', '5') && d(4, '0', '9') &&
           l[5] == '.' && d(6, '0', '5') && d(7, '0', '9') && l[8] == '.';
}

}  // namespace

std::string ComponentPath() {
#ifdef VEXA_ISDN_COMPONENT
    return VEXA_ISDN_COMPONENT;
#else
    return "VexaParser.so";
#endif
}

ParserClient::ParserClient(const std::string &path) {
    m_library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        return;
    }
    auto create = reinterpret_cast<VexaCreateObjectFn>(dlsym(m_library, VEXA_CREATE_OBJECT_SYMBOL));
    if (create) m_object = create("VexaParser", &kHost);
}

ParserClient::~ParserClient() {
    if (m_object) m_object->vtbl->release(m_object);
    if (m_library) dlclose(m_library);
}

int32_t ParserClient::Invoke(int32_t dispid, std::vector<VexaArg> &args, VexaArg &result) {
    return m_object->vtbl->invoke(m_object, dispid, args.data(), static_cast<int32_t>(args.size()), &result);
}

namespace {
struct Caller {
    ParserClient &c;
    int32_t Call(int32_t id, std::vector<VexaArg> &args) {
        VexaArg r{};
        int32_t rc = c.Invoke(id, args, r);
        return rc == VEXA_OK ? r.num : -999;
    }
};
}  // namespace

LineAnswer ParserClient::ParseLine(std::string_view line) {
    std::vector<VexaArg> a = {In(line), OutShort(), OutShort()};
    LineAnswer ans;
    ans.status = static_cast<int16_t>(Caller{*this}.Call(kIds.ParseLine, a));
    ans.kind = a[1].num;
    ans.completion = a[2].num;
    return ans;
}

int32_t ParserClient::GetLastMessageIndex() {
    std::vector<VexaArg> a;
    return Caller{*this}.Call(kIds.GetLastMessageIndex, a);
}

int ParserClient::GetSequenceNumber(int32_t index) {
    std::vector<VexaArg> a = {InLong(index)};
    return Caller{*this}.Call(kIds.GetSequenceNumber, a);
}

int32_t ParserClient::GetSequenceMessageCount(int sequence) {
    std::vector<VexaArg> a = {InShort(sequence)};
    return Caller{*this}.Call(kIds.GetSequenceMessageCount, a);
}

MessageView ParserClient::GetSequenceMessage(int i, int sequence) {
    MessageView m;
    std::vector<VexaArg> a = {InShort(i),           InShort(sequence),   OutText(m.direction), OutText(m.signalName),
                              OutText(m.messageName), OutText(m.time),   OutText(m.originator), OutText(m.destination),
                              OutText(m.text),      OutFlag(),           OutText(m.discriminator)};
    m.status = Caller{*this}.Call(kIds.GetSequenceMessage, a);
    m.valid = a[9].num != 0;
    m.sequence = sequence;
    return m;
}

bool ParserClient::GetMessage(int32_t index, MessageView &m) {
    std::vector<VexaArg> a = {InLong(index),       OutShort(),          OutText(m.direction), OutText(m.signalName),
                              OutText(m.messageName), OutText(m.time),  OutText(m.originator), OutText(m.destination),
                              OutText(m.text),     OutFlag(),           OutText(m.discriminator)};
    bool ok = Caller{*this}.Call(kIds.GetMessage, a) != 0;
    m.sequence = a[1].num;
    m.valid = a[9].num != 0;
    m.status = ok ? 1 : 0;
    return ok;
}

int32_t ParserClient::GetMessageCount() {
    std::vector<VexaArg> a = {OutLong()};
    Caller{*this}.Call(kIds.GetMessageCount, a);
    return a[0].num;
}

int32_t ParserClient::FindFirstMessage(std::string_view text) {
    std::vector<VexaArg> a = {In(text)};
    return Caller{*this}.Call(kIds.FindFirstMessage, a);
}

int32_t ParserClient::FindNextMessage(std::string_view text, int32_t after) {
    std::vector<VexaArg> a = {In(text), InLong(after)};
    return Caller{*this}.Call(kIds.FindNextMessage, a);
}

bool ParserClient::Reset() {
    std::vector<VexaArg> a;
    return Caller{*this}.Call(kIds.Reset, a) != 0;
}

int ParserClient::GetPendingStatus() {
    std::vector<VexaArg> a;
    return static_cast<int16_t>(Caller{*this}.Call(kIds.GetPendingStatus, a));
}

bool ParserClient::GetCallReference(int32_t index, std::string &text) {
    std::vector<VexaArg> a = {InLong(index), OutText(text)};
    return Caller{*this}.Call(kIds.GetCallReference, a) != 0;
}

bool ParserClient::DecodeCallReference(std::string_view raw, std::string &value) {
    std::string inout(raw);
    VexaArg first = OutText(inout);
    first.str = raw.data();
    first.len = raw.size();
    std::vector<VexaArg> a = {first, OutText(value)};
    return Caller{*this}.Call(kIds.DecodeCallReference, a) != 0;
}

bool ParserClient::SetProtocolVariant(int variant) {
    std::vector<VexaArg> a = {InShort(variant)};
    return Caller{*this}.Call(kIds.SetProtocolVariant, a) != 0;
}

bool ParserClient::SetSignalNames(const std::array<std::string, 5> &names) {
    std::vector<VexaArg> a;
    for (const std::string &n : names) a.push_back(In(n));
    return Caller{*this}.Call(kIds.SetSignalNames, a) != 0;
}

bool ParserClient::GetEquNumber(int32_t index, std::string &text) {
    std::vector<VexaArg> a = {InLong(index), OutText(text)};
    return Caller{*this}.Call(kIds.GetEquNumber, a) != 0;
}

int32_t ParserClient::GetNextCallingPartyNumber(int32_t handle, std::string &number) {
    std::vector<VexaArg> a = {InLong(handle), OutText(number)};
    return Caller{*this}.Call(kIds.GetNextCallingPartyNumber, a);
}

int32_t ParserClient::FindByCallingPartyNumber(std::string_view number) {
    std::vector<VexaArg> a = {In(number)};
    return Caller{*this}.Call(kIds.FindByCallingPartyNumber, a);
}

int32_t ParserClient::FindFirstByCallReference(std::string_view text) {
    std::vector<VexaArg> a = {In(text)};
    return Caller{*this}.Call(kIds.FindFirstByCallReference, a);
}

int32_t ParserClient::FindNextByCallReference(std::string_view text, int32_t after) {
    std::vector<VexaArg> a = {In(text), InLong(after)};
    return Caller{*this}.Call(kIds.FindNextByCallReference, a);
}

int32_t ParserClient::FindFirstByEquNumber(std::string_view text) {
    std::vector<VexaArg> a = {In(text)};
    return Caller{*this}.Call(kIds.FindFirstByEquNumber, a);
}

int32_t ParserClient::FindNextByEquNumber(std::string_view text, int32_t after) {
    std::vector<VexaArg> a = {In(text), InLong(after)};
    return Caller{*this}.Call(kIds.FindNextByEquNumber, a);
}

std::vector<Completion> ParserClient::Run(std::string_view trace, bool *pending) {
    std::vector<Completion> out;
    if (pending) *pending = false;
    // Split into lines (CR LF made LF), keeping "\n".
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < trace.size()) {
        size_t nl = trace.find('\n', pos);
        std::string line(trace.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (nl != std::string_view::npos) line += '\n';
        lines.push_back(std::move(line));
        pos = nl == std::string_view::npos ? trace.size() : nl + 1;
    }
    bool started = false, endSeen = false;
    auto feed = [&](const std::string &piece) {
        LineAnswer ans = ParseLine(piece);
        if (ans.completion) {
            Completion c;
            c.lineStatus = ans.status;
            c.completion = ans.completion;
            c.index = GetLastMessageIndex();
            c.sequence = GetSequenceNumber(c.index);
            c.count = GetSequenceMessageCount(c.sequence);
            for (int i = 1; i <= c.count; ++i) {
                MessageView m = GetSequenceMessage(i, c.sequence);
                if (m.status == 0) break;
                c.messages.push_back(std::move(m));
            }
            GetCallReference(c.index, c.callReference);
            out.push_back(std::move(c));
        }
        if (piece.rfind("END", 0) == 0) {
            endSeen = true;
            if (GetPendingStatus() == -10 && pending) *pending = true;
        }
    };
    for (const std::string &line : lines) {
        if (!started) {
            if (line.empty() || line == "\n" || !IsRecordStart(line)) continue;
            started = true;
        } else if (line.empty() || line == "\n") {
            continue;
        }
        for (size_t p = 0; p < line.size(); p += 511) feed(line.substr(p, 511));
    }
    if (started && !endSeen) {
        if (GetPendingStatus() == -10 && pending) *pending = true;
        feed("END");
    }
    return out;
}

std::string Signal(const std::string &time, int seq, const std::string &dir, const std::string &name,
                   const std::string &equ, const std::string &hex, int len, const std::string &part) {
    char head[64];
    std::snprintf(head, sizeof head, "%s %05d  %-4s ", time.c_str(), seq, dir.c_str());
    std::string s = head;
    s += name + "  ISDNCP-01  DLB-0102\n";
    const std::string indent(24, ' ');
    if (!equ.empty()) s += indent + "EQU NO      " + equ + "\n";
    if (!part.empty()) s += indent + "PART " + part + "\n";
    // 16 octets to a DATA row.
    std::istringstream in(hex);
    std::string octet, row;
    int count = 0, total = 0;
    while (in >> octet) {
        row += (count ? " " : "") + octet;
        ++total;
        if (++count == 16) {
            s += indent + "DATA " + row + "\n";
            row.clear();
            count = 0;
        }
    }
    if (count) s += indent + "DATA " + row + "\n";
    if (len == -1) len = total;
    if (len >= 0) s += indent + "LEN " + std::to_string(len) + "\n";
    return s;
}

}  // namespace vexa::isdn::test
