// An array of text lines stored compactly: the characters of the lines live in large
// shared blocks, and an array that is made from another (display lines made from the run
// lines, say) refers to the same characters instead of copying them. An array made as a
// whole from another shares even the other's list of lines until one of them changes.
//
// A line takes one word of eight bytes: where its characters start in the low 48 bits
// (every address a program is given on the 64-bit systems the program runs on) and its
// length in the high 16 bits. A line of 65535 characters or more, or one whose address
// does not fit, is kept whole in a list of long lines, and its word holds the long-line
// mark and its place in that list. A run of millions of output lines so needs half the
// memory it would as a list of string views.
#pragma once

#include "LargeMemory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class LineArray {
public:
    LineArray();
    // A copy shares the other's characters and, until either changes, its list of lines.
    LineArray(const LineArray &) = default;
    LineArray &operator=(const LineArray &) = default;

    size_t size() const { return m_lines->words.size(); }
    bool empty() const { return m_lines->words.empty(); }
    std::string_view operator[](size_t i) const { return m_lines->Line(m_lines->words[i]); }
    std::string_view back() const { return m_lines->Line(m_lines->words.back()); }

    // Appends a copy of text.
    void Add(std::string_view text);
    // Appends lines first to first + count - 1 of other without copying their characters.
    void AddRange(const LineArray &other, size_t first, size_t count);
    // Appends every line of other without copying their characters.
    void AddAll(const LineArray &other);
    // Empties the array; lines that other arrays share stay valid there.
    void Clear();

    // Takes a block of characters into the array's storage; AddView may then append
    // lines that lie inside it, without copying them.
    char *AdoptBlock(LargeBlock block);
    void AddView(std::string_view text) {
        if (m_unbound) m_notInFile.push_back(size());
        Own().Push(text.data(), text.size());
    }
    // Keeps something the lines point into (a mapped file, say) for as long as they live.
    void Hold(std::shared_ptr<const void> keep);

    // Lines of a file still being written: AddFileLine keeps where in the file a line
    // lies; BindFile, once the file is whole, points them into its text (what lies past
    // its end is empty) and holds keep for them. Until then the lines must not be read.
    void AddFileLine(uint64_t offset, size_t length) {
        m_unbound = true;
        Own().Push(reinterpret_cast<const char *>(static_cast<uintptr_t>(offset)), length);
    }
    void BindFile(const char *text, size_t size, std::shared_ptr<const void> keep);
    // Room for this many lines; the room that is not used costs only address space.
    void Reserve(size_t lines) { Own().words.reserve(lines); }
    // The lines there is room for without growing.
    size_t Capacity() const { return m_lines->words.capacity(); }

    class const_iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator(const LineArray *array, size_t i) : m_array(array), m_i(i) {}
        std::string_view operator*() const { return (*m_array)[m_i]; }
        const_iterator &operator++() {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return m_i == other.m_i; }

    private:
        const LineArray *m_array;
        size_t m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    // Append-only storage of characters; a block is never moved once handed out.
    class Store {
    public:
        const char *Keep(std::string_view text);
        char *Adopt(LargeBlock block);
        void Hold(std::shared_ptr<const void> keep) { m_held.push_back(std::move(keep)); }

    private:
        std::vector<LargeBlock> m_blocks;
        std::vector<std::shared_ptr<const void>> m_held;
        size_t m_used = 0;
        size_t m_capacity = 0;
    };

    // The words of the lines, and the long lines they mark. On a cache line of its own:
    // the output's writer thread adds lines while the run, on the other processor, works
    // with its own things, which must not sit on the same line.
    struct alignas(64) Lines {
        static constexpr int kAddressBits = 48;
        static constexpr uint64_t kAddressMask = (uint64_t(1) << kAddressBits) - 1;
        static constexpr uint64_t kLongMark = 0xFFFF;  // in the length bits

        std::vector<uint64_t, LargeAllocator<uint64_t>> words;
        std::vector<std::string_view> longLines;

        static bool IsLong(uint64_t word) { return (word >> kAddressBits) == kLongMark; }
        std::string_view Line(uint64_t word) const {
            const uint64_t length = word >> kAddressBits;
            if (length == kLongMark) return longLines[word & kAddressMask];
            return {reinterpret_cast<const char *>(static_cast<uintptr_t>(word & kAddressMask)), length};
        }
        // The word of a line; one that does not fit a word joins the long lines.
        uint64_t Word(const char *text, size_t length) {
            const uint64_t address = reinterpret_cast<uintptr_t>(text);
            if (length < kLongMark && address <= kAddressMask) return address | uint64_t(length) << kAddressBits;
            longLines.emplace_back(text, length);
            return kLongMark << kAddressBits | (longLines.size() - 1);
        }
        void Push(const char *text, size_t length) { words.push_back(Word(text, length)); }
    };

    void Share(const std::shared_ptr<Store> &store);
    // Keeps the stores other's lines lie in for as long as this array lives.
    void ShareStoresOf(const LineArray &other);
    // The list of lines, made this array's own first when another array shares it.
    Lines &Own() {
        if (m_lines.use_count() > 1) m_lines = std::make_shared<Lines>(*m_lines);
        return *m_lines;
    }

    std::shared_ptr<Store> m_store;
    std::vector<std::shared_ptr<Store>> m_shared;  // stores of other arrays whose lines this one holds
    std::shared_ptr<Lines> m_lines;
    bool m_unbound = false;            // lines added by AddFileLine wait for BindFile
    std::vector<size_t> m_notInFile;  // meanwhile, the lines that are not the file's
};

}  // namespace vexa
