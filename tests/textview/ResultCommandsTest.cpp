// The Results commands as a user meets them: Save (its dialog, its refusals, the file it
// leaves, a disk that fills), Font, Print with its pagination, and Print Preview.
#include "CVexaEditView.h"
#include "CommandIds.h"
#include "QtPlatform.h"
#include "TextViewTestSupport.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

using namespace vexa;
using namespace vexa::test;
namespace fs = std::filesystem;

namespace {

struct Box {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the next message box and tells what it said.
void Expect(Box &box) {
    OnNextModal([&box](QWidget *widget) {
        if (auto *message = qobject_cast<QMessageBox *>(widget)) {
            box.shown = true;
            box.title = message->windowTitle();
            box.text = message->text();
            box.icon = message->icon();
        }
        widget->close();
    });
}

// A PDF printer writing to path.
void SetUpPdf(QPrinter &printer, const std::string &path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

int PdfPages(const std::string &path) {
    const QString pdf = QString::fromLatin1(QByteArray::fromStdString(ReadFile(path)));
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

class ResultCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { StopWatchingDialogs(); }
    void saveRules();
    void aSaveThatFailsIsSaidAndLeavesThePreviousFile();
    void saveDialogOffersTheTraceNameInTheLastFolder();
    void printedPagesHoldTheLinesPerPage();
    void nothingPrintedUntilTheTraceIsRecognised();
    void fontTooLargeForAPagePrintsOneLinePerPage();
    void fontCommandChangesScreenAndPrinterFont();
    void printPreviewRecordsTheView();
};

void ResultCommandsTest::saveRules() {
    TestHost host;
    TempFolder folder;
    TempFolder target;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc && doc->m_bOutputLoaded);
    CVexaEditView view(*doc, host.settings);
    const std::string trace = doc->m_strTracePath;
    const std::string traceText = ReadFile(trace);
    const std::string output = doc->m_strOutputPath;
    const std::string text = ReadFile(output);
    QVERIFY(text.find("Outgoing Message: SETUP") != std::string::npos);

    // Onto the trace itself: refused with message 3010, the trace untouched.
    Box box;
    Expect(box);
    QVERIFY(!view.SaveResultsTo(QString::fromStdString(trace)));
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Vexa"));
    QCOMPARE(box.text, QStringLiteral("Source file name and the saved output file name cannot be the same"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(ReadFile(trace), traceText);
    QCOMPARE(doc->m_strOutputPath, output);
    QVERIFY(!doc->m_bOutputKept);

    // A copy that fails: the platform's reason under "Error", nothing changed.
    box = Box();
    Expect(box);
    QVERIFY(!view.SaveResultsTo(QString::fromStdString(folder.File("no-such-folder/call.out"))));
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY(!box.text.isEmpty());
    QCOMPARE(doc->m_strOutputPath, output);
    QVERIFY(!doc->m_bOutputKept);
    QVERIFY(!host.profile.count("/Save Directory"));

    // A new file: the interpretation copied there and kept; the folder remembered.
    const std::string saved = target.File("call.out");
    QVERIFY(view.SaveResultsTo(QString::fromStdString(saved)));
    QCOMPARE(ReadFile(saved), text);
    QCOMPARE(doc->m_strOutputPath, saved);
    QVERIFY(doc->m_bOutputKept);
    QCOMPARE(host.profile["/Save Directory"], target.Path() + "/");
    QVERIFY(fs::exists(output));  // the earlier output stays where it is

    // Onto the output itself: nothing to copy, still kept, no message.
    box = Box();
    Expect(box);
    QVERIFY(view.SaveResultsTo(QString::fromStdString(saved)));
    QTest::qWait(30);
    QVERIFY(!box.shown);
    QCOMPARE(ReadFile(saved), text);
}

// A disk that fills during Save (a file size limit stands for it): the reason is shown,
// the file saved before stays as it was, and nothing half-written is left beside it.
void ResultCommandsTest::aSaveThatFailsIsSaidAndLeavesThePreviousFile() {
    TestHost host;
    TempFolder folder;
    TempFolder target;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc && doc->m_bOutputLoaded);
    CVexaEditView view(*doc, host.settings);
    const std::string saved = target.File("call.out");
    std::ofstream(saved) << "the interpretation saved last week\n";

    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const sighandler_t handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{100, previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    Box box;
    Expect(box);
    const bool done = view.SaveResultsTo(QString::fromStdString(saved));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);

    QVERIFY(!done);
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.text, QString::fromUtf8(std::strerror(EFBIG)));
    QCOMPARE(ReadFile(saved), std::string("the interpretation saved last week\n"));
    QCOMPARE(std::distance(fs::directory_iterator(target.Path()), fs::directory_iterator()), 1);
    QVERIFY(!doc->m_bOutputKept);
}

void ResultCommandsTest::saveDialogOffersTheTraceNameInTheLastFolder() {
    TestHost host;
    TempFolder folder;
    TempFolder saves;
    auto doc = InterpretSample(host, folder, "isdn-call.trc");
    QVERIFY(doc);
    CVexaEditView view(*doc, host.settings);
    host.profile["/Save Directory"] = saves.Path() + "/";

    // The last save folder, the trace's name with ".out"; a name typed without an
    // extension gets ".out".
    QString offeredFolder, offeredName;
    QStringList filters;
    OnNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        QVERIFY(dialog);
        offeredFolder = dialog->directory().absolutePath();
        offeredName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        filters = dialog->nameFilters();
        dialog->selectFile(QStringLiteral("mine"));
        static_cast<QDialog *>(dialog)->accept();
    });
    view.OnResultsCommand(ids::ID_RESULTS_SAVE);
    QCOMPARE(offeredFolder, QString::fromStdString(saves.Path()));
    QCOMPARE(offeredName, QStringLiteral("isdn-call.out"));
    QCOMPARE(filters.value(0), QStringLiteral("Out Files (*.out)"));
    QCOMPARE(filters.size(), 5);
    QCOMPARE(doc->m_strOutputPath, saves.File("mine.out"));
    QVERIFY(fs::exists(saves.File("mine.out")));

    // Without a save folder, the folder the trace was opened from; cancel saves nothing.
    host.profile.erase("/Save Directory");
    OnNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        QVERIFY(dialog);
        offeredFolder = dialog->directory().absolutePath();
        dialog->reject();
    });
    view.OnResultsCommand(ids::ID_RESULTS_SAVE);
    QCOMPARE(offeredFolder, QString::fromStdString(folder.Path()));
    QCOMPARE(doc->m_strOutputPath, saves.File("mine.out"));
}

void ResultCommandsTest::printedPagesHoldTheLinesPerPage() {
    TestHost host;
    TempFolder folder;
    auto doc = DocumentWithLines(host, {});
    CVexaEditView view(*doc, host.settings);

    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, folder.File("all.pdf"));
    const ResultPageLayout layout = view.BeginPrinting(printer);
    // A 12-point font: its height and leading come to a little more than 240 twips.
    QVERIFY2(layout.lineHeightTwips >= 240 && layout.lineHeightTwips <= 420,
             qPrintable(QString::number(layout.lineHeightTwips)));
    const int printable = qRound(printer.pageLayout().paintRect(QPageLayout::Inch).height() * 1440);
    QCOMPARE(layout.linesPerPage, (printable - 720) / layout.lineHeightTwips);

    // Two full pages and three lines; markers and separators take a printed line each.
    const int lines = 2 * layout.linesPerPage + 3;
    for (int i = 0; i < lines; ++i) {
        const char *kinds[] = {">>>>\n", "      body line", "\n\n", "<<<<\n\n"};
        doc->m_DisplayLines.Add(kinds[i % 4]);
    }
    QCOMPARE(view.BeginPrinting(printer).pageCount, 3);
    view.PrintResult(printer);
    QCOMPARE(PdfPages(folder.File("all.pdf")), 3);

    // The pages the user asked for.
    QPrinter range(QPrinter::HighResolution);
    SetUpPdf(range, folder.File("range.pdf"));
    range.setPrintRange(QPrinter::PageRange);
    range.setFromTo(2, 3);
    view.PrintResult(range);
    QCOMPARE(PdfPages(folder.File("range.pdf")), 2);
}

void ResultCommandsTest::nothingPrintedUntilTheTraceIsRecognised() {
    TestHost host;
    TempFolder folder;
    auto doc = DocumentWithLines(host, {"      a", "      b"});
    doc->m_bTraceRecognised = false;
    CVexaEditView view(*doc, host.settings);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, folder.File("none.pdf"));
    view.PrintResult(printer);
    QVERIFY(!fs::exists(folder.File("none.pdf")));
}

void ResultCommandsTest::fontTooLargeForAPagePrintsOneLinePerPage() {
    TestHost host;
    TempFolder folder;
    auto doc = DocumentWithLines(host, {"      a", "      b", "      c", "      d"});
    CVexaEditView view(*doc, host.settings);
    QFont huge = view.ScreenFont();
    huge.setPointSize(800);
    view.SetResultFont(huge);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdf(printer, folder.File("huge.pdf"));
    const ResultPageLayout layout = view.BeginPrinting(printer);
    QCOMPARE(layout.linesPerPage, 1);
    QCOMPARE(layout.pageCount, 4);
    view.PrintResult(printer);
    QCOMPARE(PdfPages(folder.File("huge.pdf")), 4);
}

void ResultCommandsTest::fontCommandChangesScreenAndPrinterFont() {
    TestHost host;
    auto doc = DocumentWithLines(host, {"      a"});
    CVexaEditView view(*doc, host.settings);
    const FontRecord setting = host.settings.m_lfResultView;
    const QFont chosen(QStringLiteral("DejaVu Sans"), 14);
    OnNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QFontDialog *>(widget);
        QVERIFY(dialog);
        dialog->setCurrentFont(chosen);
        static_cast<QDialog *>(dialog)->accept();
    });
    view.OnResultsCommand(ids::ID_RESULTS_FONT);

    QCOMPARE(view.ScreenFont().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(view.GetResultFont().FaceName(), std::string("DejaVu Sans"));
    QCOMPARE(view.PrinterFontRecord().lfHeight, -280);  // 14 points in twips
    QCOMPARE(view.PrinterFontRecord().lfWidth, 0);
    QCOMPARE(view.LineStep(), -13);  // the line step stays
    QVERIFY(host.settings.m_lfResultView == setting);  // the setting is not written
}

void ResultCommandsTest::printPreviewRecordsTheView() {
    TestHost host;
    auto doc = DocumentWithLines(host, {"      a"});
    CVexaEditView view(*doc, host.settings);
    bool previewed = false;
    OnNextModal([&](QWidget *widget) {
        previewed = qobject_cast<QPrintPreviewDialog *>(widget) != nullptr;
        widget->close();
    });
    view.OnResultsCommand(ids::ID_RESULTS_PRINT_PREVIEW);
    QVERIFY(previewed);
    QCOMPARE(doc->m_pPreviewView, static_cast<void *>(&view));
    QCOMPARE(doc->m_pResultPreviewView, static_cast<void *>(&view));
}

QTEST_MAIN(ResultCommandsTest)
#include "ResultCommandsTest.moc"
