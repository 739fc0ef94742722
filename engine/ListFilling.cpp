// The document's services over what a run left behind: filling the message list, finding
// lines, and showing only the blocks of chosen signals.
#include "CVexaClientDoc.h"
#include "OutputText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vexa {

namespace {

constexpr int32_t kNotWanted = -2;
constexpr int32_t kNotFound = -1;

// The first run line holding each wanted five-digit key "%05d" (0 to 99999): one pass over
// the lines, looking at every five digits in a row, that stops once every key is found.
void FindFirstLines(const LineArray &lines, std::vector<int32_t> &first, size_t wanted) {
    for (size_t i = 0; i < lines.size() && wanted > 0; ++i) {
        const std::string_view line = lines[i];
        int run = 0;
        uint32_t value = 0;
        for (char c : line) {
            const unsigned digit = static_cast<unsigned char>(c) - '0';
            if (digit > 9) {
                run = 0;
                continue;
            }
            value = (value % 10000) * 10 + digit;
            if (++run >= 5 && first[value] == kNotFound) {
                first[value] = static_cast<int32_t>(i);
                if (--wanted == 0) break;
            }
        }
    }
}

}  // namespace

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
    if (count < 0 || !m_pListView) return true;  // nothing to show the rows in
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
    if (!client || !m_pListView) return true;
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
    AppendBlockAt(static_cast<size_t>(found));
    return true;
}

// The lines from index up to the closing marker (a line whose third character is "<"),
// or up to the last line but one where there is none: taken over in one piece.
void CVexaClientDoc::AppendBlockAt(size_t index) {
    const size_t n = m_RunLines.size();
    if (index + 1 >= n) return;
    size_t end = index + 1;  // one past the last line taken
    for (;;) {
        std::string_view line = m_RunLines[end];
        if (line.size() >= 3 && line[2] == '<') {
            ++end;
            break;
        }
        if (end + 1 >= n) break;
        ++end;
    }
    m_DisplayLines.AddRange(m_RunLines, index, end - index);
}

// The blocks of the listed signals, as AppendMessageBlock finds them one row after the
// other; the first run line of every key is found in one pass over the run lines, so
// that a list of many rows does not search the lines once per row.
bool CVexaClientDoc::RebuildResultText() {
    ClearDisplay();
    // The shown lines are some of the run lines: room for all of them at once (address
    // space only), so that the list of a large text is never copied to grow.
    m_DisplayLines.Reserve(m_RunLines.size());
    IListView *list = m_pListView;
    const int rows = list ? list->GetRowCount() : 0;
    if (rows > 0) {
        // The key of each row: its first column as a number, "%05d".
        std::vector<int32_t> numbers(static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row)
            numbers[static_cast<size_t>(row)] = std::atoi(list->GetItemText(row, 0).substr(0, 128).c_str());
        std::vector<int32_t> first(100000, kNotWanted);
        size_t wanted = 0;
        for (int32_t number : numbers) {
            if (number >= 0 && number <= 99999 && first[static_cast<size_t>(number)] == kNotWanted) {
                first[static_cast<size_t>(number)] = kNotFound;
                ++wanted;
            }
        }
        FindFirstLines(m_RunLines, first, wanted);
        char key[16];
        for (int32_t number : numbers) {
            int32_t index;
            if (number >= 0 && number <= 99999) {
                index = first[static_cast<size_t>(number)];
            } else {
                std::snprintf(key, sizeof key, "%05d", number);  // a negative number: rare, looked up alone
                index = FindLine(m_RunLines, key);
            }
            if (index < 0) return false;
            AppendBlockAt(static_cast<size_t>(index));
        }
    }
    return RewriteOutput();
}

}  // namespace vexa
