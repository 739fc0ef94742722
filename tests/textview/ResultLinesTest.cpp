// How display lines become the shown text and which colour each line gets, on the records
// the interpretation writes. (The colours of a whole real interpretation are checked on
// screen in ResultViewTest.)
#include "ResultLines.h"

#include <QTest>

#include <string>
#include <vector>

using namespace vexa;

Q_DECLARE_METATYPE(vexa::LineMarker)

namespace {

// The colours of a run of lines, as a paint from the first line gives them.
std::vector<LineColour> Colours(const std::vector<std::string> &lines) {
    CResultColourState state;
    std::vector<LineColour> colours;
    std::string text;
    for (const std::string &line : lines) {
        const LineMarker marker = ToDisplayText(line, text);
        colours.push_back(state.Next(marker, text));
    }
    return colours;
}

const char *Name(LineColour c) {
    switch (c) {
    case LineColour::Black: return "black";
    case LineColour::Navy: return "navy";
    case LineColour::Red: return "red";
    case LineColour::Blue: return "blue";
    case LineColour::Magenta: return "magenta";
    case LineColour::Brown: return "brown";
    case LineColour::Incoming: return "incoming";
    case LineColour::Outgoing: return "outgoing";
    }
    return "?";
}

QStringList Names(const std::vector<LineColour> &colours) {
    QStringList names;
    for (LineColour c : colours) names << Name(c);
    return names;
}

}  // namespace

class ResultLinesTest : public QObject {
    Q_OBJECT

private slots:
    void shownText_data();
    void shownText();
    void colours_data();
    void colours();
};

void ResultLinesTest::shownText_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("shown");    // on screen, before the leading line-feed rule
    QTest::addColumn<QByteArray>("printed");  // on paper
    QTest::addColumn<LineMarker>("marker");

    QTest::newRow("trace line") << QByteArray("09.41.07.25 00042  SWHW DLRDATALONG\n")
                                << QByteArray("09.41.07.25 00042  SWHW DLRDATALONG")
                                << QByteArray("09.41.07.25 00042  SWHW DLRDATALONG") << LineMarker::None;
    QTest::newRow("SCP line") << QByteArray("/*SCP ID: 12\n*/") << QByteArray("SCP ID: 12")
                              << QByteArray("SCP ID: 12") << LineMarker::Comment;
    QTest::newRow("opening marker") << QByteArray(">>>>\n") << QByteArray() << QByteArray()
                                    << LineMarker::MessageStart;
    QTest::newRow("closing marker") << QByteArray("<<<<\n\n") << QByteArray() << QByteArray()
                                    << LineMarker::MessageEnd;
    QTest::newRow("percent mark") << QByteArray("      Cause%%% value") << QByteArray("      Cause value")
                                  << QByteArray("      Cause value") << LineMarker::None;
    QTest::newRow("percent before header") << QByteArray("@@@User Part: a%%%b") << QByteArray("@@@User Part: ab")
                                           << QByteArray("@@@User Part: ab") << LineMarker::None;
    QTest::newRow("DECT header") << QByteArray("@@@Transaction Value: 5\n") << QByteArray("Transaction Value: 5")
                                 << QByteArray("Transaction Value: 5") << LineMarker::Header;
    QTest::newRow("one alert mark") << QByteArray("      a!!!b") << QByteArray("      ab") << QByteArray("      ab")
                                    << LineMarker::Alert;
    QTest::newRow("two alert marks") << QByteArray("      a!!!b!!!c") << QByteArray("      ab")
                                     << QByteArray("      ab") << LineMarker::Alert;
    // Marks are found wherever they lie in a long line, across any eight characters.
    QTest::newRow("alert mark straddling") << QByteArray("      Protocol!!!discriminator")
                                           << QByteArray("      Protocoldiscriminator")
                                           << QByteArray("      Protocoldiscriminator") << LineMarker::Alert;
    QTest::newRow("percent after an alert") << QByteArray("      a!!!b and then the value%%%c")
                                            << QByteArray("      a!!!b and then the valuec")
                                            << QByteArray("      a!!!b and then the valuec") << LineMarker::None;
    QTest::newRow("marks too short") << QByteArray("      Cause 100%! see!! 5%%") << QByteArray("      Cause 100%! see!! 5%%")
                                     << QByteArray("      Cause 100%! see!! 5%%") << LineMarker::None;
    QTest::newRow("alert at the end") << QByteArray("      Length past the end of the message!!!")
                                      << QByteArray("      Length past the end of the message")
                                      << QByteArray("      Length past the end of the message") << LineMarker::Alert;
    // Separators take a row on screen but show nothing.
    QTest::newRow("header separator") << QByteArray("\n\n\n") << QByteArray("\n\n") << QByteArray()
                                      << LineMarker::None;
    QTest::newRow("message separator") << QByteArray("\n\n") << QByteArray("\n") << QByteArray()
                                       << LineMarker::None;
    QTest::newRow("start of output") << QByteArray(" \n") << QByteArray(" ") << QByteArray(" ") << LineMarker::None;
    QTest::newRow("bare comment mark") << QByteArray("/*") << QByteArray() << QByteArray() << LineMarker::Comment;
}

void ResultLinesTest::shownText() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArray, printed);
    QFETCH(LineMarker, marker);
    std::string text = "left over from a longer line";
    QCOMPARE(ToDisplayText(line.toStdString(), text), marker);
    QCOMPARE(QByteArray::fromStdString(text), shown);
    QCOMPARE(QByteArray::fromStdString(ToPrintedText(line.toStdString())), printed);
}

void ResultLinesTest::colours_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("colours");

    // The opening marker uses up one magenta count; the closing one draws black, resets
    // the count, and the next block starts over with magenta.
    QTest::newRow("message block")
        << QStringList({">>>>\n", "Outgoing Message: SETUP", "Call Reference: 01\n", "Protocol Discriminator: H'08",
                        "      Bearer capability", "<<<<\n\n", "                        LEN 39\n", ">>>>\n",
                        "Incoming Message: ALERTING"})
        << QStringList({"magenta", "magenta", "magenta", "brown", "brown", "black", "black", "magenta", "magenta"});
    QTest::newRow("SCP line starts a body")
        << QStringList({"/*SCP Message: CC-SETUP\n*/", "      first", "      second", "      third"})
        << QStringList({"navy", "magenta", "magenta", "brown"});
    QTest::newRow("plain lines after a DECT header stay blue")
        << QStringList({">>>>\n", "@@@Protocol Discriminator: CC", "@@@Transaction Value: 1\n", "      plain",
                        "<<<<\n\n"})
        << QStringList({"magenta", "blue", "blue", "blue", "black"});
    QTest::newRow("alert, then the body goes on")
        << QStringList({">>>>\n", "      x!!!WRONG LENGTH!!!hidden", "      after"})
        << QStringList({"magenta", "red", "magenta"});
    // Outside a block a trace line takes its direction's colour and the lines after it
    // keep it; an internal signal (SWSW, HWHW) draws black.
    QTest::newRow("trace lines")
        << QStringList({"09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n",
                        "                        EQU NO      001-0-02-01\n",
                        "09.41.07.31 00044  HWSW DLIDATALONG  DLB-0102   ISDNCP-01\n",
                        "09.41.07.26 00043  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n",
                        "09.41.07.27 00046  HWHW LINETEST     DLB-0102   DLB-0102\n",
                        "                        B-CHANNEL 1 RESERVED\n"})
        << QStringList({"outgoing", "outgoing", "incoming", "black", "black", "black"});
    // Inside a block the body rule wins over the direction; an internal signal ends the
    // block's colouring.
    QTest::newRow("directions inside a block")
        << QStringList({">>>>\n", "      09.41.07.31 00044  HWSW", "0123456789012345678HWSW inside",
                        "0123456789012345678SWSW inside", "      after the internal signal"})
        << QStringList({"magenta", "magenta", "magenta", "black", "black"});
    QTest::newRow("direction needs 22 characters") << QStringList({"0123456789012345678HW"})
                                                   << QStringList({"black"});
}

void ResultLinesTest::colours() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, colours);
    std::vector<std::string> text;
    for (const QString &line : lines) text.push_back(line.toStdString());
    QCOMPARE(Names(Colours(text)), colours);
}

QTEST_GUILESS_MAIN(ResultLinesTest)
#include "ResultLinesTest.moc"
