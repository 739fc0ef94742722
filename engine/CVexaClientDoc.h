// The document of one opened signal trace: its lines, its protocol, its parser clients,
// the output file and the lines of the interpretation, and the services its views use.
#pragma once

#include "CDectParser.h"
#include "CIpParser.h"
#include "CIsdnParser.h"
#include "CSignalBlocks.h"
#include "LineArray.h"
#include "ResultLayout.h"
#include "TraceReader.h"
#include "ViewInterfaces.h"

#include <array>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

class CVexaClientDoc {
public:
    explicit CVexaClientDoc(IDocumentHost &host);
    ~CVexaClientDoc();
    CVexaClientDoc(const CVexaClientDoc &) = delete;
    CVexaClientDoc &operator=(const CVexaClientDoc &) = delete;

    // Reads the trace and, with automatic interpretation on, interprets it. False when
    // the file cannot be opened.
    bool OnOpenDocument(const std::string &path);
    // A document always belongs to a trace: a new empty one is refused.
    bool OnNewDocument() { return false; }
    // Deletes the temporary output file unless the user kept it.
    void DeleteContents();
    // Closing: the output file goes unless kept, the parser is released.
    void OnCloseDocument();

    // Creates and configures the parser of the run protocol; shows 2001 or 2002 and
    // answers false when that fails.
    bool CreateParser();
    // Resets and releases the parser of the run protocol.
    void ReleaseParser();
    // The client of a protocol number; null outside 1 to 6.
    CParserClient *ClientFor(int protocol);
    CParserClient *RunClient() { return ClientFor(m_nRunProtocol); }

    // The interpretation run over the whole trace.
    bool RunInterpretation();

    // List filling and the shown text.
    void LoadOutput();
    bool FillList();
    bool FillListBySearch();
    static int FindLine(const LineArray &lines, std::string_view text);
    int FindTraceLine(std::string_view text) const { return FindLine(m_TraceLines, text); }
    int FindDisplayLine(std::string_view text) const { return FindLine(m_DisplayLines, text); }
    std::string GetTraceLine(size_t i) const;
    std::string GetDisplayLine(size_t i) const;
    void ClearDisplay();
    bool AppendMessageBlock(std::string_view text);
    // Appends the block that starts at run line index to the display lines, up to and
    // with its closing line.
    void AppendBlockAt(size_t index);
    bool RewriteOutput();

    // Shows only the blocks of the signals the list holds, and writes them to a new
    // output file. False when a row's signal has no block in the run lines.
    bool RebuildResultText();

    // Save of the output under a name of the user's choice.
    enum class SaveResult { Saved, SameAsTrace, CopyFailed };
    // Copies the output file to path and keeps it there; error gets the platform's text
    // when the copy fails.
    SaveResult SaveOutputAs(const std::string &path, std::string &error);
    // The default name offered for a save: the trace's name without its folder and its
    // last extension, with ".out".
    std::string DefaultSaveName() const;

    // Where a fill stands: the next row, and the sequence number and block of the last
    // message listed (none yet at the start, so the first message always opens a row).
    struct RowWalk {
        int row = 0;
        int32_t previousSequence = INT32_MIN;
        int64_t previousBlock = -1;
    };
    // Adds a row to the list view for message index, or, when the message belongs to the
    // signal of the last row, replaces that row with it when it is not valid and
    // replaceInvalid is set: the step shared by every fill. A message of the same sequence
    // number opens a row of its own when it belongs to another signal's block (numbers
    // repeat in a long trace), so that each row stands for one signal.
    void AddOrReplaceRow(int32_t index, const MessageRecord &message, RowWalk &walk, bool replaceInvalid = true);

    // Where the block of a list row's signal starts in the shown lines, and where its
    // record line is in the trace; -1 when not known (a row the document did not fill,
    // a component whose message indices the run could not follow): the views then look
    // for the row's key as text.
    int64_t DisplayLineOfRow(int row) const;
    int64_t TraceLineOfRow(int row) const;

    IDocumentHost &Host() { return m_host; }
    VexaSettings &Settings() { return m_host.Settings(); }

    // The views, set by the views themselves.
    IListView *m_pListView = nullptr;
    IResultView *m_pResultView = nullptr;
    ITraceView *m_pTraceView = nullptr;
    void *m_pPreviewView = nullptr;        // the view that last started a print preview
    void *m_pResultPreviewView = nullptr;  // the result text view that last asked for a preview
    // Whether the document keeps what the views go over: the trace's lines, read at open,
    // and the run lines. Where only the interpretation file is wanted (printed or saved
    // without a window), neither is kept: the run reads the trace from the file and the
    // output goes to the file alone, which spares a large trace's memory.
    bool m_bKeepLines = true;

    std::string m_strTracePath;
    std::string m_strOutputPath;
    bool m_bOpened = false;
    bool m_bTraceRecognised = false;
    bool m_bOutputLoaded = false;
    bool m_bContextMenuBuilt = false;
    bool m_bListMenuBuilt = false;
    bool m_bOutputKept = false;
    bool m_bParserCreated = false;
    std::string m_strSearchText;

    CIsdnParser m_IsdnParser;
    CDectParser m_DectParser;
    CIpParser m_IpParser;

    int32_t m_nProtocol = 0;
    int32_t m_nRunProtocol = 0;
    std::array<std::string, 5> m_strSignalNames;

    LineArray m_RunLines;
    // Where the block of each signal the last run wrote lies.
    CSignalBlocks m_SignalBlocks;
    // The message index and sequence number behind each list row, as the fills added them.
    struct RowSignal {
        int32_t message;
        int16_t sequence;
    };
    std::vector<RowSignal> m_RowSignals;
    // Where each row's block starts in the display lines, once they were rebuilt from the
    // rows (m_bDisplayByRows); until then the display lines are the run lines.
    std::vector<uint32_t> m_RowDisplayLines;
    bool m_bDisplayByRows = false;
    // The rows of the result text for the run lines, worked out as the run made them
    // (null when no view was there to want them).
    std::shared_ptr<const CResultLayout> m_RunLayout;
    LineArray m_DisplayLines;
    LineArray m_TraceLines;
    TraceStamp m_TraceStamp;  // the trace file as its lines were read

    ContentSize m_sizeResult{1000, 3000};
    ContentSize m_sizeTraceExtent{1000, 3000};

    std::vector<std::string> m_IpDataRows;
    std::vector<std::string> m_IpHeldRows;
    bool m_bIpMarkOpen = false;
    std::string m_strIpMarkedLine;

    // Gives the document a new temporary output file name.
    void NewOutputName();

private:
    // The block index of a row's signal, or -1; shown is the number the row shows.
    int64_t BlockOfRow(int row, int32_t shown) const;
    // The number a list row shows in its first column; INT32_MIN when there is no such row.
    int32_t ShownNumberOfRow(int row) const;

    IDocumentHost &m_host;
    std::vector<std::string> m_earlierOutputs;  // temporary output files replaced by later ones
};

}  // namespace vexa
