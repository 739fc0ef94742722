#include "CVexaListView.h"

#include "CVexaClientDoc.h"
#include "QtPlatform.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <charconv>
#include <cmath>

namespace vexa {

namespace {

// Half an inch of each printed page stays blank; the first row starts a quarter inch down.
constexpr int kPageReserveTwips = 720;
constexpr int kFirstRowTwips = 360;

int TwipsToDevice(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
int DeviceToTwips(double pixels, int dpi) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi)); }

// Where each column is printed, in average character widths from the left; the originator
// comes before the time.
struct PrintPlace {
    int column;
    int x;
};
constexpr PrintPlace kPrintPlaces[kColumnCount] = {{0, 0}, {1, 7}, {2, 19}, {4, 48}, {3, 72}, {5, 87}};

// The widest text of a column in a font: the longest texts are measured, since a text of
// many fewer characters is not wider.
int WidestText(const CListCtrlEx &list, int column, const QFontMetrics &metrics) {
    const int rows = list.GetItemCount();
    size_t longest = 0;
    for (int row = 0; row < rows; ++row) longest = std::max(longest, list.GetItemTextUtf8(row, column).size());
    int widest = 0;
    int measured = 0;
    for (int row = 0; row < rows && measured < 256; ++row) {
        if (list.GetItemTextUtf8(row, column).size() + 4 < longest) continue;
        widest = std::max(widest, metrics.horizontalAdvance(list.GetItemText(row, column)));
        ++measured;
    }
    return widest;
}

QFont ListPrintFont(const CListCtrlEx &list, int dpi) {
    const FontRecord &record = list.PrintFontRecord();
    return PrinterFont(record, std::abs(record.lfHeight), dpi);
}

}  // namespace

CVexaListView::CVexaListView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_wndList(settings, this) {
    m_doc.m_pListView = this;
    m_wndList.setObjectName(QStringLiteral("messageList"));
    m_wndList.Initialize(this, &m_doc);
    const QString headings[kColumnCount] = {Text(IDS_COL_SIG_SEQ_NO), Text(IDS_COL_MSG_DIRECTION), Text(IDS_COL_MESSAGE),
                                            Text(IDS_COL_TIME),       QStringLiteral("Msg From"),   QStringLiteral("Msg To")};
    for (int column = 0; column < kColumnCount; ++column)
        m_wndList.InsertColumn(column, headings[column], settings.m_nColumnWidth[static_cast<size_t>(column)]);
    // At its default width the time column holds a whole time stamp in the list's font.
    constexpr int kTime = 3;
    if (settings.m_nColumnWidth[kTime] == kDefaultColumnWidths[kTime]) {
        const QFontMetrics metrics(m_wndList.ListFont());
        const int margins = 6 * metrics.horizontalAdvance(QLatin1Char(' ')) + 4;
        const int needed = metrics.horizontalAdvance(QStringLiteral("00.00.00.000")) + margins;
        if (needed > kDefaultColumnWidths[kTime]) m_wndList.SetColumnWidth(kTime, needed);
    }
    m_nRed = settings.m_nRed;
    m_nGreen = settings.m_nGreen;
    m_nBlue = settings.m_nBlue;
    setFocusProxy(&m_wndList);
}

CVexaListView::~CVexaListView() {
    if (m_doc.m_pListView == this) m_doc.m_pListView = nullptr;
    if (m_doc.m_pPreviewView == this) m_doc.m_pPreviewView = nullptr;
}

// Rows -------------------------------------------------------------------------------

bool CVexaListView::AddRow(int row, int16_t sequence, const std::string &direction, const std::string &,
                           const std::string &message, const std::string &time, const std::string &from,
                           const std::string &to, bool valid) {
    char number[8];
    const auto written = std::to_chars(number, number + sizeof number, static_cast<int>(sequence));
    const CListModel::RowTexts texts = {
        std::string_view(number, static_cast<size_t>(written.ptr - number)),
        ListDirectionText(direction),
        message, time, from, to,
    };
    m_wndList.InsertItem(row, texts);
    if (valid)
        m_wndList.AddRowColour(m_nRed, m_nGreen, m_nBlue);
    else
        m_wndList.AddRowColour(255, 0, 0);
    return true;
}

bool CVexaListView::ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                               const std::string &message, const std::string &time, const std::string &from,
                               const std::string &to, bool valid) {
    m_wndList.DeleteItem(row);
    m_wndList.RemoveLastRowColour();
    return AddRow(row, sequence, direction, signalType, message, time, from, to, valid);
}

void CVexaListView::ClearList() {
    m_wndList.SetNarrowing(QString());  // a run, or a fill that narrows it anew
    m_wndList.ClearRowColours();
    m_wndList.DeleteAllItems();
}

int CVexaListView::GetRowCount() const { return m_wndList.GetItemCount(); }

std::string CVexaListView::GetItemText(int row, int column) const {
    return std::string(m_wndList.GetItemTextUtf8(row, column));
}

void CVexaListView::FocusList() { m_wndList.setFocus(Qt::OtherFocusReason); }

FontRecord CVexaListView::GetListFont() const { return m_wndList.ListFontRecord(); }

std::array<int32_t, kColumnCount> CVexaListView::ColumnWidthsByOrder() const {
    std::array<int32_t, kColumnCount> widths{};
    for (int position = 0; position < kColumnCount; ++position)
        widths[static_cast<size_t>(position)] = m_wndList.GetColumnWidthByOrder(position);
    return widths;
}

// Window messages --------------------------------------------------------------------

bool CVexaListView::event(QEvent *event) {
    if (event->type() == WM_REFILL_LIST) {
        // Every window of the document shows the refilled rows.
        if (m_doc.m_pListView && m_doc.m_pListView != this) m_doc.m_pListView->ClearList();
        m_wndList.DeleteAllItems();
        m_doc.FillListBySearch();
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CVexaListView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_wndList.setGeometry(0, 0, width(), height());
    m_wndList.show();
}

void CVexaListView::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        RequestHelp();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Printing ---------------------------------------------------------------------------

void CVexaListView::FilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintList(printer);
}

void CVexaListView::FilePrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *p) { PrintList(*p); });
    preview.exec();
}

int CVexaListView::BeginPrinting(QPrinter &printer) {
    const int dpi = printer.resolution();
    const QFont font = ListPrintFont(m_wndList, dpi);
    const QFontMetrics metrics(font, &printer);
    m_wndList.m_nPrintRowHeight = std::max(1, DeviceToTwips(metrics.height() + metrics.leading(), dpi));
    // Every column on the page: where the columns are wider than the page, the rows are
    // drawn smaller. The pages keep the rows the font's row height gives them.
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const int w = metrics.averageCharWidth();
    int needed = 0;
    for (const PrintPlace &place : kPrintPlaces)
        needed = std::max(needed, place.x * w + WidestText(m_wndList, place.column, metrics));
    needed += 2 * w;  // a little room at the right edge
    m_printScale = needed > page.width() ? page.width() / needed : 1.0;
    const int pageTwips = DeviceToTwips(page.height(), dpi);
    m_nRowsPerPage = (pageTwips - kPageReserveTwips) / m_wndList.m_nPrintRowHeight;
    const int items = m_wndList.GetItemCount();
    if (m_nRowsPerPage > 0)
        m_nPages = items / m_nRowsPerPage + (items % m_nRowsPerPage ? 1 : 0);
    else
        m_nPages = items;  // not even one row fits a page: each row gets a page of its own
    return m_nPages;
}

CVexaListView::PrintedRows CVexaListView::PrintPage(QPainter &painter, QPrinter &printer, int page) {
    PrintedRows printed;
    const int dpi = printer.resolution();
    const QFont font = ListPrintFont(m_wndList, dpi);
    painter.save();
    painter.scale(m_printScale, m_printScale);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &printer);
    const int rowsOnPage = m_nRowsPerPage > 0 ? m_nRowsPerPage : 1;
    const int items = m_wndList.GetItemCount();
    printed.first = (page - 1) * rowsOnPage;
    int yTwips = kFirstRowTwips;  // downwards from the top of the printable area
    const int w = metrics.averageCharWidth();
    for (int row = printed.first; row < printed.first + rowsOnPage && row < items; ++row) {
        const int top = TwipsToDevice(yTwips, dpi);
        for (const PrintPlace &place : kPrintPlaces)
            painter.drawText(place.x * w, top + metrics.ascent(), m_wndList.GetItemText(row, place.column));
        yTwips += m_wndList.m_nPrintRowHeight;
        ++printed.count;
    }
    painter.restore();
    return printed;
}

bool CVexaListView::PrintList(QPrinter &printer) {
    const int pages = BeginPrinting(printer);
    if (pages <= 0) return true;
    int from = 1, to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int page = from; page <= to; ++page) {
        if (page > from) printer.newPage();
        PrintPage(painter, printer, page);
    }
    painter.end();
    return true;
}

}  // namespace vexa
