// A file mapped whole into memory for reading, for as long as the object lives: the
// system's own copy of the file is read in place, so that a large output file needs no
// memory of the program's own. Should another program cut the file short while
// it is mapped, the pages past its new end read as zeros instead of ending the program.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace vexa {

class MappedFile {
public:
    // Maps size characters of the open file fd, for reading (the mapping keeps its own
    // hold on the file; fd may be closed afterwards). Null when the file cannot be mapped.
    // With readAtOnce every page is taken in now, in one call, instead of one page at a
    // time as it is first read.
    static std::shared_ptr<MappedFile> Map(int fd, size_t size, bool readAtOnce = false);

    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    char *data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    MappedFile(char *data, size_t size, size_t length, int slot)
        : m_data(data), m_size(size), m_length(length), m_slot(slot) {}

    char *m_data;
    size_t m_size;
    size_t m_length;  // of the mapping, whole pages
    int m_slot;       // in the table the bus error handler reads; -1 when not in it
};

}  // namespace vexa
