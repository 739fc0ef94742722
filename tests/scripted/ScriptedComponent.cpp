// A parser component for the tests: it answers every member from a script (see Script.h)
// instead of decoding, so that each path of the interpretation run and of list filling
// can be driven exactly. Built under all three ProgIDs, each with its family's dispatch
// ids. The script is named by VEXA_SCRIPTED_SCRIPT; with VEXA_SCRIPTED_LOG set, every call
// is appended to that file, one line each, so tests can check what the program asked.
#include "ComponentObject.h"
#include "DispatchIds.h"
#include "Script.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vexa::scripted {

using component::Call;
using component::Member;

class ScriptedComponent : public component::ComponentObject {
public:
    ScriptedComponent(const VexaHost *host, const ParserDispIds &ids) : ComponentObject(host), m_ids(ids) {
        if (const char *path = std::getenv("VEXA_SCRIPTED_SCRIPT"); path && *path) {
            std::string error;
            if (!m_script.Load(path, error)) std::fprintf(stderr, "scripted component: %s\n", error.c_str());
        }
        if (const char *log = std::getenv("VEXA_SCRIPTED_LOG"); log && *log) m_log = std::fopen(log, "a");
        BuildMembers();
        Log("Create");
    }
    ~ScriptedComponent() override {
        Log("Release");
        if (m_log) std::fclose(m_log);
    }

protected:
    int32_t Invoke(int32_t dispid, Call &call) override {
        return component::DispatchMember<ScriptedComponent>(*this, m_members, dispid, call);
    }

private:
    void BuildMembers() {
        const std::string seqMsg = "hhSSSSSSSV" + std::string(m_ids.SequenceMessageExtraTexts, 'S') + ":h";
        const std::string getMsg = "lHSSSSSSSV" + std::string(m_ids.MessageExtraTexts, 'S') + ":b";
        m_signatures = {seqMsg, getMsg};
        using S = ScriptedComponent;
        const Member<S> all[] = {
            {m_ids.ParseLine, "ParseLine", "sHH:h", &S::ParseLine},
            {m_ids.GetLastMessageIndex, "GetLastMessageIndex", ":l", &S::GetLastMessageIndex},
            {m_ids.GetSequenceNumber, "GetSequenceNumber", "l:h", &S::GetSequenceNumber},
            {m_ids.GetSequenceMessageCount, "GetSequenceMessageCount", "h:l", &S::GetSequenceMessageCount},
            {m_ids.GetSequenceMessage, "GetSequenceMessage", m_signatures[0].c_str(), &S::GetSequenceMessage},
            {m_ids.GetMessage, "GetMessage", m_signatures[1].c_str(), &S::GetMessage},
            {m_ids.GetMessageCount, "GetMessageCount", "L:b", &S::GetMessageCount},
            {m_ids.FindFirstMessage, "FindFirstMessage", "s:l", &S::FindFirst<kMessage>},
            {m_ids.FindNextMessage, "FindNextMessage", "sl:l", &S::FindNext<kMessage>},
            {m_ids.Reset, "Reset", ":b", &S::Reset},
            {m_ids.GetPendingStatus, "GetPendingStatus", ":h", &S::GetPendingStatus},
            {m_ids.GetCallReference, "GetCallReference", "lS:b", &S::GetCallReference},
            {m_ids.DecodeCallReference, "DecodeCallReference", "SS:b", &S::DecodeCallReference},
            {m_ids.SetProtocolVariant, "SetProtocolVariant", "h:b", &S::SetProtocolVariant},
            {m_ids.SetSignalNames, "SetSignalNames", "sssss:b", &S::SetSignalNames},
            {m_ids.GetEquNumber, "GetEquNumber", "lS:b", &S::GetEquNumber},
            {m_ids.GetNextCallingPartyNumber, "GetNextCallingPartyNumber", "lS:l", &S::GetNext<kCpn>},
            {m_ids.FindByCallingPartyNumber, "FindByCallingPartyNumber", "s:l", &S::FindByCallingPartyNumber},
            {m_ids.FindFirstByCallReference, "FindFirstByCallReference", "s:l", &S::FindFirst<kCallRef>},
            {m_ids.FindNextByCallReference, "FindNextByCallReference", "sl:l", &S::FindNext<kCallRef>},
            {m_ids.FindFirstByEquNumber, "FindFirstByEquNumber", "s:l", &S::FindFirst<kEqu>},
            {m_ids.FindNextByEquNumber, "FindNextByEquNumber", "sl:l", &S::FindNext<kEqu>},
            {m_ids.GetNextScpId, "GetNextScpId", "lS:l", &S::GetNext<kScpId>},
            {m_ids.GetNextTransactionFlag, "GetNextTransactionFlag", "lS:l", &S::GetNext<kTran>},
            {m_ids.FindFirstByScpId, "FindFirstByScpId", "s:l", &S::FindFirst<kScpId>},
            {m_ids.FindNextByScpId, "FindNextByScpId", "sl:l", &S::FindNext<kScpId>},
            {m_ids.FindFirstByTransactionFlag, "FindFirstByTransactionFlag", "s:l", &S::FindFirst<kTran>},
            {m_ids.FindNextByTransactionFlag, "FindNextByTransactionFlag", "sl:l", &S::FindNext<kTran>},
            {m_ids.GetUserPart, "GetUserPart", "hS:b", &S::GetUserPart},
            {m_ids.FindFirstByProtocol, "FindFirstByProtocol", "s:l", &S::FindFirst<kProtocol>},
            {m_ids.FindNextByProtocol, "FindNextByProtocol", "sl:l", &S::FindNext<kProtocol>},
        };
        for (const auto &m : all)
            if (m.dispid != 0) m_members.push_back(m);
    }

    void Log(const std::string &text) {
        if (!m_log) return;
        std::string escaped;
        for (char c : text) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
        std::fprintf(m_log, "%s\n", escaped.c_str());
        std::fflush(m_log);
    }

    const ScriptMessage *MessageAt(int32_t index) const {
        for (const auto &m : m_script.messages)
            if (m.index == index) return &m;
        return nullptr;
    }

    void ParseLine(Call &c) {
        if (m_log) Log("ParseLine " + std::string(c.text(0)));
        ParseAnswer a;
        if (!m_script.parses.empty()) {
            a = m_script.parses.front();
            m_script.parses.pop_front();
        }
        if (a.index >= 0) m_lastIndex = a.index;
        c.setNumber(1, a.kind);
        c.setNumber(2, a.completion);
        c.returnShort(a.status);
    }
    void GetLastMessageIndex(Call &c) {
        Log("GetLastMessageIndex");
        c.returnLong(m_lastIndex);
    }
    void GetSequenceNumber(Call &c) {
        Log("GetSequenceNumber " + std::to_string(c.number(0)));
        const ScriptMessage *m = MessageAt(c.number(0));
        c.returnShort(m ? m->sequence : 0);
    }
    void GetSequenceMessageCount(Call &c) {
        const int16_t seq = c.shortNumber(0);
        Log("GetSequenceMessageCount " + std::to_string(seq));
        if (auto it = m_script.counts.find(seq); it != m_script.counts.end()) return c.returnLong(it->second);
        int32_t n = 0;
        for (const auto &m : m_script.messages) n += m.sequence == seq;
        c.returnLong(n);
    }
    void GetSequenceMessage(Call &c) {
        const int16_t i = c.shortNumber(0), seq = c.shortNumber(1);
        Log("GetSequenceMessage " + std::to_string(i) + " " + std::to_string(seq));
        int16_t k = 0;
        for (const auto &m : m_script.messages) {
            if (m.sequence != seq || ++k != i) continue;
            for (int s = 0; s < 7; ++s) c.setText(2 + s, m.texts[s]);
            c.setFlag(9, m.valid);
            for (int s = 0; s < m_ids.SequenceMessageExtraTexts; ++s) c.setText(10 + s, m.texts[7 + s]);
            return c.returnShort(m.status2);
        }
        c.returnShort(0);
    }
    void GetMessage(Call &c) {
        Log("GetMessage " + std::to_string(c.number(0)));
        const ScriptMessage *m = MessageAt(c.number(0));
        if (!m) return c.returnBool(false);
        c.setNumber(1, m->sequence);
        for (int s = 0; s < 7; ++s) c.setText(2 + s, m->texts[s]);
        c.setFlag(9, m->valid);
        if (m_ids.MessageExtraTexts > 0) c.setText(10, m->texts[7]);
        c.returnBool(true);
    }
    void GetMessageCount(Call &c) {
        Log("GetMessageCount");
        c.setNumber(0, m_script.messageCount >= 0 || m_script.messageCount < -1
                           ? m_script.messageCount
                           : static_cast<int32_t>(m_script.messages.size()));
        c.returnBool(true);
    }
    void Reset(Call &c) {
        Log("Reset");
        c.returnBool(true);
    }
    void GetPendingStatus(Call &c) {
        if (m_log) Log("GetPendingStatus");
        int16_t v = 0;
        if (!m_script.pendings.empty()) {
            v = m_script.pendings.front();
            m_script.pendings.pop_front();
        }
        c.returnShort(v);
    }
    void GetCallReference(Call &c) {
        Log("GetCallReference " + std::to_string(c.number(0)));
        auto it = m_script.callRefs.find(c.number(0));
        c.setText(1, it == m_script.callRefs.end() ? std::string() : it->second);
        c.returnBool(it != m_script.callRefs.end());
    }
    void DecodeCallReference(Call &c) {
        const std::string raw(c.text(0));
        Log("DecodeCallReference " + raw);
        auto it = m_script.decodes.find(raw);
        if (it == m_script.decodes.end()) return c.returnBool(false);
        c.setText(1, it->second.second);
        c.returnBool(it->second.first);
    }
    void SetProtocolVariant(Call &c) {
        Log("SetProtocolVariant " + std::to_string(c.shortNumber(0)));
        c.returnBool(true);
    }
    void SetSignalNames(Call &c) {
        std::string names;
        for (int i = 0; i < 5; ++i) names += " " + std::string(c.text(i));
        Log("SetSignalNames" + names);
        c.returnBool(true);
    }
    void GetEquNumber(Call &c) {
        Log("GetEquNumber " + std::to_string(c.number(0)));
        auto it = m_script.equs.find(c.number(0));
        c.setText(1, it == m_script.equs.end() ? std::string() : it->second);
        c.returnBool(it != m_script.equs.end());
    }
    void FindByCallingPartyNumber(Call &c) {
        const std::string number(c.text(0));
        Log("FindByCallingPartyNumber " + number);
        auto it = m_script.callingPartyIndex.find(number);
        c.returnLong(it == m_script.callingPartyIndex.end() ? -1 : it->second);
    }
    void GetUserPart(Call &c) {
        Log("GetUserPart " + std::to_string(c.shortNumber(0)));
        auto it = m_script.userParts.find(c.shortNumber(0));
        c.setText(1, it == m_script.userParts.end() ? std::string() : it->second);
        c.returnBool(it != m_script.userParts.end());
    }

    static constexpr const char kMessage[] = "message";
    static constexpr const char kCallRef[] = "callref";
    static constexpr const char kEqu[] = "equ";
    static constexpr const char kScpId[] = "scpid";
    static constexpr const char kTran[] = "tran";
    static constexpr const char kProtocol[] = "protocol";
    static constexpr const char kCpn[] = "cpn";

    const std::vector<int32_t> *FindList(const char *member, const std::string &text) const {
        auto m = m_script.finds.find(member);
        if (m == m_script.finds.end()) return nullptr;
        auto t = m->second.find(text);
        return t == m->second.end() ? nullptr : &t->second;
    }
    template <const char *Kind>
    void FindFirst(Call &c) {
        const std::string text(c.text(0));
        Log(std::string("FindFirst ") + Kind + " " + text);
        const auto *list = FindList(Kind, text);
        c.returnLong(list && !list->empty() ? list->front() : -1);
    }
    template <const char *Kind>
    void FindNext(Call &c) {
        const std::string text(c.text(0));
        Log(std::string("FindNext ") + Kind + " " + text + " " + std::to_string(c.number(1)));
        const auto *list = FindList(Kind, text);
        if (list)
            for (int32_t index : *list)
                if (index > c.number(1)) return c.returnLong(index);
        c.returnLong(-1);
    }
    template <const char *Kind>
    void GetNext(Call &c) {
        Log(std::string("GetNext ") + Kind + " " + std::to_string(c.number(0)));
        const auto &list = m_script.values[Kind];
        const int32_t next = c.number(0) + 1;  // handles are positions in the list, from -1
        if (next < 0 || next >= static_cast<int32_t>(list.size())) {
            c.setText(1, "");
            return c.returnLong(-1);
        }
        c.setText(1, list[next]);
        c.returnLong(next);
    }

    const ParserDispIds &m_ids;
    Script m_script;
    std::vector<Member<ScriptedComponent>> m_members;
    std::vector<std::string> m_signatures;
    int32_t m_lastIndex = 1;
    FILE *m_log = nullptr;
};

}  // namespace vexa::scripted

extern "C" __attribute__((visibility("default"))) VexaObject *VexaCreateObject(const char *progId,
                                                                             const VexaHost *host) {
    using namespace vexa;
    if (!progId || !host || host->abiVersion != VEXA_ABI_VERSION) return nullptr;
    const std::string id(progId);
    const ParserDispIds *ids = id == kIsdnProgId ? &kIsdnDispIds : id == kDectProgId ? &kDectDispIds
                             : id == kIpProgId   ? &kIpDispIds
                                                 : nullptr;
    if (!ids) return nullptr;
    return new scripted::ScriptedComponent(host, *ids);
}
