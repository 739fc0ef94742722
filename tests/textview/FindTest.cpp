// Finding in a text pane's rows: where a text is found, with and without case, as a whole
// word, and which place comes next.
#include "TextFind.h"

#include <QTest>

using namespace vexa;

class FindTest : public QObject {
    Q_OBJECT

    static std::vector<TextMatch> Find(std::string_view pattern, std::string_view text, FindOptions options = {}) {
        std::vector<TextMatch> found;
        TextFinder(pattern, options).FindInRow(text, 7, found);
        return found;
    }

private slots:
    void placesAreFoundLeftToRightWithoutOverlap() {
        const auto found = Find("aa", "aaaa xaa");
        QCOMPARE(found.size(), size_t(3));
        QCOMPARE(found[0], (TextMatch{7, 0, 2}));
        QCOMPARE(found[1], (TextMatch{7, 2, 2}));
        QCOMPARE(found[2], (TextMatch{7, 6, 2}));
        QVERIFY(Find("", "text").empty());
        QVERIFY(Find("longer than the text", "text").empty());
        QCOMPARE(Find("t", "t").size(), size_t(1));  // a text of the pattern's own length
    }

    void caseIsFoldedUnlessItMatters() {
        QCOMPARE(Find("setup", "SETUP Setup setup").size(), size_t(3));
        QCOMPARE(Find("setup", "SETUP Setup setup", {true, false}).size(), size_t(1));
        // Latin-1 capitals fold too: "É" (0xC9) and "é" (0xE9).
        QCOMPARE(Find("\xE9t\xE9", "\xC9T\xC9 \xE9t\xE9").size(), size_t(2));
        // The first letter's other case is found where it stands first.
        QCOMPARE(Find("Release", "RELEASE COMPLETE, release")[1].column, 18u);
    }

    void wholeWordsStandOnTheirOwn() {
        const FindOptions word{false, true};
        QCOMPARE(Find("DATA", "DLRDATALONG DATA 08 DATA_X", word).size(), size_t(1));
        QCOMPARE(Find("DATA", "DATA", word).size(), size_t(1));
        QCOMPARE(Find("01", "H'01 (CR)", word).size(), size_t(1));
        // A pattern ending in a sign is a word wherever the sign ends it.
        QCOMPARE(Find("H'", "H'01 H'08", word).size(), size_t(2));
    }

    void theNextPlaceWraps() {
        const std::vector<TextMatch> matches = {{1, 5, 2}, {3, 0, 2}, {3, 9, 2}};
        QCOMPARE(MatchAtOrAfter(matches, 0, 0), 0);
        QCOMPARE(MatchAtOrAfter(matches, 3, 1), 2);
        QCOMPARE(MatchAtOrAfter(matches, 3, 9), 2);
        QCOMPARE(MatchAtOrAfter(matches, 4, 0), 0);  // past the last: the first again
        QCOMPARE(MatchAtOrAfter({}, 0, 0), -1);
    }
};

QTEST_APPLESS_MAIN(FindTest)
#include "FindTest.moc"
