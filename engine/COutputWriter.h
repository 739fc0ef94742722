// The writers of the interpretation output, as the run calls them. Each call is noted, with
// a copy of its texts (of a text that stays put, only its place), in a list that a thread
// of the writer's own works through: there the output is made, written to the file and
// kept as run lines (OutputFormatter), while the run goes on with the next trace line and
// the parser component on this processor. The run lines are the writer thread's until
// Close, which waits for it.
#pragma once

#include "LineArray.h"
#include "OutputFormatter.h"

#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vexa {

class COutputWriter {
public:
    COutputWriter(LineArray &runLines, bool writeAllRows)
        : m_writeAllRows(writeAllRows), m_formatter(runLines) {}
    ~COutputWriter() {
        try {
            Close();
        } catch (...) {
        }
    }
    COutputWriter(const COutputWriter &) = delete;
    COutputWriter &operator=(const COutputWriter &) = delete;

    // Opens (truncates) the output file; false when it cannot be written. With
    // keepLayout the writer also works out the rows of the result text (Layout); without
    // keepLines it makes the file alone, and no run lines (they are only counted).
    bool Open(const std::string &path, bool keepLayout = false, bool keepLines = true);
    // After Close: the rows of the run lines, or null (see OutputFormatter::Layout).
    std::shared_ptr<const CResultLayout> Layout() const { return m_formatter.Layout(); }
    // Waits for the writer, closes the file and points the run lines into it; false when
    // some of the output could not be written (the lines past what the file holds are
    // then empty). Memory that ran out while the output was made is thrown here.
    bool Close();
    // The end of a trace line: what has been noted goes to the writer once there is
    // enough of it.
    void Flush() {
        if (m_chunk.size >= kChunk) HandOver();
    }

    // The text unchanged to the file and as one run line.
    void WriteOut(std::string_view text) { Note(Op::Out, {text}); }
    // The same for a text that stays where it is until Close (a trace line the document
    // keeps, a constant): only where it lies is noted.
    void WriteOutStable(std::string_view text) {
        if (!m_open) return;
        const char *where = text.data();
        const uint64_t length = text.size();
        char *p = Extend(1 + sizeof where + sizeof length);
        *p++ = static_cast<char>(Op::OutStable);
        std::memcpy(p, &where, sizeof where);
        std::memcpy(p + sizeof where, &length, sizeof length);
    }
    void WriteMessageType(std::string_view text) { Note(Op::MessageType, {text}); }
    void WriteDirection(std::string_view direction, std::string_view messageName) {
        Note(Op::Direction, {direction, messageName});
    }
    void WriteProtocolDiscriminator(std::string_view value) { Note(Op::ProtocolDiscriminator, {value}); }
    void WriteIncomplete(std::string_view text) { Note(Op::Incomplete, {text}); }
    void WriteCallReferenceValue(std::string_view value) { Note(Op::CallReferenceValue, {value}); }
    void WriteCallReference(std::string_view value, bool flag) { Note(Op::CallReference, {value}, flag); }
    void WriteScpLines(std::string_view scpMessage, std::string_view scpId) {
        Note(Op::ScpLines, {scpMessage, scpId});
    }
    void WriteDectHeader(std::string_view discriminator, std::string_view scpMessage, int status,
                         std::string_view scpId, std::string_view transactionValue, std::string_view extraLine,
                         std::string_view userPart, bool useAlternative, std::string_view alternative) {
        Note(Op::DectHeader,
             {discriminator, scpMessage, scpId, transactionValue, extraLine, userPart, alternative}, status,
             useAlternative);
    }
    // The held data rows, written only with "Include all Rows" off and for message 1.
    void WriteDataRows(std::vector<std::string> &rows, int i);
    // The body lines of one decoded text, each indented by six blanks.
    void WriteBodyLines(std::string_view decodedText) { Note(Op::BodyLines, {decodedText}); }

    // The end of the lines of one completed signal: the writer notes how many run lines
    // there are then (BlockEnds, after Close), so that each signal's block is found among
    // its own lines even where sequence numbers repeat.
    void NoteBlockEnd() {
        if (m_open) *Extend(1) = static_cast<char>(Op::BlockEnd);
    }
    // After Close: the run-line counts noted by NoteBlockEnd, in order.
    std::vector<uint32_t> TakeBlockEnds() { return std::move(m_blockEnds); }

    // The markers and separators.
    void WriteStart() { WriteOutStable(" \n"); }
    void WriteOpeningMarker() { WriteOutStable(">>>>\n"); }
    void WriteClosingMarker() { WriteOutStable("<<<<\n\n"); }
    void WriteHeaderSeparator() { WriteOutStable("\n\n\n"); }
    void WriteMessageSeparator() { WriteOutStable("\n\n"); }

private:
    enum class Op : uint8_t {
        Out,
        OutStable,
        MessageType,
        Direction,
        ProtocolDiscriminator,
        Incomplete,
        CallReferenceValue,
        CallReference,
        ScpLines,
        DectHeader,
        BodyLines,
        BlockEnd
    };
    static constexpr size_t kChunk = 256 * 1024;  // noted calls handed over at once
    static constexpr size_t kChunksAhead = 32;    // the most the run may be ahead of the writer
    static constexpr size_t kCacheLine = 64;

    // A chunk of noted calls: characters whose room is kept from one use to the next.
    struct Chunk {
        std::unique_ptr<char[]> data;
        size_t size = 0;
        size_t capacity = 0;
    };

    // A call as noted: the operation, two numbers, the texts (each its length, then its
    // characters).
    void Note(Op op, std::initializer_list<std::string_view> texts, int32_t a = 0, int32_t b = 0);
    void HandOver();
    void WriterLoop();
    // Carries out the calls noted in chunk.
    void Replay(const Chunk &chunk);

    // Room for n more characters at the end of the chunk being noted.
    char *Extend(size_t n) {
        if (m_chunk.capacity - m_chunk.size < n) Grow(n);
        char *p = m_chunk.data.get() + m_chunk.size;
        m_chunk.size += n;
        return p;
    }
    void Grow(size_t n);

    // The run's side, used on every noted call, and the writer thread's side each on cache
    // lines of their own: a line both threads touch would pass from one processor to the
    // other on nearly every call, and that costs more than the work itself.
    bool m_writeAllRows;
    bool m_open = false;
    Chunk m_chunk;                                     // being noted
    alignas(kCacheLine) OutputFormatter m_formatter;  // the writer thread's while the file is open
    std::vector<uint32_t> m_blockEnds;                 // the writer thread's until Close

    alignas(kCacheLine) std::mutex m_lock;
    std::condition_variable m_wake;  // for the writer: a chunk to replay, or the end
    std::condition_variable m_room;  // for the run: a chunk replayed
    std::deque<Chunk> m_full;
    std::vector<Chunk> m_free;
    size_t m_inFlight = 0;
    bool m_closing = false;
    std::exception_ptr m_failure;  // the writer's until Close: why making the output stopped
    std::thread m_writer;
};

}  // namespace vexa
