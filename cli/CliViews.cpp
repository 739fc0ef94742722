#include "CliViews.h"

#include <cstdio>
#include <unistd.h>

namespace vexa::cli {

void CliHost::ShowMessage(const std::string &text) {
    m_messages.push_back(text);
    std::fprintf(stderr, "vexa-interpret: %s\n", text.c_str());
}

void CliHost::RunProgress(int64_t bytesRead, int64_t bytesTotal) {
    if (bytesTotal <= 0 || !isatty(STDERR_FILENO)) return;
    // Only a run that takes a while gets a progress line.
    if (!m_progressShown && std::chrono::steady_clock::now() - m_started < std::chrono::milliseconds(500)) return;
    m_progressShown = true;
    std::fprintf(stderr, "\rvexa-interpret: interpreting... %3d%%", static_cast<int>(bytesRead * 100 / bytesTotal));
    std::fflush(stderr);
}

void CliHost::RunFinished() {
    if (!m_progressShown) return;
    std::fprintf(stderr, "\r%40s\r", "");
    std::fflush(stderr);
    m_progressShown = false;
}

bool CliList::AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                     const std::string &message, const std::string &time, const std::string &from,
                     const std::string &to, bool valid) {
    ListRow r{sequence, direction, signalType, message, time, from, to, valid};
    if (row < 0 || row > GetRowCount()) row = GetRowCount();
    m_rows.insert(m_rows.begin() + row, std::move(r));
    return true;
}

bool CliList::ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                         const std::string &message, const std::string &time, const std::string &from,
                         const std::string &to, bool valid) {
    if (row >= 0 && row < GetRowCount()) m_rows.erase(m_rows.begin() + row);
    return AddRow(row, sequence, direction, signalType, message, time, from, to, valid);
}

std::string CliList::GetItemText(int row, int column) const {
    if (row < 0 || row >= GetRowCount()) return {};
    const ListRow &r = m_rows[row];
    switch (column) {
    case 0: return std::to_string(r.sequence);
    case 1: return std::string(ListDirectionText(r.direction));
    case 2: return r.message;
    case 3: return r.time;
    case 4: return r.from;
    case 5: return r.to;
    default: return {};
    }
}

}  // namespace vexa::cli
