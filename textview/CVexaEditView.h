// The result text view: the interpretation of a trace as coloured text, one display line
// of the document per row, in the upper pane of the results frame. It scrolls to a
// message when the message list asks (WM_GOTO_MESSAGE), prints the text with its own
// pagination, and saves the interpretation by copying the document's output file.
#pragma once

#include "CTextPaneView.h"
#include "ResultLayout.h"
#include "ResultPrinting.h"
#include "VexaSettings.h"
#include "ViewInterfaces.h"

#include <QFont>
#include <QString>

#include <future>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QPrinter;

namespace vexa {
class CVexaClientDoc;
}

class CVexaEditView : public CTextPaneView, public vexa::IResultView {
    Q_OBJECT

public:
    // Registers the view as the document's result view and runs OnInitialUpdate.
    CVexaEditView(vexa::CVexaClientDoc &doc, vexa::VexaSettings &settings, QWidget *parent = nullptr);
    // Leaves the document without a result view (and without this preview view).
    ~CVexaEditView() override;

    // The initial update, run by the constructor: the content size from the document's
    // result size, the screen font from the result-view font setting, the line step from
    // its height, and the printer font (12 points). Running it again re-reads the setting.
    void OnInitialUpdate();

    // What the document calls when the display lines have changed.
    void SetContentSizes(vexa::ContentSize total, vexa::ContentSize page = {}, vexa::ContentSize line = {}) override;
    void Repaint() override;

    // The current screen font as a settings record (for Save Current Settings).
    vexa::FontRecord GetResultFont() const;
    void GetResultFont(vexa::FontRecord &record) const { record = GetResultFont(); }
    const QFont &ScreenFont() const { return m_screenFont; }
    const vexa::FontRecord &PrinterFontRecord() const { return m_printerFont; }
    // The vertical scroll for one line, in pixels (the font setting's height value).
    int LineStep() const { return m_nLineStep; }

    // The Results menu (147): "Save" 32799, "Print Preview" 32800, "Print" 32801,
    // "Font" 32812. Other ids do nothing.
    void OnResultsCommand(int id);
    // Fills a menu with the Results items; each action carries its command id as data.
    static void AddResultsMenuItems(QMenu &menu);

    // Save: asks for a file name (offering the trace's name with ".out" in the last save
    // or open folder) and saves there.
    void SaveResults();
    // Copies the interpretation to path and keeps it there; tells the user when it cannot
    // (onto the trace itself, or a failed copy). False when nothing was saved.
    bool SaveResultsTo(const QString &path);

    // Font: the font dialog; on OK, SetResultFont.
    void ChangeFont();
    // Takes a font for the screen and remakes the printer font at its point size.
    void SetResultFont(const QFont &font);

    // Print with the print dialog; Print Preview (recording this view as the document's
    // preview view first).
    void FilePrint();
    void FilePrintPreview();
    // The pagination for a printer: the printer font measured on it.
    vexa::ResultPageLayout BeginPrinting(QPrinter &printer) const;
    // Prints the result text on a printer that is set up (the pages the printer's range
    // asks for, or all). Nothing at all when the trace was not recognised.
    void PrintResult(QPrinter &printer);

    // Scrolls to the first display line that holds key, keeping the non-empty line above
    // it in view; to the top when no line holds it.
    void GotoMessage(const QString &key, int row = -1);

    // Draws every display line from the first with its colour at its place, growing the
    // content size as the lines go down. A paint draws only the rows in view (OnDraw),
    // with the same result.
    void DrawResultLines(QPainter &painter, const QFont &font);

    // The colour of a row's colour class, with the user's direction colours.
    QColor ColourOf(vexa::LineColour colour) const;

protected:
    void OnDraw(QPainter &painter, const QRect &exposedContentRect) override;
    int VerticalLineScroll() const override;
    int VerticalPageScroll() const override;

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

    // The rows of the text pane: the layout's rows, as drawn.
    size_t TextRowCount() const override;
    std::string_view TextRow(size_t row, std::string &scratch) const override;
    QString DisplayText(std::string_view bytes) const override { return LineText(std::string(bytes)); }
    bool RowsAreUtf8() const override { return true; }
    int TextRowTop(size_t row) const override { return static_cast<int>(row) * RowHeight(); }
    int TextRowHeight() const override { return RowHeight(); }
    size_t TextRowAt(int contentY) const override { return static_cast<size_t>(std::max(0, contentY) / RowHeight()); }
    const QFont &TextFont() const override { return m_screenFont; }
    void PrepareTextRows() override;

private:
    // The rows worked out again when the display lines have changed.
    void EnsureLayout();
    // Starts working out the rows of many display lines on another thread, over a copy
    // of the lines (which the document's later changes leave as it is), so that the
    // document can fill the message list meanwhile; EnsureLayout takes the result.
    void StartLayout();
    // The content height a paint of all lines reaches, applied to the document and the bars.
    void GrowContentSize(int rowHeight);
    int RowHeight() const;
    static QString LineText(const std::string &text);
    void PrintPage(QPainter &painter, QPrinter &printer, const vexa::ResultPageLayout &layout, int page) const;

    vexa::CVexaClientDoc &m_doc;
    vexa::VexaSettings &m_settings;

    QFont m_screenFont;
    vexa::FontRecord m_screenFontRecord;  // the record the screen font was made from
    vexa::FontRecord m_printerFont;       // height in twips
    int m_nLineStep = -13;

    // The rows in use: the run's, or worked out by the view (never null).
    std::shared_ptr<const vexa::CResultLayout> m_layout = std::make_shared<vexa::CResultLayout>();
    bool m_bLayoutDirty = true;
    struct PendingLayout {
        std::future<std::shared_ptr<const vexa::CResultLayout>> result;
        vexa::LinesIdentity identity;  // of the lines it is made of
    };
    std::optional<PendingLayout> m_pending;
};
