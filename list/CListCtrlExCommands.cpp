// The message list's context menu and the commands behind it: the direction choice, the
// filters, Go To, the column switches, the font and printing.
#include "CFilterDialog.h"
#include "CIpFilterDialog.h"
#include "CListCtrlEx.h"
#include "CVexaClientDoc.h"
#include "CVexaListView.h"
#include "CommandIds.h"
#include "FilteredFills.h"
#include "QtPlatform.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QScreen>

#include <algorithm>

#include <cstdlib>
#include <cstring>

namespace vexa {

namespace {

// The items of the context menu, in their order; 0 stands for a separator.
struct MenuEntry {
    int textId;
    int iconId;
    int commandId;
};
constexpr MenuEntry kMenuItems[] = {
    {IDS_MENU_OUTGOING, 135, ids::ID_LIST_OUTGOING},
    {IDS_MENU_INCOMING, 136, ids::ID_LIST_INCOMING},
    {IDS_MENU_ALL, 138, ids::ID_LIST_ALL},
    {IDS_MENU_FILTER, 152, ids::ID_LIST_FILTER},
    {0, 0, 0},
    {IDS_MENU_GOTO, 148, ids::ID_LIST_GOTO},
    {0, 0, 0},
    {IDS_COL_SIG_SEQ_NO, 141, ids::ID_LIST_COLUMN_FIRST + 0},
    {IDS_COL_MSG_DIRECTION, 147, ids::ID_LIST_COLUMN_FIRST + 1},
    {IDS_COL_MESSAGE, 139, ids::ID_LIST_COLUMN_FIRST + 2},
    {IDS_COL_TIME, 143, ids::ID_LIST_COLUMN_FIRST + 3},
    {IDS_COL_MESSAGE_FROM, 144, ids::ID_LIST_COLUMN_FIRST + 4},
    {IDS_COL_MESSAGE_TO, 145, ids::ID_LIST_COLUMN_FIRST + 5},
    {0, 0, 0},
    {IDS_MENU_FONT, 156, ids::ID_LIST_FONT},
    {0, 0, 0},
    {IDS_MENU_PRINT_PREVIEW, 155, ids::ID_LIST_PRINT_PREVIEW},
    {IDS_MENU_PRINT, 151, ids::ID_LIST_PRINT},
    // Beyond the list's fourteen: the selected row's call drawn as a ladder.
    {0, 0, 0},
    {IDS_MENU_CALL_FLOW, 148, ids::ID_LIST_CALL_FLOW},
};

// Sends WM_GOTO_MESSAGE with the key of a row to a view, when the view is a window object.
template <typename View>
void SendGotoMessage(View *view, const QString &key, int row) {
    if (auto *target = dynamic_cast<QObject *>(view)) {
        GotoMessageEvent event(key, row);
        QCoreApplication::sendEvent(target, &event);
    }
}

}  // namespace

// The menu --------------------------------------------------------------------------

void CListCtrlEx::PrepareContextMenu() {
    if (!m_bMenuEnabled || !m_pDoc) return;
    // Built once for each list of the document: another window on the trace has a list
    // of its own.
    if (m_pDoc->m_bOutputLoaded && !m_bMenuBuilt) {
        m_pDoc->m_bContextMenuBuilt = true;
        m_bMenuBuilt = true;
        BuildContextMenu();
    }
}

void CListCtrlEx::BuildContextMenu() {
    m_menu.SetIconSize(25, 25);
    m_menu.SetFlatHighlight(false);
    m_menu.SetMenuTextColor(QColor(0, 0, 0));
    m_menu.SetMenuBackColor(QColor(192, 192, 192));
    m_menu.SetMenuHighlightColor(QColor(0, 0, 255));
    int record = 0;
    for (const MenuEntry &item : kMenuItems) {
        if (item.commandId == 0) {
            m_menu.addSeparator();
            continue;
        }
        AppendMenuItem(Text(item.textId), record++, item.iconId, item.commandId);
    }
}

bool CListCtrlEx::AppendMenuItem(const QString &text, int record, int iconId, int commandId) {
    MenuItemData &data = m_menuItems[static_cast<size_t>(record)];
    const QByteArray bytes = text.toLatin1();
    std::strncpy(data.text, bytes.constData(), sizeof data.text - 1);
    data.text[sizeof data.text - 1] = '\0';
    data.iconId = iconId;
    QAction *action = m_menu.AppendOwnerDrawnItem(commandId, &data);
    connect(action, &QAction::triggered, this, [this, commandId] { OnListCommand(commandId); });
    return true;
}

// The commands ---------------------------------------------------------------------

void CListCtrlEx::OnListCommand(int id) {
    if (!m_pDoc) return;
    switch (id) {
    case ids::ID_LIST_OUTGOING:
    case ids::ID_LIST_INCOMING:
    case ids::ID_LIST_ALL: {
        ClearRowColours();
        m_pDoc->m_strSearchText = id == ids::ID_LIST_OUTGOING   ? LoadString(IDS_SEARCH_OUTGOING)
                                  : id == ids::ID_LIST_INCOMING ? LoadString(IDS_SEARCH_INCOMING)
                                                                : std::string();
        if (m_pView) {
            QEvent refill(WM_REFILL_LIST);
            QCoreApplication::sendEvent(m_pView, &refill);
        }
        RebuildResultText();
        SetNarrowing(id == ids::ID_LIST_OUTGOING   ? tr("Outgoing only")
                     : id == ids::ID_LIST_INCOMING ? tr("Incoming only")
                                                   : QString());
        break;
    }
    case ids::ID_LIST_FILTER: RunFilter(); break;
    case ids::ID_LIST_GOTO: GoTo(); break;
    case ids::ID_LIST_CALL_FLOW:
        if (GetFirstSelectedRow() >= 0) emit CallFlowRequested(GetFirstSelectedRow());
        break;
    case ids::ID_LIST_FONT: ChangeListFont(); break;
    case ids::ID_LIST_PRINT_PREVIEW:
        if (m_pView) {
            m_pDoc->m_pPreviewView = m_pView;
            m_pView->FilePrintPreview();
        }
        break;
    case ids::ID_LIST_PRINT:
        if (m_pView) m_pView->FilePrint();
        break;
    default:
        if (id >= ids::ID_LIST_COLUMN_FIRST && id < ids::ID_LIST_COLUMN_FIRST + kColumnCount)
            SwitchColumn(id - ids::ID_LIST_COLUMN_FIRST);
        break;
    }
}

void CListCtrlEx::GoTo() {
    const int row = GetFirstSelectedRow();
    if (row < 0) return;
    const QByteArray shown = GetItemText(row, 0).left(128).toLatin1();
    m_strGoToKey = QString::asprintf(" %05d ", std::atoi(shown.constData()));
    // The views of this list's own window; the document's where the list stands alone.
    QObject *result = OwnResultView();
    QObject *trace = OwnTraceView();
    if (result) SendGotoMessage(result, m_strGoToKey, row);
    else SendGotoMessage(m_pDoc->m_pResultView, m_strGoToKey, row);
    if (trace) SendGotoMessage(trace, m_strGoToKey, row);
    else SendGotoMessage(m_pDoc->m_pTraceView, m_strGoToKey, row);
}

void CListCtrlEx::SwitchColumn(int column) {
    if (GetColumnWidth(column) != 0)
        SetColumnWidth(column, 0);
    else
        SetColumnWidth(column, kDefaultColumnWidths[static_cast<size_t>(column)]);
    viewport()->update();
    header()->viewport()->update();
}

void CListCtrlEx::ChangeListFont() {
    QFont chosen = m_pListFont;
    if (ChooseFont(chosen, this, Text(IDS_MENU_FONT)) && chosen != m_pListFont) ApplyListFont(chosen);
}

// Filters ---------------------------------------------------------------------------

void CListCtrlEx::RunFilter() {
    if (!m_pDoc) return;
    if (m_pDoc->m_nRunProtocol != 6) {
        int kind = kFilterNone;
        std::string value;
        CFilterDialog dialog(kind, value, this, *m_pDoc);
        PlaceOverList(dialog);
        if (dialog.exec() != QDialog::Accepted) return;
        ClearDocumentLists();
        switch (kind) {
        case kFilterCallReference: FillByCallReference(value); break;
        case kFilterCallingParty: FillByCallingPartyNumber(value); break;
        case kFilterEquNumber: FillByEquNumber(value); break;
        case kFilterScpId: FillByScpId(value); break;
        case kFilterTransactionFlag: FillByTransactionFlag(value); break;
        default: break;
        }
        RebuildResultText();
        static const char *const kinds[] = {"", "call reference", "calling party number", "EQU number", "SCP id",
                                            "transaction flag"};
        if (kind > kFilterNone && kind <= kFilterTransactionFlag)
            SetNarrowing(tr("Filter: %1 %2").arg(tr(kinds[kind]), dialog.Values()->currentText()));
    } else {
        CIpFilterDialog dialog(this);
        PlaceOverList(dialog);
        if (dialog.exec() != QDialog::Accepted) return;
        ClearDocumentLists();
        const std::string key = IpProtocolKey(dialog.Choice());
        FillByProtocol(key);
        RebuildResultText();
        SetNarrowing(tr("Filter: %1").arg(QString::fromStdString(key)));
    }
}

void CListCtrlEx::ClearDocumentLists() {
    // Every window of the document shows the filtered rows, not only this one.
    if (m_pDoc && m_pDoc->m_pListView && m_pDoc->m_pListView != static_cast<IListView *>(m_pView))
        m_pDoc->m_pListView->ClearList();
    DeleteAllItems();
}

// A dialog of the list opens over the list, not wherever its main window stands.
void CListCtrlEx::PlaceOverList(QWidget &dialog) {
    dialog.adjustSize();
    const QPoint centre = mapToGlobal(rect().center());
    QRect frame(QPoint(0, 0), dialog.sizeHint().expandedTo(dialog.size()));
    frame.moveCenter(centre);
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
    }
    dialog.move(frame.topLeft());
}

void CListCtrlEx::FilterRows(void (*fill)(CVexaClientDoc &, std::string_view), const std::string &key) {
    ClearRowColours();
    if (m_pDoc) fill(*m_pDoc, key);
}

void CListCtrlEx::FillByCallReference(const std::string &key) { FilterRows(&vexa::FillByCallReference, key); }
void CListCtrlEx::FillByCallingPartyNumber(const std::string &key) { FilterRows(&vexa::FillByCallingPartyNumber, key); }
void CListCtrlEx::FillByEquNumber(const std::string &key) { FilterRows(&vexa::FillByEquNumber, key); }
void CListCtrlEx::FillByScpId(const std::string &key) { FilterRows(&vexa::FillByScpId, key); }
void CListCtrlEx::FillByTransactionFlag(const std::string &key) { FilterRows(&vexa::FillByTransactionFlag, key); }
void CListCtrlEx::FillByProtocol(const std::string &key) { FilterRows(&vexa::FillByProtocol, key); }

void CListCtrlEx::RebuildResultText() {
    if (m_pDoc) m_pDoc->RebuildResultText();
}

}  // namespace vexa
