// Reading a trace in pieces the way the program always has.
#include "TestSupport.h"
#include "TraceReader.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa::test {
namespace {

std::vector<std::string> ReadAll(const std::string &content) {
    // A name of this process's own: the tests run side by side.
    const std::string path = TempPath("vexa-reader-test.trc");
    WriteFile(path, content);
    TraceReader reader;
    EXPECT_TRUE(reader.Open(path));
    std::vector<std::string> pieces;
    std::string_view line;
    while (reader.ReadLine(line)) pieces.emplace_back(line);
    std::filesystem::remove(path);
    return pieces;
}

TEST(TraceReader, LineEndsAndLongLines) {
    EXPECT_EQ(ReadAll("a\nb\r\nc"), (std::vector<std::string>{"a\n", "b\n", "c"}));
    EXPECT_EQ(ReadAll("x\ry\n\r"), (std::vector<std::string>{"x\ry\n", "\r"}));
    EXPECT_EQ(ReadAll(std::string(511, 'a') + "\n"), (std::vector<std::string>{std::string(511, 'a'), "\n"}));
    EXPECT_EQ(ReadAll(std::string(510, 'a') + "\r\n"), (std::vector<std::string>{std::string(510, 'a') + "\n"}));
    EXPECT_EQ(ReadAll(std::string(511, 'a') + "\r\n"), (std::vector<std::string>{std::string(511, 'a'), "\n"}));
    EXPECT_EQ(ReadAll(std::string(1100, 'b')),
              (std::vector<std::string>{std::string(511, 'b'), std::string(511, 'b'), std::string(78, 'b')}));
    EXPECT_TRUE(ReadAll("").empty());
}

TEST(TraceReader, APieceEndsAtANulByte) {
    EXPECT_EQ(ReadAll(std::string("ab\0cd\nef\n", 9)), (std::vector<std::string>{"ab", "ef\n"}));
}

TEST(TraceReader, AFiveMegabyteLineArrivesInPieces) {
    auto pieces = ReadAll(std::string(5 * 1024 * 1024, 'z') + "\nEND\n");
    ASSERT_EQ(pieces.size(), 5 * 1024 * 1024 / 511 + 1 + 1);
    EXPECT_EQ(pieces.back(), "END\n");
    EXPECT_EQ(pieces[pieces.size() - 2], std::string(5 * 1024 * 1024 % 511, 'z') + "\n");
}

TEST(TraceReader, ReturnsToARememberedPosition) {
    const std::string path = TempPath("vexa-reader-seek.trc");
    WriteFile(path, "one\ntwo\r\nthree\n");
    TraceReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::string_view line;
    reader.ReadLine(line);
    const int64_t mark = reader.Tell();
    reader.ReadLine(line);
    reader.ReadLine(line);
    EXPECT_EQ(line, "three\n");
    ASSERT_TRUE(reader.Seek(mark));
    reader.ReadLine(line);
    EXPECT_EQ(line, "two\n");
    std::filesystem::remove(path);
}

TEST(TraceReader, FoldersAndMissingFilesAreNotOpened) {
    TraceReader reader;
    EXPECT_FALSE(reader.Open("/tmp"));
    EXPECT_FALSE(reader.Open("/tmp/vexa-no-such-file"));
    EXPECT_FALSE(reader.Open(""));
    std::string_view line;
    EXPECT_FALSE(reader.ReadLine(line));
}

// A named pipe that nobody writes to is refused at once instead of holding the open
// (and with it the window) for good.
TEST(TraceReader, ANamedPipeIsRefusedWithoutWaiting) {
    const std::string path = TempPath("vexa-pipe.trc");
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    alarm(20);  // a hang ends the test run instead of stalling it
    LineArray lines;
    TraceStamp stamp;
    EXPECT_FALSE(LoadTraceLines(path, lines, stamp));
    TraceReader reader;
    EXPECT_FALSE(reader.Open(path));
    alarm(0);
    std::filesystem::remove(path);
}

// A large trace is read in two halves at once: every line comes back once, in order, the
// one that spans the middle of the file whole, as from a small trace.
TEST(TraceReader, ALargeTraceReadInTwoHalvesKeepsEveryLineInOrder) {
    const std::string path = TempPath("vexa-large-load.trc");
    std::string content;
    size_t count = 0;
    while (content.size() < (40u << 20)) {
        content += "line " + std::to_string(count) + (count % 3 == 0 ? "\r\n" : "\n");
        ++count;
    }
    WriteFile(path, content);
    LineArray lines;
    TraceStamp stamp;
    ASSERT_TRUE(LoadTraceLines(path, lines, stamp));
    EXPECT_EQ(stamp.size, static_cast<int64_t>(content.size()));
    ASSERT_EQ(lines.size(), count);
    for (size_t i = 0; i < count; i += 9973) ASSERT_EQ(lines[i], "line " + std::to_string(i) + "\n") << i;
    // The line at the middle of the file, and those around it.
    const size_t middle = static_cast<size_t>(std::count(content.begin(), content.begin() + content.size() / 2, '\n'));
    for (size_t i = middle - 2; i <= middle + 2; ++i) EXPECT_EQ(lines[i], "line " + std::to_string(i) + "\n") << i;
    EXPECT_EQ(lines[count - 1], "line " + std::to_string(count - 1) + "\n");
    std::filesystem::remove(path);
}

// A large trace is read where the system keeps the file. Should another program cut the
// file short while it is open (a log rotated by truncation, say), its lines stay readable:
// what is gone reads as zeros, and the program goes on.
TEST(TraceReader, ALargeTraceCutShortWhileOpenStaysReadable) {
    const std::string path = TempPath("vexa-cut-load.trc");
    std::string content;
    size_t count = 0;
    while (content.size() < (12u << 20)) content += "signal line " + std::to_string(count++) + "\n";
    WriteFile(path, content);
    LineArray lines;
    TraceStamp stamp;
    ASSERT_TRUE(LoadTraceLines(path, lines, stamp));
    ASSERT_EQ(lines.size(), count);
    ASSERT_EQ(truncate(path.c_str(), 0), 0);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        ASSERT_EQ(line.size(), ("signal line " + std::to_string(i) + "\n").size());
        if (line != "signal line " + std::to_string(i) + "\n") {
            EXPECT_EQ(line.find_first_not_of('\0'), std::string_view::npos) << i;
        }
    }
    EXPECT_FALSE(TraceStamp::Of(path) == stamp);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vexa::test
