// The VexaDectParser component: the DECT/GDI parser the program drives for protocol 5.
#pragma once

#include "ComponentObject.h"
#include "DectDecoder.h"
#include "DectMessageStore.h"
#include "GdiSignalReader.h"

#include <span>
#include <string>

namespace vexa::dect {

class DectParser : public component::ComponentObject {
public:
    explicit DectParser(const VexaHost *host);

    // The member table (dispatch id, name, signature, handler), for the host and the tests.
    static std::span<const component::Member<DectParser>> Members();

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
    void GetNextScpId(component::Call &call);
    void FindFirstByScpId(component::Call &call);
    void FindNextByScpId(component::Call &call);
    void GetNextTransactionFlag(component::Call &call);
    void FindFirstByTransactionFlag(component::Call &call);
    void FindNextByTransactionFlag(component::Call &call);
    void GetUserPart(component::Call &call);

    // Strings 1 to 6 of message m into the arguments from `first`.
    void PutRow(component::Call &call, int first, const StoredDect &m);
    // What message index decodes to: kept from its completion, or decoded again.
    const DecodedDect &DecodedOf(int32_t index, const StoredDect &m);

    GdiSignalReader m_reader;
    LineResult m_line;
    DectMessageStore m_store;
    StoredDect m_message;        // a message read back from the store
    int32_t m_decodedIndex = 0;  // the message that m_decoded holds
    DecodedDect m_decoded;
};

}  // namespace vexa::dect
