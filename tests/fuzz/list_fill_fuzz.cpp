// The message list over what a run left: the two direction choices and "All", each
// filter with a value the Filter dialog offers and with a value of the input's own, and the
// result text rebuilt from the rows after each. The first byte chooses the run (see
// FuzzDocument.h), the second which offered value each filter takes and which filter gets
// the trace's first line as its value.
#include "FilteredFills.h"
#include "FuzzDocument.h"

#include <string>
#include <vector>

using namespace vexa;

namespace {

// Lists afresh with fill, then shows only the listed signals' blocks.
template <class Fill>
void Refill(fuzz::FuzzRun &run, Fill fill) {
    run.List().ClearList();
    fill(run.Doc());
    run.Doc().RebuildResultText();
}

// The offered value the choice names, if any is offered.
std::vector<std::string> Chosen(const std::vector<std::string> &offered, uint8_t choice) {
    if (offered.empty()) return {};
    return {offered[choice % offered.size()]};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const uint8_t choice = size > 1 ? data[1] : 0;
    std::string own;
    for (size_t i = 1; i < size && data[i] != '\n' && own.size() < 64; ++i) own += static_cast<char>(data[i]);

    fuzz::FuzzRun run(data, size);
    if (!run.Interpreted()) return 0;
    CVexaClientDoc &doc = run.Doc();

    for (const char *direction : {"SWHW", "HWSW"}) {
        Refill(run, [&](CVexaClientDoc &d) {
            d.m_strSearchText = direction;
            d.FillListBySearch();
        });
    }
    doc.m_strSearchText.clear();

    const int protocol = run.Protocol();
    if (protocol <= 4) {
        for (const std::string &ref : Chosen(GatherCallReferences(doc.m_IsdnParser), choice))
            Refill(run, [&](CVexaClientDoc &d) { FillByCallReference(d, CallReferenceKey(ref)); });
        for (const std::string &number : Chosen(GatherCallingPartyNumbers(doc.m_IsdnParser), choice))
            Refill(run, [&](CVexaClientDoc &d) { FillByCallingPartyNumber(d, number); });
        for (const std::string &equ : Chosen(GatherEquNumbers(doc.m_IsdnParser), choice))
            Refill(run, [&](CVexaClientDoc &d) { FillByEquNumber(d, EquNumberKey(equ)); });
        const int kind = kFilterCallReference + choice % 3;
        Refill(run, [&](CVexaClientDoc &d) { FillByFilterKind(d, kind, own); });
    } else if (protocol == 5) {
        for (const std::string &id : Chosen(GatherScpIds(doc.m_DectParser), choice))
            Refill(run, [&](CVexaClientDoc &d) { FillByScpId(d, id); });
        for (const std::string &flag : GatherTransactionFlags(doc.m_DectParser))
            Refill(run, [&](CVexaClientDoc &d) { FillByTransactionFlag(d, TransactionFlagKey(flag)); });
        const int kind = kFilterScpId + choice % 2;
        Refill(run, [&](CVexaClientDoc &d) { FillByFilterKind(d, kind, own); });
    } else {
        Refill(run, [&](CVexaClientDoc &d) { FillByProtocol(d, IpProtocolKey(choice % 3)); });
        Refill(run, [&](CVexaClientDoc &d) { FillByProtocol(d, own); });
    }
    // Back to the whole list, as "All" does.
    Refill(run, [](CVexaClientDoc &d) { d.FillListBySearch(); });
    return 0;
}
