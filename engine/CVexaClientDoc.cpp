#include "CVexaClientDoc.h"

#include "DispatchIds.h"
#include "OutputText.h"
#include "SettingsStore.h"
#include "StringTable.h"
#include "TempOutputs.h"
#include "TraceReader.h"

#include <cstdio>

namespace vexa {

CVexaClientDoc::CVexaClientDoc(IDocumentHost &host) : m_host(host) {
    m_strSignalNames = host.Settings().SignalNames();
}

CVexaClientDoc::~CVexaClientDoc() {
    ReleaseParser();
    m_IsdnParser.ReleaseDispatch();
    m_DectParser.ReleaseDispatch();
    m_IpParser.ReleaseDispatch();
}

bool CVexaClientDoc::OnOpenDocument(const std::string &path) {
    LineArray lines;
    TraceStamp stamp;
    if (m_bKeepLines ? !LoadTraceLines(path, lines, stamp) : !IsReadableTrace(path)) return false;
    DeleteContents();

    size_t slash = path.rfind('/');
    m_host.WriteProfileString("", kKeyOpenDirectory, slash == std::string::npos ? std::string() : path.substr(0, slash));
    m_bOpened = true;
    m_strTracePath = path;

    m_TraceLines = std::move(lines);
    m_TraceStamp = stamp;

    m_nRunProtocol = Settings().m_nDefaultProtocol;
    m_nProtocol = Settings().m_nCurrentProtocol;
    if (m_pTraceView) {
        m_pTraceView->ShowProtocolInStatusBar();
        m_pTraceView->Repaint();
    }
    if (m_host.InterpretOnOpen()) RunInterpretation();
    return true;
}

void CVexaClientDoc::DeleteContents() {
    if (!m_strOutputPath.empty() && !m_bOutputKept) std::remove(m_strOutputPath.c_str());
}

void CVexaClientDoc::OnCloseDocument() {
    DeleteContents();
    if (!m_bOutputKept) TempOutputs::Untrack(m_strOutputPath);
    // Temporary files that a rewrite or a save replaced go as well: they are the
    // program's own and nobody else knows of them.
    for (const std::string &earlier : m_earlierOutputs) {
        if (earlier == m_strOutputPath) continue;
        std::remove(earlier.c_str());
        TempOutputs::Untrack(earlier);
    }
    m_earlierOutputs.clear();
    ReleaseParser();
}

void CVexaClientDoc::NewOutputName() {
    if (!m_strOutputPath.empty() && !m_bOutputKept) m_earlierOutputs.push_back(m_strOutputPath);
    // The file is made here, the user's alone and no other run's (see CreateOutput).
    // Where it cannot be made, the name is kept all the same: writing it fails and says so.
    m_strOutputPath = TempOutputs::CreateOutput(Settings().m_strTempPath, m_strTracePath);
    if (m_strOutputPath.empty()) m_strOutputPath = MakeOutputName(Settings().m_strTempPath, m_strTracePath);
    // The new output is the program's own again: a file the user saved stays his, and the
    // new one goes when the document closes.
    m_bOutputKept = false;
    TempOutputs::Track(m_strOutputPath);
}

CParserClient *CVexaClientDoc::ClientFor(int protocol) {
    if (protocol >= 1 && protocol <= 4) return &m_IsdnParser;
    if (protocol == 5) return &m_DectParser;
    if (protocol == 6) return &m_IpParser;
    return nullptr;
}

bool CVexaClientDoc::CreateParser() {
    CParserClient *client = ClientFor(m_nRunProtocol);
    if (!client) {
        m_host.ShowMessage(LoadString(IDS_PROTOCOL_NOT_SUPPORTED));
        return false;
    }
    const int progIdString = m_nRunProtocol <= 4 ? IDS_PROGID_ISDN : m_nRunProtocol == 5 ? IDS_PROGID_DECT : IDS_PROGID_IP;
    if (!client->CreateDispatch(LoadString(progIdString))) {
        m_host.ShowMessage(LoadString(IDS_NOT_INSTALLED));
        return false;
    }
    if (client == &m_IsdnParser) {
        m_IsdnParser.SetProtocolVariant(static_cast<int16_t>(m_nRunProtocol));
        m_IsdnParser.SetSignalNames(m_strSignalNames);
    }
    return true;
}

void CVexaClientDoc::ReleaseParser() {
    if (CParserClient *client = RunClient()) {
        client->Reset();
        client->ReleaseDispatch();
    }
}

std::string CVexaClientDoc::GetTraceLine(size_t i) const {
    return i < m_TraceLines.size() ? std::string(m_TraceLines[i]) : std::string();
}

std::string CVexaClientDoc::GetDisplayLine(size_t i) const {
    return i < m_DisplayLines.size() ? std::string(m_DisplayLines[i]) : std::string();
}

}  // namespace vexa
