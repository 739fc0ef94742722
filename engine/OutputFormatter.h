// What makes the interpretation output out of the run's pieces: each piece goes to the
// output file and, as one entry with its display marks, to the document's run lines.
// The text is put once, in a few blocks used in turn, from which the file takes it; a
// run line is the piece's place in the file (without its newline where the display shows
// it without one), and the run lines read the finished file once it is closed. Only a
// line whose display differs from the file's text (a marked DECT line) is kept apart.
#pragma once

#include "LineArray.h"
#include "OutputFile.h"
#include "ResultLayout.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class OutputFormatter {
public:
    explicit OutputFormatter(LineArray &runLines) : m_runLines(runLines) {}
    ~OutputFormatter() { Close(); }
    OutputFormatter(const OutputFormatter &) = delete;
    OutputFormatter &operator=(const OutputFormatter &) = delete;

    // Opens (truncates) the output file; false when it cannot be written. With keepLayout
    // the rows of the result text are worked out as the lines are made, while each is at
    // hand (Layout, after Close). Without keepLines only the file is made: the run lines
    // are counted, not kept (nothing will show them).
    bool Open(const std::string &path, bool keepLayout = false, bool keepLines = true);
    // Closes the file and points the run lines into it; false when some of the output
    // could not be written (the lines past what the file holds are then empty).
    bool Close();
    void Flush();
    // The rows of the run lines as made, once closed; null when not kept or when not all
    // the output could be written.
    std::shared_ptr<const CResultLayout> Layout() const { return m_layout; }

    // The text unchanged to the file and as one run line.
    void WriteOut(std::string_view text);
    void WriteMessageType(std::string_view text);
    void WriteDirection(std::string_view direction, std::string_view messageName);
    void WriteProtocolDiscriminator(std::string_view value);
    void WriteIncomplete(std::string_view text);
    void WriteCallReferenceValue(std::string_view value);
    void WriteCallReference(std::string_view value, bool flag);
    void WriteScpLines(std::string_view scpMessage, std::string_view scpId);
    void WriteDectHeader(std::string_view discriminator, std::string_view scpMessage, int status,
                         std::string_view scpId, std::string_view transactionValue, std::string_view extraLine,
                         std::string_view userPart, bool useAlternative, std::string_view alternative);
    // The body lines of one decoded text, each indented by six blanks.
    void WriteBodyLines(std::string_view decodedText);
    // How many run lines have been made so far.
    size_t RunLineCount() const { return m_keepLines ? m_runLines.size() : m_countedLines; }

private:
    // "label: value" to the file with a newline and as a run line with the given prefix
    // and, when lineNewline is set, a newline.
    void WriteLabelled(std::string_view label, std::string_view value, std::string_view runPrefix,
                       bool runNewline);
    // Room for n characters in the current block; Commit then hands the first n of them
    // to the file and answers where they lie.
    char *Room(size_t n);
    std::string_view Commit(size_t n);
    // "label: value" and a newline, or text and a newline, to the file: the text put.
    std::string_view PutLabelled(std::string_view label, std::string_view value);
    std::string_view PutLine(std::string_view text);
    // Without kept run lines, a run line is only counted: true then, and the caller is done.
    bool OnlyCounted() {
        if (m_keepLines) return false;
        ++m_countedLines;
        return true;
    }
    // A run line of its own: text between display marks.
    void RunLineMarked(std::string_view prefix, std::string_view text, std::string_view suffix);
    // A run line of text, which lies in the current block.
    void RunLine(std::string_view text);
    // A run line of its own, not the file's text.
    void RunLineCopy(std::string_view text);
    // text into the block and the file.
    std::string_view Put(std::string_view text);
    // One body line: six blanks, line without its first "~", a newline.
    void PutBodyLine(std::string_view line);

    LineArray &m_runLines;
    OutputFile m_file;
    struct RingBlock {
        LargeBlock block;
        uint64_t end = 0;  // the file's size when the block was left: once written, it is free
    };
    std::vector<RingBlock> m_ring;
    std::vector<LargeBlock> m_oversized;  // pieces larger than a block, each in one of its own
    size_t m_current = 0;                 // in m_ring
    char *m_block = nullptr;              // the current block
    size_t m_used = 0;
    size_t m_capacity = 0;
    uint64_t m_blockStart = 0;  // where in the file the current block's text begins
    std::string m_path;
    std::shared_ptr<CResultLayout> m_layout;
    bool m_keepLines = true;
    size_t m_countedLines = 0;  // the run lines made while they are not kept
    std::string m_scratch;
};

}  // namespace vexa
