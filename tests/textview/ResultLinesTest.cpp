// How display lines become the shown text and which colour each line gets: the marker
// rules on written records, and the colours of a real interpretation of an ISDN call.
#include "ResultLines.h"
#include "TextViewTestSupport.h"

#include <QTest>

#include <string>
#include <vector>

using namespace vexa;
using namespace vexa::test;

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
    void blockBodyIsMagentaThenBrownUntilTheEnd();
    void commentIsNavyAndStartsABody();
    void headerLinesAreBlueAndPlainLinesAfterThemStayBlue();
    void alertIsRedAndCutAtTheSecondMark();
    void directionColumnColoursTraceLines();
    void realInterpretationOfACall();
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

void ResultLinesTest::blockBodyIsMagentaThenBrownUntilTheEnd() {
    // The opening marker uses up one magenta count; the closing one draws black and resets.
    const std::vector<std::string> block = {">>>>\n", "Outgoing Message: SETUP", "Call Reference: 01\n",
                                            "Protocol Discriminator: H'08", "      Bearer capability",
                                            "<<<<\n\n", "                        LEN 39\n"};
    QCOMPARE(Names(Colours(block)),
             QStringList({"magenta", "magenta", "magenta", "brown", "brown", "black", "black"}));

    // The next block starts over with magenta.
    std::vector<std::string> two = block;
    two.insert(two.end(), {">>>>\n", "Incoming Message: ALERTING"});
    QCOMPARE(Names(Colours(two)).mid(7), QStringList({"magenta", "magenta"}));
}

void ResultLinesTest::commentIsNavyAndStartsABody() {
    const std::vector<std::string> lines = {"/*SCP Message: CC-SETUP\n*/", "      first", "      second",
                                            "      third"};
    QCOMPARE(Names(Colours(lines)), QStringList({"navy", "magenta", "magenta", "brown"}));
    std::string text;
    ToDisplayText(lines[0], text);
    QCOMPARE(QString::fromStdString(text), QStringLiteral("SCP Message: CC-SETUP"));
}

void ResultLinesTest::headerLinesAreBlueAndPlainLinesAfterThemStayBlue() {
    const std::vector<std::string> lines = {">>>>\n", "@@@Protocol Discriminator: CC", "@@@Transaction Value: 1\n",
                                            "      plain", "      plain too", "<<<<\n\n"};
    QCOMPARE(Names(Colours(lines)), QStringList({"magenta", "blue", "blue", "blue", "blue", "black"}));
}

void ResultLinesTest::alertIsRedAndCutAtTheSecondMark() {
    const std::vector<std::string> lines = {">>>>\n", "      x!!!WRONG LENGTH!!!hidden", "      after"};
    QCOMPARE(Names(Colours(lines)), QStringList({"magenta", "red", "magenta"}));
    QCOMPARE(QString::fromStdString(ToPrintedText(lines[1])), QStringLiteral("      xWRONG LENGTH"));
}

void ResultLinesTest::directionColumnColoursTraceLines() {
    // Outside a block a trace line takes its direction's colour, and the lines that follow
    // keep it; an internal signal (SWSW, HWHW) draws black.
    const std::vector<std::string> outside = {
        "09.41.07.25 00042  SWHW DLRDATALONG  ISDNCP-01  DLB-0102\n",
        "                        EQU NO      001-0-02-01\n",
        "09.41.07.31 00044  HWSW DLIDATALONG  DLB-0102   ISDNCP-01\n",
        "09.41.07.26 00043  SWSW CALLSUP      ISDNCP-01  CALLCTL-01\n",
        "09.41.07.27 00046  HWHW LINETEST     DLB-0102   DLB-0102\n",
        "                        B-CHANNEL 1 RESERVED\n",
    };
    QCOMPARE(Names(Colours(outside)),
             QStringList({"outgoing", "outgoing", "incoming", "black", "black", "black"}));

    // Inside a block the body rule wins over the direction; an internal signal ends the
    // block's colouring, so the lines after it keep black.
    const std::vector<std::string> inside = {
        ">>>>\n",
        "      09.41.07.31 00044  HWSW",  // direction not at column 19: plain body line
        "0123456789012345678HWSW inside",
        "0123456789012345678SWSW inside",
        "      body after the internal signal",
    };
    QCOMPARE(Names(Colours(inside)), QStringList({"magenta", "magenta", "magenta", "black", "black"}));

    // A direction needs a line of at least 22 characters.
    QCOMPARE(Names(Colours({"0123456789012345678HW"})), QStringList({"black"}));
}

void ResultLinesTest::realInterpretationOfACall() {
    TestHost host;
    TempFolder folder;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc);
    QVERIFY(doc->m_bTraceRecognised);
    const LineArray &lines = doc->m_DisplayLines;
    QVERIFY(lines.size() > 50);

    std::vector<LineColour> colours;
    CResultColourState state;
    std::string text;
    for (std::string_view line : lines) {
        const LineMarker marker = ToDisplayText(line, text);
        colours.push_back(state.Next(marker, text));
    }
    auto colourOf = [&](const std::string &what, size_t from = 0) {
        const size_t i = FirstLineWith(lines, what, from);
        return i < lines.size() ? QString(Name(colours[i])) : QStringLiteral("missing: ") + QString::fromStdString(what);
    };

    // The SETUP signal: its trace lines in the outgoing colour, its block magenta at the
    // top and brown below.
    QCOMPARE(colourOf("00042  SWHW"), QStringLiteral("outgoing"));
    QCOMPARE(colourOf("EQU NO"), QStringLiteral("outgoing"));
    QCOMPARE(colourOf("Outgoing Message: SETUP"), QStringLiteral("magenta"));
    const size_t setup = FirstLineWith(lines, "Outgoing Message: SETUP");
    QCOMPARE(colourOf("Call Reference", setup), QStringLiteral("magenta"));
    QCOMPARE(colourOf("Protocol Discriminator", setup), QStringLiteral("brown"));
    QCOMPARE(colourOf("Sending complete", setup), QStringLiteral("brown"));
    QCOMPARE(colourOf("Number digits", setup), QStringLiteral("brown"));
    // After the block: the closing marker's black, an internal signal black, an
    // incoming signal in the incoming colour and its block magenta again.
    QCOMPARE(colourOf("LEN 39"), QStringLiteral("black"));
    QCOMPARE(colourOf("00043  SWSW"), QStringLiteral("black"));
    QCOMPARE(colourOf("B-CHANNEL 1 RESERVED"), QStringLiteral("black"));
    QCOMPARE(colourOf("00044  HWSW"), QStringLiteral("incoming"));
    QCOMPARE(colourOf("Incoming Message: ALERTING"), QStringLiteral("magenta"));
}

QTEST_GUILESS_MAIN(ResultLinesTest)
#include "ResultLinesTest.moc"
