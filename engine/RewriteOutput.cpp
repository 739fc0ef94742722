// Writing the shown blocks back to a fresh output file after the list was narrowed.
#include "CVexaClientDoc.h"
#include "OutputText.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace vexa {

namespace {

// Whether line holds "@", "/" or "*", which the rewritten output leaves out: eight
// characters at a time, since most lines hold none.
bool HasOutputMark(std::string_view line) {
    size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, line.data() + i, sizeof word);
        if (WordHasCharacter(word, '@') || WordHasCharacter(word, '/') || WordHasCharacter(word, '*')) return true;
    }
    for (; i < line.size(); ++i)
        if (line[i] == '@' || line[i] == '/' || line[i] == '*') return true;
    return false;
}

}  // namespace

bool CVexaClientDoc::RewriteOutput() {
    Settings().m_bOverwriteFile = false;
    NewOutputName();
    // "@", "/" and "*" are left out; a line that holds no newline gets one. Written in
    // large pieces.
    if (FILE *file = std::fopen(m_strOutputPath.c_str(), "w")) {
        constexpr size_t kChunk = 1 << 20;
        auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
        size_t used = 0;
        auto flush = [&] {
            std::fwrite(buffer.get(), 1, used, file);
            used = 0;
        };
        // Copies text without the three, in pieces that fit the buffer.
        auto put = [&](std::string_view text) {
            while (!text.empty()) {
                if (used == kChunk) flush();
                const std::string_view piece = text.substr(0, kChunk - used);
                text.remove_prefix(piece.size());
                char *out = buffer.get() + used;
                if (!HasOutputMark(piece)) {
                    std::memcpy(out, piece.data(), piece.size());  // most lines hold none of the three
                    out += piece.size();
                } else {
                    for (char c : piece)
                        if (c != '@' && c != '/' && c != '*') *out++ = c;
                }
                used = static_cast<size_t>(out - buffer.get());
            }
        };
        for (std::string_view line : m_DisplayLines) {
            put(line);
            // The left-out characters are no newlines: the copy holds one when the line does.
            const size_t n = line.size();
            const bool newline = n > 0 && (line[n - 1] == '\n' || std::memchr(line.data(), '\n', n - 1));
            if (!newline) put("\n");
        }
        flush();
        std::fclose(file);
    }
    if (m_pResultView) {
        m_pResultView->SetContentSizes(m_sizeResult, {}, {});
        m_pResultView->Repaint();
    }
    return true;
}

}  // namespace vexa
