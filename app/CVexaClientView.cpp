#include "CVexaClientView.h"

#include "CColourSettingsDialog.h"
#include "CMainFrame.h"
#include "CSignalNamesDialog.h"
#include "CVexaClientApp.h"
#include "CVexaClientDoc.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "QtPlatform.h"
#include "ResultLayout.h"
#include "SettingsStore.h"

#include <QContextMenuEvent>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace vexa {

using namespace ids;

CVexaClientView::CVexaClientView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent)
    : CTextPaneView(parent), m_doc(doc), m_settings(settings) {
    doc.m_pTraceView = this;
    setFocusPolicy(Qt::StrongFocus);
}

CVexaClientView::~CVexaClientView() {
    if (m_doc.m_pTraceView == this) m_doc.m_pTraceView = nullptr;
}

void CVexaClientView::OnInitialUpdate() {
    SetContentSizes(m_doc.m_sizeResult, {}, {});
    m_fontRecord = m_settings.m_lfTraceView;
    m_font = FontFromRecord(m_fontRecord);
    m_nLineHeight = m_settings.m_lfTraceView.lfHeight;
    setFont(m_font);
}

void CVexaClientView::ShowProtocolInStatusBar() {
    if (CMainFrame *frame = CVexaClientApp::Instance() ? CVexaClientApp::Instance()->MainFrame() : nullptr)
        frame->SetProtocolText(QString::fromStdString(ProtocolName(m_doc.m_nProtocol)));
}

void CVexaClientView::Repaint() {
    m_laidOutLines = static_cast<size_t>(-1);
    TextChanged();
    viewport()->update();
}

size_t CVexaClientView::TextRowCount() const {
    return std::min(m_doc.m_TraceLines.size(), m_tops.empty() ? size_t(0) : m_tops.size() - 1);
}

std::string_view CVexaClientView::TextRow(size_t row, std::string &) const {
    if (row >= TextRowCount()) return {};
    std::string_view line = m_doc.m_TraceLines[row];
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

int CVexaClientView::TextRowTop(size_t row) const { return row < m_tops.size() ? m_tops[row] : 0; }

int CVexaClientView::TextRowHeight() const { return QFontMetrics(m_font).height(); }

// Every line stands one font height below the one before; a line with no text takes no
// room. The trace extent grows, as the lines are drawn, to 500 pixels below the top of a
// line that starts beyond it: the same growth as the result text's, worked out once for
// all lines, reaching the height the drawing of every line reaches.
void CVexaClientView::Layout() {
    const int h = QFontMetrics(m_font).height();
    if (m_laidOutLines == m_doc.m_TraceLines.size() && m_laidOutHeight == h) return;
    const LineArray &lines = m_doc.m_TraceLines;
    m_tops.resize(lines.size() + 1);
    int32_t y = 0;
    size_t rowsAboveLast = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        m_tops[i] = y;
        rowsAboveLast = static_cast<size_t>(y / std::max(h, 1));
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (!line.empty()) y += h;
    }
    m_tops[lines.size()] = y;
    m_laidOutLines = lines.size();
    m_laidOutHeight = h;
    if (lines.empty()) return;
    const int32_t grown = CResultLayout::GrownHeight(m_doc.m_sizeTraceExtent.cy, h, rowsAboveLast);
    if (grown != m_doc.m_sizeTraceExtent.cy) {
        m_doc.m_sizeTraceExtent = {1000, grown};
        SetContentSizes(m_doc.m_sizeTraceExtent, {}, {});
    }
}

int CVexaClientView::LineAt(int y) const {
    auto it = std::upper_bound(m_tops.begin(), m_tops.end() - 1, y);
    return static_cast<int>(std::max<ptrdiff_t>(0, (it - m_tops.begin()) - 1));
}

void CVexaClientView::OnDraw(QPainter &painter, const QRect &exposed) {
    Layout();
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    const LineArray &lines = m_doc.m_TraceLines;
    if (lines.empty()) return;
    const int first = LineAt(exposed.top() - metrics.height());
    size_t last = static_cast<size_t>(first);
    while (last + 1 < lines.size() && m_tops[last + 1] <= exposed.bottom()) ++last;
    if (!IsPrinting()) DrawMarks(painter, static_cast<size_t>(first), last);
    for (size_t i = static_cast<size_t>(first); i < lines.size() && m_tops[i] <= exposed.bottom(); ++i) {
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (line.empty()) continue;
        painter.drawText(0, m_tops[i] + metrics.ascent(), QString::fromLatin1(line.data(), static_cast<int>(line.size())));
    }
}

int CVexaClientView::VerticalPageScroll() const { return viewport()->height(); }

void CVexaClientView::ScrollLines(int delta) {
    const QPoint pos = GetDeviceScrollPosition();
    ScrollToPosition(QPoint(pos.x(), pos.y() + delta));
    viewport()->update();
}

void CVexaClientView::GoToKey(const QString &key, int row) {
    Layout();
    // The record line of the row's own signal where the document knows it, else the
    // first line with the key.
    int64_t n = row >= 0 ? m_doc.TraceLineOfRow(row) : -1;
    if (n < 0 || static_cast<size_t>(n) >= m_doc.m_TraceLines.size()) n = m_doc.FindTraceLine(key.toStdString());
    int y = n > 0 ? m_tops[static_cast<size_t>(n)] : 0;
    m_nLineHeight = RecordFromFont(m_font).lfHeight;
    if (n > 0) y = m_nLineHeight > 0 ? y - m_nLineHeight : y + m_nLineHeight;
    ScrollToPosition(QPoint(0, std::max(0, y)));
    viewport()->update();
}

bool CVexaClientView::event(QEvent *event) {
    if (event->type() == WM_GOTO_MESSAGE) {
        const auto *go = static_cast<GotoMessageEvent *>(event);
        GoToKey(go->Key(), go->Row());
        return true;
    }
    return CTextPaneView::event(event);
}

void CVexaClientView::keyPressEvent(QKeyEvent *event) {
    if (IsPaneKey(event)) return CTextPaneView::keyPressEvent(event);
    const QPoint pos = GetDeviceScrollPosition();
    switch (event->key()) {
    case Qt::Key_Tab:
        if (QWidget *result = OwnResultView()) result->setFocus(Qt::TabFocusReason);
        else if (auto *shared = dynamic_cast<QWidget *>(m_doc.m_pResultView)) shared->setFocus(Qt::TabFocusReason);
        return;
    case Qt::Key_PageUp: ScrollLines(-viewport()->height()); return;
    case Qt::Key_PageDown: ScrollLines(viewport()->height()); return;
    case Qt::Key_Up: ScrollLines(-std::abs(m_nLineHeight)); return;
    case Qt::Key_Down: ScrollLines(std::abs(m_nLineHeight)); return;
    case Qt::Key_Home: ScrollToPosition(QPoint(pos.x(), 0)); return;
    case Qt::Key_End: ScrollToPosition(QPoint(pos.x(), verticalScrollBar()->maximum())); return;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_F1: RequestHelp(0); return;
    default: CTextPaneView::keyPressEvent(event);
    }
}

void CVexaClientView::focusInEvent(QFocusEvent *event) {
    CTextPaneView::focusInEvent(event);
    ShowProtocolInStatusBar();
}

QMenu *CVexaClientView::BuildContextMenu() {
    if (!m_doc.m_bOpened) return nullptr;
    auto *menu = new QMenu(this);
    auto item = [&](int id, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
        return a;
    };
    item(ID_CONTEXT_INTERPRET, tr("Interpret"));
    menu->addSeparator();
    item(ID_CONTEXT_FONT, tr("Font"));
    QAction *allRows = item(ID_CONTEXT_ALL_ROWS, tr("Include all Rows"));
    allRows->setCheckable(true);
    allRows->setChecked(m_settings.m_bWriteAllRows);
    QAction *hex = item(ID_CONTEXT_HEX, tr("Include Hex"));
    hex->setCheckable(true);
    hex->setChecked(m_settings.m_bWriteHexInfo);
    return menu;
}

void CVexaClientView::contextMenuEvent(QContextMenuEvent *event) {
    if (QMenu *menu = BuildContextMenu()) {
        menu->exec(event->globalPos());
        delete menu;
    }
}

void CVexaClientView::OnCommand(int id) {
    if (id > ID_PROTOCOL_BASE && id <= ID_PROTOCOL_BASE + 6) {
        m_doc.m_nProtocol = id - ID_PROTOCOL_BASE;
        m_settings.m_nCurrentProtocol = m_doc.m_nProtocol;
        ShowProtocolInStatusBar();
        return;
    }
    switch (id) {
    case ID_INTERPRET_START:
    case ID_INTERPRET_CONTENTS:
    case ID_CONTEXT_INTERPRET:
        if (!m_doc.RunInterpretation()) {
            // A run that failed took the old interpretation with it: the views show what
            // the document holds at once, not when something next repaints them.
            if (m_doc.m_DisplayLines.empty()) m_doc.ClearDisplay();
            if (m_doc.m_pResultView) m_doc.m_pResultView->Repaint();
            if (m_doc.m_pTraceView) m_doc.m_pTraceView->Repaint();
            Repaint();
        }
        return;
    case ID_CONTEXT_FONT: ChangeFont(); return;
    case ID_CONTEXT_ALL_ROWS:
        m_settings.m_bWriteAllRows = !m_settings.m_bWriteAllRows;
        if (m_settings.m_bWriteAllRows) m_settings.m_bWriteHexInfo = true;
        return;
    case ID_CONTEXT_HEX:
        if (!m_settings.m_bWriteAllRows) m_settings.m_bWriteHexInfo = !m_settings.m_bWriteHexInfo;
        return;
    case ID_SIGNAL_NAMES: RunSignalNames(); return;
    case ID_SAVE_CURRENT_SETTINGS: SaveCurrentSettings(); return;
    case ID_COLOR_SETTINGS: RunColourSettings(); return;
    case ID_HELP: RequestHelp(0); return;
    case ID_FILE_PRINT: PrintThroughPreviewView(); return;
    default: return;
    }
}

void CVexaClientView::ChangeFont() {
    QFont chosen = m_font;
    if (!ChooseFont(chosen, this, tr("Font")) || chosen == m_font) return;  // kept as it was
    m_font = chosen;
    m_fontRecord = RecordFromFont(chosen);
    setFont(m_font);
    Repaint();
}

void CVexaClientView::RunSignalNames() {
    CSignalNamesDialog dialog(this, m_doc);
    if (dialog.exec() != QDialog::Accepted) return;
    m_settings.m_strDlrData = m_doc.m_strSignalNames[0];
    m_settings.m_strDlrDataLong = m_doc.m_strSignalNames[1];
    m_settings.m_strDliData = m_doc.m_strSignalNames[2];
    m_settings.m_strDliDataLong = m_doc.m_strSignalNames[3];
    m_settings.m_strDliuiDataLong = m_doc.m_strSignalNames[4];
    if (CVexaClientApp::Instance()->Documents().size() > 1) {
        QMessageBox::warning(this, tr("Warning!"),
                             tr("There are more than one trace document open.\nThe changes made will only affect the "
                                "active document and all rubsequently opened documents.\nTo have the changes affect "
                                "the other open documents, close them and open them again."));
    }
}

void CVexaClientView::RunColourSettings() {
    CColourSettingsDialog dialog;
    dialog.SetColours(m_settings.m_crIncoming, m_settings.m_crOutgoing);
    if (dialog.exec() == QDialog::Accepted) {
        m_settings.m_crIncoming = dialog.m_crIncoming;
        m_settings.m_crOutgoing = dialog.m_crOutgoing;
        CQtProfile &profile = CVexaClientApp::Instance()->Profile();
        profile.WriteProfileInt("", kKeyIncomingColor, static_cast<int32_t>(m_settings.m_crIncoming));
        profile.WriteProfileInt("", kKeyOutgoingColor, static_cast<int32_t>(m_settings.m_crOutgoing));
    }
    for (CVexaClientDoc *doc : CVexaClientApp::Instance()->Documents())
        if (doc->m_pResultView) doc->m_pResultView->Repaint();
}

void CVexaClientView::SaveCurrentSettings() {
    m_settings.m_nDefaultProtocol = m_doc.m_nRunProtocol;
    // The face as the settings named it, unless the user chose another.
    m_settings.m_lfTraceView = m_fontRecord;
    // The fonts and columns of this window, which may be one of several on the trace.
    CVexaMdiEditView *own = OwnResults();
    auto *result = own ? own->EditView() : dynamic_cast<CVexaEditView *>(m_doc.m_pResultView);
    auto *list = own ? own->ListView() : dynamic_cast<CVexaListView *>(m_doc.m_pListView);
    if (result) m_settings.m_lfResultView = result->GetResultFont();
    if (list) {
        m_settings.m_lfMessageList = list->GetListFont();
        m_settings.m_nColumnWidth = list->ColumnWidthsByOrder();
    }
    SaveSettings(CVexaClientApp::Instance()->Profile(), m_settings);
}

CVexaMdiEditView *CVexaClientView::OwnResults() const {
    if (!parentWidget()) return nullptr;
    for (QObject *sibling : parentWidget()->children())
        if (auto *results = qobject_cast<CVexaMdiEditView *>(sibling)) return results;
    return nullptr;
}

QWidget *CVexaClientView::OwnResultView() const {
    CVexaMdiEditView *results = OwnResults();
    return results ? results->EditView() : nullptr;
}

// While a print preview is open, the trace's print command prints what it previews.
void CVexaClientView::PrintThroughPreviewView() {
    if (!m_doc.m_pPreviewView) return;
    auto *widget = static_cast<QWidget *>(m_doc.m_pPreviewView);
    if (auto *result = dynamic_cast<CVexaEditView *>(widget)) result->FilePrint();
    else if (auto *list = dynamic_cast<CVexaListView *>(widget)) list->FilePrint();
}

}  // namespace vexa
