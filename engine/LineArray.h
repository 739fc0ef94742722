// An array of text lines stored compactly: the characters of the lines live in large
// shared blocks, and an array that is made from another (display lines made from the run
// lines, say) refers to the same characters instead of copying them.
#pragma once

#include "LargeMemory.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class LineArray {
public:
    LineArray();

    size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    std::string_view operator[](size_t i) const { return m_lines[i]; }
    std::string_view back() const { return m_lines.back(); }

    // Appends a copy of text.
    void Add(std::string_view text);
    // Appends line i of other without copying its characters.
    void AddFrom(const LineArray &other, size_t i);
    // Appends every line of other without copying their characters.
    void AddAll(const LineArray &other);
    // Empties the array; lines that other arrays share stay valid there.
    void Clear();

    // Takes a block of characters into the array's storage; AddView may then append
    // lines that lie inside it, without copying them.
    char *AdoptBlock(LargeBlock block);
    void AddView(std::string_view text) { m_lines.push_back(text); }
    void Reserve(size_t lines) { m_lines.reserve(lines); }

    auto begin() const { return m_lines.begin(); }
    auto end() const { return m_lines.end(); }

private:
    // Append-only storage of characters; a block is never moved once handed out.
    class Store {
    public:
        const char *Keep(std::string_view text);
        char *Adopt(LargeBlock block);

    private:
        std::vector<LargeBlock> m_blocks;
        size_t m_used = 0;
        size_t m_capacity = 0;
    };

    void Share(const std::shared_ptr<Store> &store);

    std::shared_ptr<Store> m_store;
    std::vector<std::shared_ptr<Store>> m_shared;  // stores of other arrays whose lines this one holds
    std::vector<std::string_view, LargeAllocator<std::string_view>> m_lines;
};

}  // namespace vexa
