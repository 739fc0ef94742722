#include "COutputWriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <utility>
#include <pthread.h>

namespace vexa {

bool COutputWriter::Open(const std::string &path, bool keepLayout, bool keepLines) {
    Close();
    if (!m_formatter.Open(path, keepLayout, keepLines)) return false;
    m_open = true;
    m_closing = false;
    m_inFlight = 0;
    m_failure = nullptr;
    m_chunk.size = 0;
    m_blockEnds.clear();
    try {
        m_writer = std::thread(&COutputWriter::WriterLoop, this);
    } catch (...) {
        // No thread to be had (memory ran out): the file is closed and the run told.
        m_open = false;
        m_formatter.Close();
        throw;
    }
    return true;
}

bool COutputWriter::Close() {
    if (!m_open) return true;
    // The writer is stopped and the file closed whatever fails on the way; a failure
    // for want of memory, here or in the writer, then reaches the caller.
    std::exception_ptr failure;
    try {
        HandOver();
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_closing = true;
    }
    m_wake.notify_one();
    if (m_writer.joinable()) m_writer.join();
    m_open = false;
    m_full.clear();
    m_free.clear();
    m_chunk = {};
    const bool closed = m_formatter.Close();
    if (!failure) failure = std::exchange(m_failure, nullptr);
    if (failure) std::rethrow_exception(failure);
    return closed;
}

void COutputWriter::Grow(size_t n) {
    const size_t capacity = std::max(kChunk + kChunk / 4, 2 * (m_chunk.size + n));
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_chunk.size) std::memcpy(bigger.get(), m_chunk.data.get(), m_chunk.size);
    m_chunk.data = std::move(bigger);
    m_chunk.capacity = capacity;
}

void COutputWriter::WriteDataRows(std::vector<std::string> &rows, int i) {
    if (m_writeAllRows || i != 1) return;
    for (const std::string &row : rows) WriteOut(row);
    rows.clear();
}

void COutputWriter::Note(Op op, std::initializer_list<std::string_view> texts, int32_t a, int32_t b) {
    if (!m_open) return;
    size_t size = 1 + 2 * sizeof(int32_t);
    for (std::string_view t : texts) size += sizeof(uint32_t) + t.size();
    char *p = Extend(size);
    *p++ = static_cast<char>(op);
    std::memcpy(p, &a, sizeof a);
    p += sizeof a;
    std::memcpy(p, &b, sizeof b);
    p += sizeof b;
    for (std::string_view t : texts) {
        const uint32_t n = static_cast<uint32_t>(t.size());
        std::memcpy(p, &n, sizeof n);
        p += sizeof n;
        if (n) std::memcpy(p, t.data(), n);
        p += n;
    }
}

void COutputWriter::HandOver() {
    if (!m_open || m_chunk.size == 0) return;
    std::unique_lock<std::mutex> guard(m_lock);
    // The run waits when it is far ahead of the writer: what is noted stays bounded.
    m_room.wait(guard, [this] { return m_inFlight < kChunksAhead; });
    m_full.push_back(std::move(m_chunk));
    ++m_inFlight;
    if (!m_free.empty()) {
        m_chunk = std::move(m_free.back());
        m_free.pop_back();
    } else {
        m_chunk = {};
    }
    guard.unlock();
    m_wake.notify_one();
}

void COutputWriter::WriterLoop() {
    pthread_setname_np(pthread_self(), "vexa-format");  // as tools that list threads show it
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [this] { return m_closing || !m_full.empty(); });
        if (m_full.empty()) return;
        Chunk chunk = std::move(m_full.front());
        m_full.pop_front();
        guard.unlock();
        // Memory running out while the output is made stops the output; the failure is
        // handed to the run at Close, not left to end the program from this thread.
        if (!m_failure) {
            try {
                Replay(chunk);
                m_formatter.Flush();
            } catch (...) {
                m_failure = std::current_exception();
            }
        }
        chunk.size = 0;
        guard.lock();
        m_free.push_back(std::move(chunk));
        --m_inFlight;
        m_room.notify_one();
    }
}

void COutputWriter::Replay(const Chunk &chunk) {
    const char *p = chunk.data.get();
    const char *end = p + chunk.size;
    std::array<std::string_view, 7> t;
    while (p < end) {
        const Op op = static_cast<Op>(*p++);
        if (op == Op::OutStable) {
            const char *where;
            uint64_t length;
            std::memcpy(&where, p, sizeof where);
            std::memcpy(&length, p + sizeof where, sizeof length);
            p += sizeof where + sizeof length;
            m_formatter.WriteOut(std::string_view(where, length));
            continue;
        }
        if (op == Op::BlockEnd) {
            m_blockEnds.push_back(static_cast<uint32_t>(m_formatter.RunLineCount()));
            continue;
        }
        int32_t a, b;
        std::memcpy(&a, p, sizeof a);
        p += sizeof a;
        std::memcpy(&b, p, sizeof b);
        p += sizeof b;
        auto texts = [&](size_t count) {
            for (size_t i = 0; i < count; ++i) {
                uint32_t n;
                std::memcpy(&n, p, sizeof n);
                p += sizeof n;
                t[i] = std::string_view(p, n);
                p += n;
            }
        };
        switch (op) {
        case Op::OutStable:
        case Op::BlockEnd: break;
        case Op::Out:
            texts(1);
            m_formatter.WriteOut(t[0]);
            break;
        case Op::MessageType:
            texts(1);
            m_formatter.WriteMessageType(t[0]);
            break;
        case Op::Direction:
            texts(2);
            m_formatter.WriteDirection(t[0], t[1]);
            break;
        case Op::ProtocolDiscriminator:
            texts(1);
            m_formatter.WriteProtocolDiscriminator(t[0]);
            break;
        case Op::Incomplete:
            texts(1);
            m_formatter.WriteIncomplete(t[0]);
            break;
        case Op::CallReferenceValue:
            texts(1);
            m_formatter.WriteCallReferenceValue(t[0]);
            break;
        case Op::CallReference:
            texts(1);
            m_formatter.WriteCallReference(t[0], a != 0);
            break;
        case Op::ScpLines:
            texts(2);
            m_formatter.WriteScpLines(t[0], t[1]);
            break;
        case Op::DectHeader:
            texts(7);
            m_formatter.WriteDectHeader(t[0], t[1], a, t[2], t[3], t[4], t[5], b != 0, t[6]);
            break;
        case Op::BodyLines:
            texts(1);
            m_formatter.WriteBodyLines(t[0]);
            break;
        }
    }
}

}  // namespace vexa
