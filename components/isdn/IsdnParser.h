// The VexaParser component: the ISDN (Q.931 / EN 300 403, DSS1) parser the program drives
// for protocols 1 to 4.
#pragma once

#include "ComponentObject.h"
#include "MessageStore.h"
#include "Q931Decoder.h"
#include "SignalAssembler.h"

#include <span>

namespace vexa::isdn {

class IsdnParser : public component::ComponentObject {
public:
    explicit IsdnParser(const VexaHost *host);

    // The member table (dispatch id, name, signature, handler), for the host and the tests.
    static std::span<const component::Member<IsdnParser>> Members();

protected:
    int32_t Invoke(int32_t dispid, component::Call &call) override;

private:
    void ParseLine(component::Call &call);
    void GetLastMessageIndex(component::Call &call);
    void GetSequenceNumber(component::Call &call);
    void GetSequenceMessageCount(component::Call &call);
    void GetSequenceMessage(component::Call &call);
    void GetMessage(component::Call &call);
    void GetMessageCount(component::Call &call);
    void FindFirstMessage(component::Call &call);
    void FindNextMessage(component::Call &call);
    void Reset(component::Call &call);
    void GetPendingStatus(component::Call &call);
    void GetCallReference(component::Call &call);
    void DecodeCallReference(component::Call &call);
    void SetProtocolVariant(component::Call &call);
    void SetSignalNames(component::Call &call);
    void GetEquNumber(component::Call &call);
    void GetNextCallingPartyNumber(component::Call &call);
    void FindByCallingPartyNumber(component::Call &call);
    void FindFirstByCallReference(component::Call &call);
    void FindNextByCallReference(component::Call &call);
    void FindFirstByEquNumber(component::Call &call);
    void FindNextByEquNumber(component::Call &call);

    // Writes strings 1-7, the valid flag and string 8 of m into the arguments from `first`.
    void PutMessage(component::Call &call, int first, int32_t index, const StoredMessage &m) const;
    // The decoded text of message index (kept from its completion for the block the
    // program writes next, decoded again from its octets otherwise).
    std::string TextOf(int32_t index, const StoredMessage &m) const;

    SignalAssembler m_assembler;
    Q931Decoder m_decoder;
    MessageStore m_store;
    const std::string m_q931Text;            // "H'08 Q.931 user-network call control messages"
    int32_t m_recentFirst = 0;               // index of the first message of the latest completion
    std::vector<std::string> m_recentTexts;  // their decoded texts
};

}  // namespace vexa::isdn
