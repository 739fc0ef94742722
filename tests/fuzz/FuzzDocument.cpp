#include "FuzzDocument.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vexa::fuzz {

namespace {

// The folder of the trace, the script and the outputs, made once a process and removed
// when it ends.
struct WorkFolder {
    std::string dir;
    WorkFolder() {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vexa-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        dir = pattern;
        std::filesystem::create_directory(dir + "/out");
        setenv("VEXA_COMPONENT_PATH", VEXA_FUZZ_COMPONENTS, 1);
        setenv("VEXA_SCRIPTED_SCRIPT", (dir + "/script.txt").c_str(), 1);
        unsetenv("VEXA_SCRIPTED_LOG");
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

WorkFolder &Work() {
    static WorkFolder folder;
    return folder;
}

void WriteFile(const std::string &path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string Escaped(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') ++pos;
        const size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') ++pos;
        if (pos > start) words.push_back(line.substr(start, pos - start));
    }
    return words;
}

}  // namespace

FuzzHost::FuzzHost() {
    settings.m_strTempPath = Work().dir + "/out/";
    settings.m_strDlrData = "DLRDATA";
    settings.m_strDlrDataLong = "DLRDATALONG";
    settings.m_strDliData = "DLIDATA";
    settings.m_strDliDataLong = "DLIDATALONG";
    settings.m_strDliuiDataLong = "DLIUIDATALONG";
}

bool FuzzList::AddRow(int row, int16_t seq, const std::string &dir, const std::string &, const std::string &msg,
                      const std::string &, const std::string &, const std::string &, bool valid) {
    const size_t at = row < 0 ? 0 : std::min<size_t>(static_cast<size_t>(row), rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), FuzzRow{seq, dir, msg, valid});
    return true;
}

bool FuzzList::ReplaceRow(int row, int16_t seq, const std::string &dir, const std::string &type,
                          const std::string &msg, const std::string &time, const std::string &from,
                          const std::string &to, bool valid) {
    if (row >= 0 && row < GetRowCount()) rows.erase(rows.begin() + row);
    return AddRow(row, seq, dir, type, msg, time, from, to, valid);
}

std::string FuzzList::GetItemText(int row, int column) const {
    if (row < 0 || row >= GetRowCount()) return {};
    const FuzzRow &r = rows[static_cast<size_t>(row)];
    switch (column) {
    case 0: return std::to_string(r.sequence);
    case 1: return std::string(ListDirectionText(r.direction));
    case 2: return r.message;
    default: return {};
    }
}

std::string ScriptFor(std::string_view trace) {
    constexpr size_t kMostLines = 512;
    std::string script;
    std::string swhw = "find\tmessage\tSWHW", hwsw = "find\tmessage\tHWSW";
    std::string cpns = "values\tcpn", scpIds = "values\tscpid", flags = "values\ttran";
    size_t pos = 0;
    for (int index = 1; pos < trace.size() && static_cast<size_t>(index) <= kMostLines; ++index) {
        size_t end = trace.find('\n', pos);
        if (end == std::string_view::npos) end = trace.size();
        const std::string_view line = trace.substr(pos, end - pos);
        pos = end + 1;
        auto at = [&](size_t i) -> unsigned { return i < line.size() ? static_cast<unsigned char>(line[i]) : 0u; };
        const std::string n = std::to_string(index);
        const std::vector<std::string_view> words = Words(line);
        auto word = [&](size_t i) { return i < words.size() ? Escaped(words[i]) : std::string(); };

        script += "parse\t" + std::to_string(at(0) % 5) + "\t" + std::to_string(at(1) % 3) + "\t" +
                  std::to_string(static_cast<int>(at(2) % 10) - 7) + "\t" + n + "\n";
        const bool outgoing = at(6) & 1;
        const int seq = static_cast<int>(at(3) % 4);
        script += "message\t" + n + "\t" + std::to_string(seq) + "\t" + std::to_string(static_cast<int>(at(4) % 4) - 1) +
                  "\t" + std::to_string(at(5) & 1) + "\t" + (outgoing ? "SWHW" : "HWSW");
        for (size_t i = 0; i < 11; ++i) script += "\t" + word(i);
        script += "\n";
        (outgoing ? swhw : hwsw) += "\t" + n;
        script += "userpart\t" + std::to_string(seq) + "\t" + word(0) + "\n";
        script += "callref\t" + n + "\t" + word(1) + "\n";
        script += "equ\t" + n + "\t" + word(2) + "\n";
        for (const char *member : {"callref", "equ", "scpid", "tran", "protocol"})
            script += std::string("find\t") + member + "\t" + word(at(7) % 4) + "\t" + n + "\n";
        script += "findcpn\t" + word(1) + "\t" + n + "\n";
        cpns += "\t" + word(1);
        scpIds += "\t" + word(2);
        flags += "\t" + word(3);
    }
    return script + swhw + "\n" + hwsw + "\n" + cpns + "\n" + scpIds + "\n" + flags + "\n";
}

FuzzRun::FuzzRun(const uint8_t *data, size_t size) {
    const WorkFolder &work = Work();
    const uint8_t choice = size > 0 ? data[0] : 0;
    m_protocol = 1 + (choice & 7) % 6;
    m_host.settings.m_nDefaultProtocol = m_host.settings.m_nCurrentProtocol = m_protocol;
    m_host.settings.m_bWriteAllRows = choice & 0x08;
    m_host.settings.m_bWriteHexInfo = choice & 0x10;
    const std::string_view trace =
        size > 0 ? std::string_view(reinterpret_cast<const char *>(data) + 1, size - 1) : std::string_view();
    const std::string tracePath = work.dir + "/trace.trc";
    WriteFile(tracePath, trace);
    WriteFile(work.dir + "/script.txt", m_protocol >= 5 ? ScriptFor(trace) : std::string());

    m_doc = std::make_unique<CVexaClientDoc>(m_host);
    m_doc->m_pListView = &m_list;
    m_doc->m_pResultView = &m_result;
    m_doc->OnOpenDocument(tracePath);
}

FuzzRun::~FuzzRun() {
    if (m_doc) m_doc->OnCloseDocument();
    m_doc.reset();
    // Whatever a run left in the output folder goes, so that the next input starts clean.
    std::error_code ignored;
    std::vector<std::filesystem::path> left;
    for (const auto &entry : std::filesystem::directory_iterator(Work().dir + "/out", ignored))
        left.push_back(entry.path());
    for (const auto &path : left) std::filesystem::remove_all(path, ignored);
}

}  // namespace vexa::fuzz
