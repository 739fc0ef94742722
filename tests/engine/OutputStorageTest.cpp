// The storage a run writes to: the output file, handed to the system by a writer of its
// own, and the run lines, which the display lines share.
#include "COutputWriter.h"
#include "LineArray.h"
#include "MappedFile.h"
#include "OutputFile.h"
#include "ResultLayout.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace vexa::test {
namespace {

TEST(OutputFile, HoldsEveryPieceInOrderWhateverMemoryItCameFrom) {
    const std::string path = TempPath("vexa-output-order");
    // Pieces from several places (some contiguous, some not), many times the hand-over size.
    std::string a(300000, 'a'), b = "line of b\n", c(1000, 'c');
    std::string expected;
    {
        OutputFile file;
        ASSERT_TRUE(file.Open(path));
        for (int round = 0; round < 20; ++round) {
            file.Write(std::string_view(a).substr(0, 1000 + round));
            file.Write(std::string_view(a).substr(1000 + round, 5000));  // follows the piece before
            file.Write(b);
            file.Write(std::string_view(c).substr(round, 10));
            file.Flush();
            expected += a.substr(0, 6000 + round) + b + c.substr(round, 10);
        }
        file.Write(a);
        expected += a;
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(ReadFile(path), expected);
    std::remove(path.c_str());
}

TEST(OutputFile, TruncatesWhatWasThereAndReportsAFullDisk) {
    const std::string path = TempPath("vexa-output-truncate");
    WriteFile(path, std::string(100000, 'x'));
    OutputFile file;
    ASSERT_TRUE(file.Open(path));
    file.Write("short\n");
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadFile(path), "short\n");
    std::remove(path.c_str());

    if (access("/dev/full", W_OK) == 0) {
        std::string text(1 << 20, 'z');
        ASSERT_TRUE(file.Open("/dev/full"));
        file.Write(text);
        file.Flush();
        EXPECT_FALSE(file.Close());
    }
}

TEST(OutputWriter, FileAndRunLinesAgreeLineForLine) {
    const std::string path = TempPath("vexa-writer");
    LineArray run;
    {
        COutputWriter out(run, true);
        ASSERT_TRUE(out.Open(path));
        out.WriteStart();
        out.WriteOut("09.00.00.02 00001  SWHW DLRDATA\n");
        out.WriteOpeningMarker();
        out.WriteDirection("SWHW", "SETUP");
        out.WriteCallReference("02", false);
        out.WriteHeaderSeparator();
        // Two parts; a "~" is taken out of a line once.
        out.WriteBodyLines("Bearer capability (H'04)\nLength: 3||Cause (H'08)\n~Location: user~\n");
        out.WriteMessageSeparator();
        out.WriteClosingMarker();
        out.Close();
    }
    EXPECT_EQ(ReadFile(path),
              " \n09.00.00.02 00001  SWHW DLRDATA\n>>>>\nOutgoing Message: SETUP\n"
              "Call Reference: 02 (CR Flag Not Set)\n\n\n\n"
              "      Bearer capability (H'04)\n      Length: 3\n      Cause (H'08)\n      Location: user~\n"
              "\n\n<<<<\n\n");
    const std::vector<std::string> expected = {" \n",
                                               "09.00.00.02 00001  SWHW DLRDATA\n",
                                               ">>>>\n",
                                               "Outgoing Message: SETUP",
                                               "Call Reference: 02 (CR Flag Not Set)\n",
                                               "\n\n\n",
                                               "      Bearer capability (H'04)",
                                               "      Length: 3",
                                               "      Cause (H'08)",
                                               "      Location: user~",
                                               "\n\n",
                                               "<<<<\n\n"};
    EXPECT_EQ(Lines(run), expected);
    std::remove(path.c_str());
}

TEST(OutputWriter, ALongRunSpansManyBlocksAndKeepsEveryLine) {
    const std::string path = TempPath("vexa-writer-long");
    LineArray run;
    std::string expected;
    const std::string body(200, 'b');
    {
        COutputWriter out(run, true);
        ASSERT_TRUE(out.Open(path));
        for (int i = 0; i < 60000; ++i) {
            const std::string line = "line " + std::to_string(i) + "\n";
            out.WriteOut(line);
            out.WriteBodyLines(body);
            out.Flush();
            expected += line + "      " + body + "\n";
        }
        out.Close();
    }
    EXPECT_EQ(ReadFile(path), expected);
    ASSERT_EQ(run.size(), 120000u);
    EXPECT_EQ(run[0], "line 0\n");
    EXPECT_EQ(run[119998], "line 59999\n");
    EXPECT_EQ(run[119999], "      " + body);
    std::remove(path.c_str());
}

TEST(OutputWriter, TheRowsOfALongRunKeepLittleMemoryAndAreFoundInAnyOrder) {
    // The rows are worked out as the run writes its lines; what is kept of them is a
    // small fraction of a byte a row, and a row asked for in any order (a jump to the end,
    // a step back, a paint from the top) is the same line in the same colour as a walk
    // over the lines from the first gives.
    const std::string path = TempPath("vexa-writer-rows");
    LineArray run;
    std::shared_ptr<const CResultLayout> layout;
    {
        COutputWriter out(run, true);
        ASSERT_TRUE(out.Open(path, true));
        for (int i = 0; i < 50000; ++i) {
            out.WriteOpeningMarker();  // takes no row
            out.WriteOut("line " + std::to_string(i) + "\n");
            if (i % 7 == 0) out.WriteOut("!!! alert " + std::to_string(i) + " !!!\n");
            out.WriteClosingMarker();
            out.Flush();
        }
        ASSERT_TRUE(out.Close());
        layout = out.Layout();
    }
    ASSERT_TRUE(layout);
    CResultLayout walked;
    walked.Build(run);
    ASSERT_EQ(layout->RowCount(), walked.RowCount());
    ASSERT_GT(layout->RowCount(), 50000u);
    EXPECT_LT(layout->KeptBytes(), layout->RowCount() / 2);
    EXPECT_EQ(run[layout->RowLine(run, 0)], "line 0\n");
    const size_t last = layout->RowCount() - 1;
    // Every row in order, then rows far apart and backwards: the first layout answers
    // in one order, the walked one in the other.
    std::vector<size_t> rows;
    for (size_t row = 0; row <= last; row += 1) rows.push_back(row);
    for (size_t row = last; row > 0; row -= std::min<size_t>(row, 997)) rows.push_back(row);
    for (size_t row : {size_t(0), last, size_t(63), size_t(64), size_t(65), size_t(128), last - 1, size_t(1)}) rows.push_back(row);
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t row = rows[i];
        const size_t mirrored = rows[rows.size() - 1 - i];
        ASSERT_EQ(layout->RowLine(run, row), walked.RowLine(run, row)) << "row " << row;
        ASSERT_EQ(layout->RowColour(run, row), walked.RowColour(run, row)) << "row " << row;
        ASSERT_EQ(walked.RowLine(run, mirrored), layout->RowLine(run, mirrored)) << "row " << mirrored;
    }
    // The alert lines are red, the others keep the block's colour.
    EXPECT_EQ(layout->RowColour(run, 1), LineColour::Red);
    std::remove(path.c_str());
}

TEST(LineArray, DisplayLinesTakenAsAWholeStayTheirOwnWhenEitherChanges) {
    LineArray run;
    for (int i = 0; i < 5; ++i) run.Add("run " + std::to_string(i));
    LineArray display;
    display.AddAll(run);
    ASSERT_EQ(Lines(display), Lines(run));

    run.Add("run 5");  // the run goes on: the display keeps what it was given
    EXPECT_EQ(display.size(), 5u);
    display.Add("shown");
    EXPECT_EQ(run.size(), 6u);
    EXPECT_EQ(run[5], "run 5");
    EXPECT_EQ(display[5], "shown");

    // Cleared run lines leave the display's characters valid.
    LineArray again;
    again.AddAll(display);
    run.Clear();
    display.Clear();
    EXPECT_EQ(again[0], "run 0");
    EXPECT_EQ(again[5], "shown");
}

// Lines of 64 K characters and more are kept apart from the short ones; a decoded
// element of thousands of octets, or a trace line without a line end, makes them.
TEST(LineArray, VeryLongLinesKeepTheirTextInTheFileInCopiesAndInFilteredRanges) {
    const std::string path = TempPath("vexa-writer-very-long");
    const std::string huge(70000, 'h');
    const std::string longest(200000, 'l');
    LineArray run;
    {
        COutputWriter out(run, true);
        ASSERT_TRUE(out.Open(path));
        out.WriteOut("short\n");
        out.WriteOut(huge + "\n");
        out.WriteBodyLines(longest);
        out.WriteOut(std::string(65535, 'e') + "\n");  // exactly at the bound
        out.WriteOut("after\n");
        out.Close();
    }
    run.Add(huge);  // a copy kept in the array's own store
    const std::vector<std::string> expected = {"short\n", huge + "\n", "      " + longest,
                                               std::string(65535, 'e') + "\n", "after\n", huge};
    EXPECT_EQ(Lines(run), expected);
    EXPECT_EQ(ReadFile(path), "short\n" + huge + "\n      " + longest + "\n" + std::string(65535, 'e') + "\nafter\n");

    // A filtered display takes ranges of the run lines, the long ones among them.
    LineArray display;
    display.AddRange(run, 1, 2);
    display.AddRange(run, 4, 5);  // past the end: only what there is
    display.AddRange(display, 0, 1);
    const std::vector<std::string> shown = {huge + "\n", "      " + longest, "after\n", huge, huge + "\n"};
    EXPECT_EQ(Lines(display), shown);
    std::vector<std::string> walked;
    for (std::string_view line : display) walked.emplace_back(line);
    EXPECT_EQ(walked, shown);

    run.Clear();  // the display keeps the characters it shows
    EXPECT_EQ(display[1], "      " + longest);
    std::remove(path.c_str());
}

// When the disk fills, the file holds less than the run put in it: the lines it holds
// read as written, one it cuts keeps what there is, the ones past its end are empty, and
// the lines kept apart from the file are untouched.
TEST(LineArray, LinesOfAFileThatEndedShortShowWhatItHolds) {
    const std::string text = "first\nsecond\nthi";  // "third\n" and "fourth\n" were not written
    LineArray run;
    run.AddFileLine(0, 6);
    run.Add("own line");
    run.AddFileLine(6, 7);
    run.AddFileLine(13, 6);
    run.Add("another own line");
    run.AddFileLine(19, 7);
    run.AddFileLine(26, 0);
    run.BindFile(text.data(), text.size(), nullptr);
    const std::vector<std::string> expected = {"first\n", "own line", "second\n", "thi", "another own line", "", ""};
    EXPECT_EQ(Lines(run), expected);
}

TEST(MappedFile, AFileCutShortByAnotherProgramReadsAsZerosPastItsNewEnd) {
    const std::string path = TempPath("vexa-mapped");
    WriteFile(path, std::string(3 * 4096, 'm'));
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    auto mapping = MappedFile::Map(fd, 3 * 4096);
    close(fd);
    ASSERT_TRUE(mapping);
    EXPECT_EQ(mapping->data()[0], 'm');
    ASSERT_EQ(truncate(path.c_str(), 100), 0);
    volatile const char *text = mapping->data();
    EXPECT_EQ(text[50], 'm');
    EXPECT_EQ(text[2 * 4096 + 7], '\0');  // a page past the end: no bus error
    EXPECT_EQ(text[4096], '\0');
    std::remove(path.c_str());
}

}  // namespace
}  // namespace vexa::test
