// The VexaParser component: the ISDN (Q.931 / EN 300 403, DSS1) parser the program drives
// for protocols 1 to 4.
#pragma once

#include "ComponentObject.h"
#include "MessageStore.h"
#include "Q931Decoder.h"
#include "SegmentReassembler.h"
#include "SignalAssembler.h"

#include <array>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

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
    void PutMessage(component::Call &call, int first, int32_t index, const StoredMessage &m);
    // The decoded text of message index: kept from its completion for the block the
    // program writes next, or from a recent request, or decoded again from its octets.
    const std::string &TextOf(int32_t index, const StoredMessage &m);
    // Where SEGMENT message index stands among its message's segments; nullptr for others.
    const SegmentPlace *PlaceOf(int32_t index) const;
    // True when the program reads text out argument i (it may pass none).
    bool WantsText(const component::Call &call, int i) const;

    SignalAssembler m_assembler;
    LineResult m_line;  // the result of the latest line (its buffers are used again)
    Q931Decoder m_decoder;
    MessageStore m_store;
    SegmentReassembler m_reassembler;
    // The places of the SEGMENT messages by index, for decoding them again (the last segment
    // of a message holds the reassembled octets).
    std::unordered_map<int32_t, SegmentPlace> m_segmentPlaces;
    StoredMessage m_message;  // a message read back from the store
    std::vector<uint8_t> m_callReference;  // DecodeCallReference's octets
    const std::string m_q931Text;            // "H'08 Q.931 user-network call control messages"
    int32_t m_recentFirst = 0;               // index of the first message of the latest completion
    size_t m_recentCount = 0;                // how many messages it had
    std::vector<std::string> m_recentTexts;  // their decoded texts (the first m_recentCount)
    // Texts decoded again on request, the latest few.
    static constexpr size_t kCachedTexts = 8;
    struct CachedText {
        int32_t index = 0;
        std::string text;
    };
    std::array<CachedText, kCachedTexts> m_cache;
    size_t m_cacheNext = 0;
};

}  // namespace vexa::isdn
