// The document's services over what a run left behind: filling the message list, finding
// lines, and showing only the blocks of chosen signals.
#include "CVexaClientDoc.h"
#include "OutputText.h"

#include <cstdio>
#include <cstdlib>

namespace vexa {

void CVexaClientDoc::LoadOutput() {
    FillList();
    m_bOutputLoaded = true;
}

void CVexaClientDoc::AddOrReplaceRow(const MessageRecord &m, int &row, int32_t &previous) {
    if (m.sequence != previous) {
        if (m_pListView)
            m_pListView->AddRow(row, m.sequence, m.Text(1), m.Text(2), m.Text(3), m.Text(4), m.Text(5), m.Text(6),
                                m.valid);
        ++row;
        previous = m.sequence;
    } else if (!m.valid && row > 0) {
        if (m_pListView)
            m_pListView->ReplaceRow(row - 1, m.sequence, m.Text(1), m.Text(2), m.Text(3), m.Text(4), m.Text(5),
                                    m.Text(6), false);
    }
}

// No sequence number is out of the 16-bit range, so this one never matches a message:
// the first message always opens a row.
static constexpr int32_t kNoSequence = INT32_MIN;

bool CVexaClientDoc::FillList() {
    CParserClient *client = RunClient();
    if (!client) return false;
    int32_t count = 0;
    client->GetMessageCount(count);
    if (count == 0) return false;
    if (count < 0) return true;
    int row = 0;
    int32_t previous = kNoSequence;
    MessageRecord message;
    for (int32_t i = 1; i <= count; ++i) {
        client->GetMessage(i, message);
        AddOrReplaceRow(message, row, previous);
    }
    return true;
}

bool CVexaClientDoc::FillListBySearch() {
    if (m_strSearchText.empty()) return FillList();
    CParserClient *client = RunClient();
    if (!client) return true;
    int row = 0;
    int32_t previous = kNoSequence;
    MessageRecord message;
    // -1 ends the walk; so does any index that is not a message or does not move on,
    // so that a faulty component cannot keep the list filling for ever.
    for (int32_t index = client->FindFirstMessage(m_strSearchText); index > 0;) {
        client->GetMessage(index, message);
        AddOrReplaceRow(message, row, previous);
        const int32_t next = client->FindNextMessage(m_strSearchText, index);
        if (next <= index) break;
        index = next;
    }
    return true;
}

int CVexaClientDoc::FindLine(const LineArray &lines, std::string_view text) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string_view::npos) return static_cast<int>(i);
    }
    return -1;
}

void CVexaClientDoc::ClearDisplay() {
    m_DisplayLines.Clear();
    if (m_pResultView) {
        m_sizeResult = {1000, 3000};
        m_pResultView->SetContentSizes(m_sizeResult, {}, {});
        m_pResultView->Repaint();
    }
}

bool CVexaClientDoc::AppendMessageBlock(std::string_view text) {
    const int found = FindLine(m_RunLines, text);
    if (found < 0) return false;
    const size_t n = m_RunLines.size();
    size_t current = static_cast<size_t>(found);
    if (current + 1 >= n) return true;
    for (;;) {
        m_DisplayLines.AddFrom(m_RunLines, current);
        ++current;
        std::string_view line = m_RunLines[current];
        if (line.size() >= 3 && line[2] == '<') {
            m_DisplayLines.AddFrom(m_RunLines, current);
            break;
        }
        if (current + 1 >= n) break;
    }
    return true;
}

bool CVexaClientDoc::RebuildResultText() {
    ClearDisplay();
    if (m_pListView) {
        char key[16];
        const int rows = m_pListView->GetRowCount();
        for (int row = 0; row < rows; ++row) {
            std::string shown = m_pListView->GetItemText(row, 0).substr(0, 128);
            std::snprintf(key, sizeof key, "%05d", std::atoi(shown.c_str()));
            if (!AppendMessageBlock(key)) return false;
        }
    }
    return RewriteOutput();
}

bool CVexaClientDoc::RewriteOutput() {
    Settings().m_bOverwriteFile = false;
    NewOutputName();
    FILE *file = std::fopen(m_strOutputPath.c_str(), "w");
    if (file) {
        std::string copy;
        for (std::string_view line : m_DisplayLines) {
            copy.clear();
            for (char c : line) {
                if (c != '@' && c != '/' && c != '*') copy += c;
            }
            if (copy.find('\n') == std::string::npos) copy += '\n';
            std::fwrite(copy.data(), 1, copy.size(), file);
        }
        std::fclose(file);
    }
    if (m_pResultView) {
        m_pResultView->SetContentSizes(m_sizeResult, {}, {});
        m_pResultView->Repaint();
    }
    return true;
}

}  // namespace vexa
