// The result text view's commands: Save, Font, Print and Print Preview.
#include "CVexaEditView.h"

#include "CVexaClientDoc.h"
#include "CommandIds.h"
#include "QtPlatform.h"
#include "SettingsStore.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace vexa;

namespace {

const QStringList &SaveFilters() {
    static const QStringList filters = {
        QStringLiteral("Out Files (*.out)"),  QStringLiteral("Log Files (*.log)"),
        QStringLiteral("Text Files (*.txt)"), QStringLiteral("Trace File (*.trc)"),
        QStringLiteral("All Files (*.*)"),
    };
    return filters;
}

}  // namespace

void CVexaEditView::OnResultsCommand(int id) {
    switch (id) {
    case ids::ID_RESULTS_SAVE:
        SaveResults();
        break;
    case ids::ID_RESULTS_PRINT_PREVIEW:
        FilePrintPreview();
        break;
    case ids::ID_RESULTS_PRINT:
        FilePrint();
        break;
    case ids::ID_RESULTS_FONT:
        ChangeFont();
        break;
    default:
        break;  // the rest of the Results range does nothing
    }
}

// ---- Save -------------------------------------------------------------------------------

void CVexaEditView::SaveResults() {
    IDocumentHost &host = m_doc.Host();
    std::string folder = host.ReadProfileString("", kKeySaveDirectory, "");
    if (folder.empty()) folder = host.ReadProfileString("", kKeyOpenDirectory, "");

    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(SaveFilters());
    dialog.setDefaultSuffix(QStringLiteral("out"));
    if (!folder.empty()) dialog.setDirectory(QString::fromStdString(folder));
    dialog.selectFile(QString::fromStdString(m_doc.DefaultSaveName()));
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return;
    SaveResultsTo(chosen.first());
}

bool CVexaEditView::SaveResultsTo(const QString &path) {
    std::string error;
    switch (m_doc.SaveOutputAs(path.toStdString(), error)) {
    case CVexaClientDoc::SaveResult::Saved:
        return true;
    case CVexaClientDoc::SaveResult::SameAsTrace:
        ShowStopMessage(this, Text(IDS_SAME_FILE_NAME));
        return false;
    case CVexaClientDoc::SaveResult::CopyFailed:
        QMessageBox::information(this, QStringLiteral("Error"), QString::fromStdString(error));
        return false;
    }
    return false;
}

// ---- Font -------------------------------------------------------------------------------

void CVexaEditView::ChangeFont() {
    // The result text is drawn without effects: its dialog offers none.
    QFont font = m_screenFont;
    if (ChooseFont(font, this, tr("Font"), false) && font != m_screenFont) SetResultFont(font);
}

void CVexaEditView::SetResultFont(const QFont &font) {
    m_screenFont = font;
    m_screenFontRecord = RecordFromFont(font);
    viewport()->setFont(font);
    viewport()->update();

    // The printer font at the chosen point size, in twips. The line step stays.
    double points = font.pointSizeF();
    if (points <= 0) points = font.pixelSize() * 72.0 / std::max(1, logicalDpiY());
    m_printerFont = m_screenFontRecord;
    m_printerFont.lfHeight = -static_cast<int32_t>(std::lround(points * 20.0));
    m_printerFont.lfWidth = 0;
}

// ---- Printing ---------------------------------------------------------------------------

ResultPageLayout CVexaEditView::BeginPrinting(QPrinter &printer) const {
    const int dpiY = std::max(1, printer.logicalDpiY());
    const QFont font = PrinterFont(m_printerFont, std::abs(m_printerFont.lfHeight), dpiY);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = DeviceToTwips(metrics.height() + std::max(0, metrics.leading()), dpiY);
    const int printableHeight = DeviceToTwips(std::lround(printer.pageRect(QPrinter::DevicePixel).height()), dpiY);
    return PaginateResult(m_doc.m_DisplayLines.size(), printableHeight, lineHeight);
}

void CVexaEditView::PrintPage(QPainter &painter, QPrinter &printer, const ResultPageLayout &layout, int page) const {
    const LineArray &lines = m_doc.m_DisplayLines;
    const int dpiX = std::max(1, printer.logicalDpiX());
    const int dpiY = std::max(1, printer.logicalDpiY());
    const QFont font = PrinterFont(m_printerFont, std::abs(m_printerFont.lfHeight), dpiY);
    const QFontMetrics metrics(font, &printer);
    painter.setFont(font);
    painter.setPen(Qt::black);  // no colours on paper

    const int x = TwipsToDevice(kPrintLeftTwips, dpiX);
    size_t index = static_cast<size_t>(page - 1) * static_cast<size_t>(layout.linesPerPage);
    // Every display line takes a printed line, the markers and empty ones included.
    for (int drawn = 0; index < lines.size() && drawn < layout.linesPerPage; ++index, ++drawn) {
        const std::string text = ToPrintedText(lines[index]);
        if (text.empty()) continue;
        const long long top = kPrintTopTwips + static_cast<long long>(drawn) * layout.lineHeightTwips;
        painter.drawText(QPoint(x, TwipsToDevice(top, dpiY) + metrics.ascent()), LineText(text));
    }
}

void CVexaEditView::PrintResult(QPrinter &printer) {
    // Nothing reaches the paper until an interpretation has recognised the trace.
    if (!m_doc.m_bTraceRecognised) return;
    const ResultPageLayout layout = BeginPrinting(printer);
    if (layout.pageCount <= 0) return;

    int first = 1;
    int last = layout.pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        if (printer.toPage() > 0) last = std::min(last, printer.toPage());
    }
    if (first > last) return;

    QPainter painter;
    if (!painter.begin(&printer)) return;
    for (int page = first; page <= last; ++page) {
        if (page != first) printer.newPage();
        PrintPage(painter, printer, layout, page);
    }
    painter.end();
}

void CVexaEditView::FilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(1, BeginPrinting(printer).pageCount));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintResult(printer);
}

void CVexaEditView::FilePrintPreview() {
    m_doc.m_pPreviewView = static_cast<void *>(this);
    m_doc.m_pResultPreviewView = static_cast<void *>(this);
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) { PrintResult(*target); });
    preview.exec();
}
