// The message list view: the bottom pane of a trace's results, taken up entirely by the
// message list control. The document fills the list through it, it refills the list on
// request, and it prints the list.
#pragma once

#include "CListCtrlEx.h"
#include "ViewInterfaces.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QPainter;
class QPrinter;

namespace vexa {

class CVexaClientDoc;

class CVexaListView : public QWidget, public IListView {
    Q_OBJECT
public:
    // Creates the list with its six columns and records itself as the document's list
    // view; the row colour is the one the settings hold now.
    CVexaListView(CVexaClientDoc &doc, VexaSettings &settings, QWidget *parent = nullptr);
    ~CVexaListView() override;

    // The rows, as the document's fills give them.
    bool AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                const std::string &message, const std::string &time, const std::string &from, const std::string &to,
                bool valid) override;
    bool ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                    const std::string &message, const std::string &time, const std::string &from,
                    const std::string &to, bool valid) override;
    void ClearList() override;
    int GetRowCount() const override;
    std::string GetItemText(int row, int column) const override;
    void FocusList() override;

    CListCtrlEx &ListCtrl() { return m_wndList; }
    CVexaClientDoc &Document() { return m_doc; }

    // The list font, as the settings keep it.
    FontRecord GetListFont() const;
    // The column widths by display position 0 to 5, as the settings keep them.
    std::array<int32_t, kColumnCount> ColumnWidthsByOrder() const;

    // Printing of the list: the print dialog, or the preview.
    void FilePrint();
    void FilePrintPreview();
    // Prints every page of the list (or the range chosen in the print dialog).
    bool PrintList(QPrinter &printer);
    // The beginning of a print job: rows per page and the number of pages.
    int BeginPrinting(QPrinter &printer);
    struct PrintedRows {
        int first = 0;
        int count = 0;
    };
    // One page (from 1) of the job begun last.
    PrintedRows PrintPage(QPainter &painter, QPrinter &printer, int page);
    int RowsPerPage() const { return m_nRowsPerPage; }
    // How much smaller than its font the list is printed, so that every column is on the
    // page (1: not at all).
    double PrintScale() const { return m_printScale; }

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    CVexaClientDoc &m_doc;
    CListCtrlEx m_wndList;
    int m_nRowsPerPage = 0;
    int m_nPages = 0;
    double m_printScale = 1.0;
    int m_nRed = 0;
    int m_nGreen = 0;
    int m_nBlue = 0;
};

}  // namespace vexa
