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

void CVexaClientDoc::AddOrReplaceRow(int32_t index, const MessageRecord &m, RowWalk &walk, bool replaceInvalid) {
    const int64_t block = m_SignalBlocks.BlockOf(index, m.sequence, walk.previousBlock);
    // Only where both blocks are known: a message outside every block goes by its number.
    const bool otherSignal = block >= 0 && walk.previousBlock >= 0 && block != walk.previousBlock;
    if (m.sequence != walk.previousSequence || otherSignal) {
        if (m_pListView)
            m_pListView->AddRow(walk.row, m.sequence, m.Text(1), m.Text(2), m.Text(3), m.Text(4), m.Text(5), m.Text(6),
                                m.valid);
        // Every fill starts at row 0, so a row's place is also the end of the rows before.
        m_RowSignals.resize(static_cast<size_t>(walk.row));
        m_RowSignals.push_back({index, m.sequence});
        ++walk.row;
        walk.previousSequence = m.sequence;
        walk.previousBlock = block;
    } else if (replaceInvalid && !m.valid && walk.row > 0) {
        if (m_pListView)
            m_pListView->ReplaceRow(walk.row - 1, m.sequence, m.Text(1), m.Text(2), m.Text(3), m.Text(4), m.Text(5),
                                    m.Text(6), false);
        if (static_cast<size_t>(walk.row) == m_RowSignals.size()) m_RowSignals.back() = {index, m.sequence};
    }
}

bool CVexaClientDoc::FillList() {
    CParserClient *client = RunClient();
    if (!client) return false;
    int32_t count = 0;
    client->GetMessageCount(count);
    if (count == 0) return false;
    if (count < 0 || !m_pListView) return true;  // nothing to show the rows in
    RowWalk walk;
    MessageRecord message;
    for (int32_t i = 1; i <= count; ++i) {
        client->GetMessage(i, message);
        AddOrReplaceRow(i, message, walk);
    }
    return true;
}

bool CVexaClientDoc::FillListBySearch() {
    if (m_strSearchText.empty()) return FillList();
    CParserClient *client = RunClient();
    if (!client || !m_pListView) return true;
    RowWalk walk;
    MessageRecord message;
    // -1 ends the walk; so does any index that is not a message or does not move on,
    // so that a faulty component cannot keep the list filling for ever.
    for (int32_t index = client->FindFirstMessage(m_strSearchText); index > 0;) {
        client->GetMessage(index, message);
        AddOrReplaceRow(index, message, walk);
        const int32_t next = client->FindNextMessage(m_strSearchText, index);
        if (next <= index) break;
        index = next;
    }
    return true;
}

int64_t CVexaClientDoc::BlockOfRow(int row, int32_t shown) const {
    if (row < 0 || static_cast<size_t>(row) >= m_RowSignals.size()) return -1;
    const RowSignal &signal = m_RowSignals[static_cast<size_t>(row)];
    // A row whose number is not the one the fill noted for it was not filled by the
    // document: it has no block of its own here.
    if (signal.sequence != shown) return -1;
    return m_SignalBlocks.BlockOf(signal.message, signal.sequence);
}

int32_t CVexaClientDoc::ShownNumberOfRow(int row) const {
    if (!m_pListView || row < 0 || row >= m_pListView->GetRowCount()) return INT32_MIN;
    return std::atoi(m_pListView->GetItemText(row, 0).substr(0, 128).c_str());
}

int64_t CVexaClientDoc::DisplayLineOfRow(int row) const {
    const int32_t shown = ShownNumberOfRow(row);
    if (shown == INT32_MIN) return -1;
    if (m_bDisplayByRows)
        return static_cast<size_t>(row) < m_RowDisplayLines.size() ? m_RowDisplayLines[static_cast<size_t>(row)] : -1;
    const int64_t block = BlockOfRow(row, shown);
    if (block < 0) return -1;
    const uint32_t start = m_SignalBlocks.RunStart(static_cast<size_t>(block), m_RunLines);
    return start == CSignalBlocks::kUnknown ? -1 : start;
}

int64_t CVexaClientDoc::TraceLineOfRow(int row) const {
    const int32_t shown = ShownNumberOfRow(row);
    if (shown == INT32_MIN) return -1;
    const int64_t block = BlockOfRow(row, shown);
    if (block < 0) return -1;
    const uint32_t line = m_SignalBlocks.TraceLine(static_cast<size_t>(block), m_TraceLines);
    return line == CSignalBlocks::kUnknown ? -1 : line;
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

// The blocks of the listed signals, one row after the other: each row's own signal's
// block where the run noted it, so that a row leads to its own signal also where its
// number occurs many times; otherwise the first run line that holds the row's number, as
// AppendMessageBlock finds it. Those first lines are found in one pass over the run lines,
// so that a list of many rows does not search the lines once per row.
bool CVexaClientDoc::RebuildResultText() {
    ClearDisplay();
    m_RowDisplayLines.clear();
    m_bDisplayByRows = true;
    // The shown lines are some of the run lines: room for all of them at once (address
    // space only), so that the list of a large text is never copied to grow.
    m_DisplayLines.Reserve(m_RunLines.size());
    IListView *list = m_pListView;
    const int rows = list ? list->GetRowCount() : 0;
    if (rows > 0) {
        // The block of each row, and the key ("%05d" of its first column) of those whose
        // block is not known.
        std::vector<int64_t> starts(static_cast<size_t>(rows), -1);
        std::vector<int32_t> numbers(static_cast<size_t>(rows));
        std::vector<int32_t> first(100000, kNotWanted);
        size_t wanted = 0;
        for (int row = 0; row < rows; ++row) {
            const int32_t number = ShownNumberOfRow(row);
            numbers[static_cast<size_t>(row)] = number;
            const int64_t block = BlockOfRow(row, number);
            const uint32_t start =
                block >= 0 ? m_SignalBlocks.RunStart(static_cast<size_t>(block), m_RunLines) : CSignalBlocks::kUnknown;
            if (start != CSignalBlocks::kUnknown) {
                starts[static_cast<size_t>(row)] = start;
            } else if (number >= 0 && number <= 99999 && first[static_cast<size_t>(number)] == kNotWanted) {
                first[static_cast<size_t>(number)] = kNotFound;
                ++wanted;
            }
        }
        if (wanted > 0) FindFirstLines(m_RunLines, first, wanted);
        m_RowDisplayLines.reserve(static_cast<size_t>(rows));
        char key[16];
        for (int row = 0; row < rows; ++row) {
            int64_t index = starts[static_cast<size_t>(row)];
            const int32_t number = numbers[static_cast<size_t>(row)];
            if (index < 0 && number >= 0 && number <= 99999) {
                index = first[static_cast<size_t>(number)];
            } else if (index < 0) {
                std::snprintf(key, sizeof key, "%05d", number);  // a negative number: rare, looked up alone
                index = FindLine(m_RunLines, key);
            }
            if (index < 0) return false;
            m_RowDisplayLines.push_back(static_cast<uint32_t>(m_DisplayLines.size()));
            AppendBlockAt(static_cast<size_t>(index));
        }
    }
    return RewriteOutput();
}

}  // namespace vexa
