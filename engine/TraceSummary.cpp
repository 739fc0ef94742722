#include "TraceSummary.h"

#include <cstdlib>
#include <map>
#include <utility>

namespace vexa {

namespace {

bool IsSetup(const std::string &name) { return name == "SETUP" || name == "CC-SETUP"; }
bool IsEnd(const std::string &name) { return name == "RELEASE COMPLETE" || name == "CC-RELEASE-COM"; }

}  // namespace

TraceSummary BuildTraceSummary(const std::vector<FlowMessage> &messages) {
    TraceSummary s;
    // Message types and causes in the order they first appear.
    std::map<std::pair<std::string, bool>, size_t> typeAt;
    std::map<std::string, size_t> causeAt;
    std::vector<int> typeCounts;
    std::vector<std::string> typeNames;
    // Calls opened by a SETUP and not yet ended, by call key.
    std::map<std::string, size_t> openCalls;
    std::vector<std::pair<std::string, const FlowMessage *>> opened;
    std::vector<bool> ended;
    for (const FlowMessage &m : messages) {
        const auto type = std::make_pair(m.name, m.Outgoing());
        auto [it, added] = typeAt.emplace(type, s.messageTypes.size());
        if (added) {
            s.messageTypes.push_back({});
            typeCounts.push_back(0);
            typeNames.push_back(m.name + "  " + (m.Outgoing() ? "Send" : "Received"));
        }
        ++typeCounts[it->second];
        s.messageTypes[it->second].sequences.push_back(m.sequence);

        if (!m.causeValue.empty()) {
            auto [c, newCause] = causeAt.emplace(m.causeValue, s.causes.size());
            if (newCause) s.causes.push_back({m.causeValue + (m.causeText.empty() ? "" : "  " + m.causeText), {}});
            s.causes[c->second].sequences.push_back(m.sequence);
        }
        if (!m.valid)
            s.invalid.push_back({std::to_string(m.sequence) + "  " + m.name + "  " +
                                     (m.reason.empty() ? std::string("(no reason given)") : m.reason),
                                 {m.sequence}});
        if (!m.callKey.empty()) {
            if (IsSetup(m.name)) {
                openCalls[m.callKey] = opened.size();
                opened.emplace_back(m.callKey, &m);
                ended.push_back(false);
            } else if (IsEnd(m.name)) {
                auto open = openCalls.find(m.callKey);
                if (open != openCalls.end()) {
                    ended[open->second] = true;
                    openCalls.erase(open);
                }
            }
        }
    }
    for (size_t i = 0; i < s.messageTypes.size(); ++i)
        s.messageTypes[i].text = typeNames[i] + "  " + std::to_string(typeCounts[i]);
    for (SummaryLine &c : s.causes) c.text += "  " + std::to_string(c.sequences.size());
    for (size_t i = 0; i < opened.size(); ++i) {
        if (ended[i]) continue;
        const FlowMessage &m = *opened[i].second;
        s.unended.push_back({opened[i].first + ": " + m.name + " " + std::to_string(m.sequence) + " at " + m.time,
                             {m.sequence}});
    }
    return s;
}

void WriteTraceSummary(const TraceSummary &summary, std::ostream &out) {
    auto section = [&](const char *title, const std::vector<SummaryLine> &lines) {
        out << title << '\n';
        if (lines.empty()) out << "  (none)\n";
        for (const SummaryLine &l : lines) out << "  " << l.text << '\n';
        out << '\n';
    };
    section("Messages by type and direction:", summary.messageTypes);
    section("Causes:", summary.causes);
    section("Invalid messages:", summary.invalid);
    section("Calls that never ended:", summary.unended);
}

}  // namespace vexa
