// Writing the shown blocks back to a fresh output file after the list was narrowed.
#include "CVexaClientDoc.h"
#include "StringTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace vexa {

namespace {

// A shown line as the output file has it: without the display marks of the lines the
// view draws apart, a DECT header line ("@@@" in front) and an SCP line ("/*" in front,
// "*/" after its line end). The words keep every "/", "@" and "*" of their own
// ("Preferred/exclusive" stays so), which removing every such character would lose.
std::string_view WithoutDisplayMarks(std::string_view line) {
    if (line.starts_with("@@@")) return line.substr(3);
    if (line.size() >= 5 && line.starts_with("/*") && line.ends_with("\n*/")) return line.substr(2, line.size() - 4);
    return line;
}

// Writes to a file in large pieces and remembers whether every piece went in whole.
class CheckedWriter {
public:
    explicit CheckedWriter(int fd) : m_fd(fd), m_buffer(std::make_unique_for_overwrite<char[]>(kChunk)) {}

    void Put(std::string_view text) {
        while (!text.empty() && m_ok) {
            if (m_used == kChunk) Flush();
            const size_t n = std::min(text.size(), kChunk - m_used);
            std::memcpy(m_buffer.get() + m_used, text.data(), n);
            m_used += n;
            text.remove_prefix(n);
        }
    }
    void Flush() {
        size_t done = 0;
        while (m_ok && done < m_used) {
            const ssize_t n = write(m_fd, m_buffer.get() + done, m_used - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) m_ok = false;
            else done += static_cast<size_t>(n);
        }
        m_used = 0;
    }
    bool Ok() const { return m_ok; }

private:
    static constexpr size_t kChunk = 1 << 20;
    int m_fd;
    std::unique_ptr<char[]> m_buffer;
    size_t m_used = 0;
    bool m_ok = true;
};

}  // namespace

bool CVexaClientDoc::RewriteOutput() {
    Settings().m_bOverwriteFile = false;
    NewOutputName();
    // Each shown line without its display marks; a line that holds no newline gets one.
    // Every write is checked: a full disk or a size limit must not leave a cut file that
    // passes for the shown text. The cut file goes, and the user is told.
    bool written = false;
    const int fd = open(m_strOutputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        CheckedWriter out(fd);
        for (std::string_view shown : m_DisplayLines) {
            const std::string_view line = WithoutDisplayMarks(shown);
            out.Put(line);
            if (line.find('\n') == std::string_view::npos) out.Put("\n");
            if (!out.Ok()) break;
        }
        out.Flush();
        const bool closed = close(fd) == 0;
        written = out.Ok() && closed;
    }
    if (!written) {
        if (fd >= 0) std::remove(m_strOutputPath.c_str());
        m_host.ShowMessage(LoadString(IDS_OUTPUT_NOT_WRITABLE) + m_strOutputPath);
    }
    if (m_pResultView) {
        m_pResultView->SetContentSizes(m_sizeResult, {}, {});
        m_pResultView->Repaint();
    }
    return written;
}

}  // namespace vexa
