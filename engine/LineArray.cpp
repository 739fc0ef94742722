#include "LineArray.h"

#include <algorithm>
#include <cstring>

namespace vexa {

namespace {
constexpr size_t kBlockSize = 2u << 20;
}

const char *LineArray::Store::Keep(std::string_view text) {
    if (text.empty()) return "";
    if (text.size() > kBlockSize / 4) {
        // A long text gets a block of its own, so that the current block keeps its room.
        auto block = MakeLargeBlock(text.size());
        std::memcpy(block.get(), text.data(), text.size());
        return Adopt(std::move(block));
    }
    if (m_blocks.empty() || m_capacity - m_used < text.size()) {
        m_blocks.push_back(MakeLargeBlock(kBlockSize));
        m_used = 0;
        m_capacity = kBlockSize;
    }
    char *p = m_blocks.back().get() + m_used;
    std::memcpy(p, text.data(), text.size());
    m_used += text.size();
    return p;
}

char *LineArray::Store::Adopt(LargeBlock block) {
    char *p = block.get();
    // Before the current block, which keeps filling.
    m_blocks.insert(m_blocks.end() - (m_blocks.empty() ? 0 : 1), std::move(block));
    if (m_blocks.size() == 1) m_used = m_capacity = 0;
    return p;
}

char *LineArray::AdoptBlock(LargeBlock block) { return m_store->Adopt(std::move(block)); }

LineArray::LineArray() : m_store(std::make_shared<Store>()), m_lines(std::make_shared<Lines>()) {}

void LineArray::Add(std::string_view text) { AddView(std::string_view(m_store->Keep(text), text.size())); }

void LineArray::Hold(std::shared_ptr<const void> keep) { m_store->Hold(std::move(keep)); }

void LineArray::BindFile(const char *text, size_t size, std::shared_ptr<const void> keep) {
    if (keep) Hold(std::move(keep));
    if (!m_unbound) return;
    Lines &lines = Own();
    std::vector<uint64_t, LargeAllocator<uint64_t>> &words = lines.words;
    // The file's lines have their offsets where their addresses go.
    auto bound = [&](std::string_view line) {
        const uint64_t offset = reinterpret_cast<uintptr_t>(line.data());
        if (offset >= size) return std::string_view();
        return std::string_view(text + offset, std::min<uint64_t>(line.size(), size - offset));
    };
    auto bindOne = [&](size_t i) {
        const std::string_view line = bound(lines.Line(words[i]));
        if (Lines::IsLong(words[i])) {
            lines.longLines[words[i] & Lines::kAddressMask] = line;
            return;
        }
        words[i] = lines.Word(line.data(), line.size());
    };
    // Where the whole file lies below the address limit and every line of a stretch lies
    // wholly inside it (the file holds all the run wrote), binding is adding the file's
    // address to each offset: two plain passes over the millions of lines of a large run.
    const uint64_t base = reinterpret_cast<uintptr_t>(text);
    const bool fits = text && base + size <= Lines::kAddressMask;
    auto bindRange = [&](size_t from, size_t to) {
        uint64_t *first = words.data() + from;
        uint64_t *last = words.data() + to;
        bool inside = fits;
        for (uint64_t *w = first; inside && w != last; ++w) {
            const uint64_t length = *w >> Lines::kAddressBits;
            inside = length != Lines::kLongMark && (*w & Lines::kAddressMask) + length <= size;
        }
        if (inside) {
            for (uint64_t *w = first; w != last; ++w) *w += base;
            return;
        }
        for (size_t i = from; i < to; ++i) bindOne(i);
    };
    size_t from = 0;
    for (size_t own : m_notInFile) {  // lines of their own are already bound
        bindRange(from, own);
        from = own + 1;
    }
    bindRange(from, words.size());
    m_unbound = false;
    m_notInFile.clear();
    m_notInFile.shrink_to_fit();
}

void LineArray::Share(const std::shared_ptr<Store> &store) {
    if (store == m_store) return;
    if (std::find(m_shared.begin(), m_shared.end(), store) == m_shared.end()) m_shared.push_back(store);
}

void LineArray::ShareStoresOf(const LineArray &other) {
    Share(other.m_store);
    for (const auto &s : other.m_shared) Share(s);
}

void LineArray::AddRange(const LineArray &other, size_t first, size_t count) {
    ShareStoresOf(other);
    // Holds other's lines while this array's own list is made: other may be this array.
    const std::shared_ptr<Lines> keep = other.m_lines;
    const Lines &from = *keep;
    first = std::min(first, from.words.size());
    count = std::min(count, from.words.size() - first);
    Lines &lines = Own();
    const auto begin = from.words.begin() + static_cast<std::ptrdiff_t>(first);
    if (from.longLines.empty()) {
        lines.words.insert(lines.words.end(), begin, begin + static_cast<std::ptrdiff_t>(count));
        return;
    }
    for (auto w = begin; w != begin + static_cast<std::ptrdiff_t>(count); ++w) {
        if (!Lines::IsLong(*w)) {
            lines.words.push_back(*w);
            continue;
        }
        const std::string_view line = from.Line(*w);
        lines.Push(line.data(), line.size());
    }
}

void LineArray::AddAll(const LineArray &other) {
    if (!m_lines->words.empty()) return AddRange(other, 0, other.size());
    ShareStoresOf(other);
    m_lines = other.m_lines;  // the same lines: shared until either array changes
}

void LineArray::Clear() {
    m_lines = std::make_shared<Lines>();
    m_unbound = false;
    m_notInFile.clear();
    m_shared.clear();
    m_store = std::make_shared<Store>();
}

}  // namespace vexa
