#include "OutputFormatter.h"

#include "OutputText.h"
#include "StringTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vexa {

namespace {
// The blocks the output is put in, used in turn: once the file holds a block's text, the
// block takes new text. The run lines find their text in the finished file.
constexpr size_t kOutputBlock = 4u << 20;
constexpr size_t kRingBlocks = 4;

std::string ReadWholeFile(const std::string &path) {
    std::string text;
    if (FILE *file = std::fopen(path.c_str(), "rb")) {
        char buffer[64 * 1024];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}
}  // namespace

bool OutputFormatter::Open(const std::string &path, bool keepLayout, bool keepLines) {
    m_keepLines = keepLines;
    m_countedLines = 0;
    m_layout = keepLayout && keepLines ? std::make_shared<CResultLayout>() : nullptr;
    m_block = nullptr;
    m_used = m_capacity = 0;
    m_blockStart = 0;
    m_ring.clear();
    m_oversized.clear();
    m_path = path;
    return m_file.Open(path);
}

bool OutputFormatter::Close() {
    if (!m_file.IsOpen()) return true;
    std::shared_ptr<MappedFile> mapping;
    // The blocks go only once the file holds their text.
    const bool ok = m_file.Close(m_keepLines ? &mapping : nullptr);
    if (m_keepLines && mapping) {
        m_runLines.BindFile(mapping->data(), mapping->size(), mapping);
    } else if (m_keepLines) {
        // Not mapped (an empty file, or no mapping to be had): the file read back.
        std::string text = ReadWholeFile(m_path);
        auto kept = std::make_shared<std::string>(std::move(text));
        m_runLines.BindFile(kept->data(), kept->size(), kept);
    }
    if (m_layout) {
        // Lines the file does not hold are shown empty: the rows are then worked out anew.
        if (ok) m_layout->Finish(m_runLines);
        else m_layout.reset();
    }
    m_ring.clear();
    m_oversized.clear();
    m_block = nullptr;
    m_used = m_capacity = 0;
    return ok;
}

void OutputFormatter::Flush() { m_file.Flush(); }

char *OutputFormatter::Room(size_t n) {
    if (m_capacity - m_used < n) {
        // The rest of the block stays unused: a piece never spans two blocks.
        if (!m_ring.empty()) m_ring[m_current].end = m_file.Size();
        if (n > kOutputBlock) {
            m_oversized.push_back(MakeLargeBlock(n));
            m_block = m_oversized.back().get();
            m_capacity = n;
        } else if (m_ring.size() < kRingBlocks) {
            m_ring.push_back({MakeLargeBlock(kOutputBlock), 0});
            m_current = m_ring.size() - 1;
            m_block = m_ring[m_current].block.get();
            m_capacity = kOutputBlock;
        } else {
            m_current = (m_current + 1) % kRingBlocks;
            m_file.WaitWritten(m_ring[m_current].end);
            m_block = m_ring[m_current].block.get();
            m_capacity = kOutputBlock;
        }
        m_used = 0;
        m_blockStart = m_file.Size();
    }
    return m_block + m_used;
}

std::string_view OutputFormatter::Commit(size_t n) {
    std::string_view text(m_block + m_used, n);
    m_used += n;
    m_file.Write(text);
    return text;
}

void OutputFormatter::RunLineCopy(std::string_view text) {
    if (OnlyCounted()) return;
    m_runLines.Add(text);
    if (m_layout) m_layout->Add(text);
}

void OutputFormatter::RunLine(std::string_view text) {
    if (OnlyCounted()) return;
    m_runLines.AddFileLine(m_blockStart + static_cast<uint64_t>(text.data() - m_block), text.size());
    if (m_layout) m_layout->Add(text);
}

std::string_view OutputFormatter::Put(std::string_view text) {
    if (text.empty()) return {};
    std::memcpy(Room(text.size()), text.data(), text.size());
    return Commit(text.size());
}

void OutputFormatter::WriteOut(std::string_view text) {
    if (text.empty()) {
        RunLineCopy(text);
        return;
    }
    RunLine(Put(text));
}

std::string_view OutputFormatter::PutLabelled(std::string_view label, std::string_view value) {
    const size_t n = label.size() + 2 + value.size() + 1;
    char *p = Room(n);
    std::memcpy(p, label.data(), label.size());
    p += label.size();
    *p++ = ':';
    *p++ = ' ';
    if (!value.empty()) std::memcpy(p, value.data(), value.size());
    p[value.size()] = '\n';
    return Commit(n);
}

std::string_view OutputFormatter::PutLine(std::string_view text) {
    char *p = Room(text.size() + 1);
    if (!text.empty()) std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\n';
    return Commit(text.size() + 1);
}

void OutputFormatter::RunLineMarked(std::string_view prefix, std::string_view text, std::string_view suffix) {
    if (OnlyCounted()) return;  // before the line is put together
    m_scratch.assign(prefix);
    m_scratch += text;
    m_scratch += suffix;
    RunLineCopy(m_scratch);
}

void OutputFormatter::WriteLabelled(std::string_view label, std::string_view value, std::string_view runPrefix,
                                  bool runNewline) {
    std::string_view text = PutLabelled(label, value);
    if (!runNewline) text.remove_suffix(1);
    if (runPrefix.empty()) RunLine(text);
    else RunLineMarked(runPrefix, text, {});
}

void OutputFormatter::WriteMessageType(std::string_view text) {
    // "Message Type: %s"
    WriteLabelled("Message Type", text, {}, false);
}

void OutputFormatter::WriteDirection(std::string_view direction, std::string_view messageName) {
    const std::string &label = LoadString(direction == "SWHW" ? IDS_OUTGOING : IDS_INCOMING);
    m_scratch.assign(label);
    m_scratch += " Message: ";
    m_scratch += messageName;
    m_scratch += '\n';
    std::string_view text = Put(m_scratch);
    text.remove_suffix(1);
    RunLine(text);
}

void OutputFormatter::WriteProtocolDiscriminator(std::string_view value) {
    WriteLabelled(LoadString(IDS_PROTOCOL_DISCRIMINATOR), value, {}, false);
}

void OutputFormatter::WriteIncomplete(std::string_view text) {
    WriteLabelled(LoadString(IDS_INCOMPLETE_MESSAGE), text, {}, false);
}

void OutputFormatter::WriteCallReferenceValue(std::string_view value) {
    WriteLabelled(LoadString(IDS_CALL_REFERENCE), value, {}, false);
}

void OutputFormatter::WriteCallReference(std::string_view value, bool flag) {
    m_scratch.assign(LoadString(IDS_CALL_REFERENCE));
    m_scratch += ": ";
    m_scratch += value;
    m_scratch += LoadString(flag ? IDS_CR_FLAG_SET : IDS_CR_FLAG_NOT_SET);
    m_scratch += '\n';
    WriteOut(m_scratch);
}

void OutputFormatter::WriteScpLines(std::string_view scpMessage, std::string_view scpId) {
    // In the file as they are; in the display between comment marks, newline included.
    if (!scpId.empty()) RunLineMarked("/*", PutLabelled(LoadString(IDS_SCP_ID), scpId), "*/");
    RunLineMarked("/*", PutLabelled(LoadString(IDS_SCP_MESSAGE), scpMessage), "*/");
}

void OutputFormatter::WriteDectHeader(std::string_view discriminator, std::string_view scpMessage, int status,
                                    std::string_view scpId, std::string_view transactionValue,
                                    std::string_view extraLine, std::string_view userPart, bool useAlternative,
                                    std::string_view alternative) {
    const std::string &pdLabel = LoadString(IDS_PROTOCOL_DISCRIMINATOR);
    if (status == 1) {
        std::string_view text = PutLabelled(pdLabel, discriminator);
        text.remove_suffix(1);
        if (!useAlternative) {
            RunLineMarked("@@@", text, {});
        } else if (!OnlyCounted()) {
            m_scratch.assign(pdLabel);
            m_scratch += ": ";
            m_scratch += alternative;
            RunLineCopy(m_scratch);
        }
    }
    WriteLabelled(LoadString(IDS_TRANSACTION_VALUE), transactionValue, "@@@", true);
    RunLineMarked("@@@", PutLine(extraLine), {});
    WriteLabelled(LoadString(IDS_USER_PART), userPart, "@@@", true);
    WriteScpLines(scpMessage, scpId);
}

void OutputFormatter::PutBodyLine(std::string_view line) {
    const size_t n = 6 + line.size() + 1;
    char *p = Room(n);
    std::memset(p, ' ', 6);
    p += 6;
    size_t kept = line.size();
    if (const void *tilde = std::memchr(line.data(), '~', line.size())) {
        const size_t at = static_cast<size_t>(static_cast<const char *>(tilde) - line.data());
        std::memcpy(p, line.data(), at);
        std::memcpy(p + at, line.data() + at + 1, line.size() - at - 1);
        --kept;
    } else {
        std::memcpy(p, line.data(), line.size());
    }
    p[kept] = '\n';
    std::string_view text = Commit(6 + kept + 1);
    text.remove_suffix(1);
    RunLine(text);
}

void OutputFormatter::WriteBodyLines(std::string_view decodedText) {
    // Each line of a part is one body line (a part's last newline ends its last line).
    ForEachPart(decodedText, [this](std::string_view part) {
        while (!part.empty()) {
            const size_t nl = part.find('\n');
            PutBodyLine(part.substr(0, nl));
            part.remove_prefix(nl == std::string_view::npos ? part.size() : nl + 1);
        }
    });
}

}  // namespace vexa
