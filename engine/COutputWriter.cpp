#include "COutputWriter.h"

#include "OutputText.h"
#include "StringTable.h"

namespace vexa {

bool COutputWriter::Open(const std::string &path) { return m_file.Open(path); }

void COutputWriter::Close() { m_file.Close(); }

void COutputWriter::Flush() { m_file.Flush(); }

void COutputWriter::WriteFile(std::string_view text) { m_file.Write(text); }

void COutputWriter::WriteOut(std::string_view text) {
    WriteFile(text);
    m_runLines.Add(text);
}

void COutputWriter::WriteLabelled(std::string_view label, std::string_view value, std::string_view runPrefix,
                                  bool runNewline) {
    m_scratch.assign(label);
    m_scratch += ": ";
    m_scratch += value;
    m_scratch += '\n';
    WriteFile(m_scratch);
    if (!runNewline) m_scratch.pop_back();
    if (!runPrefix.empty()) m_scratch.insert(0, runPrefix);
    m_runLines.Add(m_scratch);
}

void COutputWriter::WriteMessageType(std::string_view text) {
    // "Message Type: %s"
    WriteLabelled("Message Type", text, {}, false);
}

void COutputWriter::WriteDirection(std::string_view direction, std::string_view messageName) {
    const std::string &label = LoadString(direction == "SWHW" ? IDS_OUTGOING : IDS_INCOMING);
    m_scratch.assign(label);
    m_scratch += " Message: ";
    m_scratch += messageName;
    m_scratch += '\n';
    WriteFile(m_scratch);
    m_scratch.pop_back();
    m_runLines.Add(m_scratch);
}

void COutputWriter::WriteProtocolDiscriminator(std::string_view value) {
    WriteLabelled(LoadString(IDS_PROTOCOL_DISCRIMINATOR), value, {}, false);
}

void COutputWriter::WriteIncomplete(std::string_view text) {
    WriteLabelled(LoadString(IDS_INCOMPLETE_MESSAGE), text, {}, false);
}

void COutputWriter::WriteCallReferenceValue(std::string_view value) {
    WriteLabelled(LoadString(IDS_CALL_REFERENCE), value, {}, false);
}

void COutputWriter::WriteCallReference(std::string_view value, bool flag) {
    std::string text = LoadString(IDS_CALL_REFERENCE);
    text += ": ";
    text += value;
    text += LoadString(flag ? IDS_CR_FLAG_SET : IDS_CR_FLAG_NOT_SET);
    text += '\n';
    WriteOut(text);
}

void COutputWriter::WriteScpLines(std::string_view scpMessage, std::string_view scpId) {
    if (!scpId.empty()) {
        std::string line = LoadString(IDS_SCP_ID) + ": " + std::string(scpId) + "\n";
        WriteFile(line);
        m_runLines.Add("/*" + line + "*/");
    }
    std::string line = LoadString(IDS_SCP_MESSAGE) + ": " + std::string(scpMessage) + "\n";
    WriteFile(line);
    m_runLines.Add("/*" + line + "*/");
}

void COutputWriter::WriteDectHeader(std::string_view discriminator, std::string_view scpMessage, int status,
                                    std::string_view scpId, std::string_view transactionValue,
                                    std::string_view extraLine, std::string_view userPart, bool useAlternative,
                                    std::string_view alternative) {
    const std::string &pdLabel = LoadString(IDS_PROTOCOL_DISCRIMINATOR);
    if (status == 1) {
        WriteFile(pdLabel + ": " + std::string(discriminator) + "\n");
        if (useAlternative) m_runLines.Add(pdLabel + ": " + std::string(alternative));
        else m_runLines.Add("@@@" + pdLabel + ": " + std::string(discriminator));
    }
    WriteLabelled(LoadString(IDS_TRANSACTION_VALUE), transactionValue, "@@@", true);
    WriteFile(std::string(extraLine) + "\n");
    m_runLines.Add("@@@" + std::string(extraLine) + "\n");
    WriteLabelled(LoadString(IDS_USER_PART), userPart, "@@@", true);
    WriteScpLines(scpMessage, scpId);
}

void COutputWriter::WriteDataRows(std::vector<std::string> &rows, int i) {
    if (m_writeAllRows || i != 1) return;
    for (const std::string &row : rows) WriteOut(row);
    rows.clear();
}

void COutputWriter::WriteBodyLines(std::string_view decodedText) {
    for (std::string_view part : SplitParts(decodedText)) {
        size_t start = 0;
        while (start < part.size()) {
            size_t nl = part.find('\n', start);
            std::string_view line = nl == std::string_view::npos ? part.substr(start) : part.substr(start, nl - start);
            start = nl == std::string_view::npos ? part.size() : nl + 1;
            m_scratch.assign(6, ' ');
            m_scratch += line;
            if (size_t tilde = m_scratch.find('~'); tilde != std::string::npos) m_scratch.erase(tilde, 1);
            m_scratch += '\n';
            WriteFile(m_scratch);
            m_scratch.pop_back();
            m_runLines.Add(m_scratch);
        }
    }
}

}  // namespace vexa
