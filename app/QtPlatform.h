// What the Qt windows share: conversions between the settings' records and Qt's types,
// the program's message box, its private window messages and its texts.
#pragma once

#include "StringTable.h"
#include "VexaSettings.h"

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QString>

#include <functional>

class QWidget;

namespace vexa {

// The program's text of a string id.
inline QString Text(int id) { return QString::fromStdString(LoadString(id)); }

// A font made from a settings font record: height -n is a character height of n pixels;
// the face "System" (the record's default) is the platform's fixed-pitch system font.
QFont FontFromRecord(const FontRecord &record);
// The record of a font, as the settings store it.
FontRecord RecordFromFont(const QFont &font);
// A copy of a font for printing: its character height given in twips (1/1440 inch) on a
// device of the given vertical resolution.
QFont PrinterFont(const FontRecord &record, int heightTwips, int deviceDpiY);

inline QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline ColorRef ToColorRef(const QColor &c) { return Rgb(c.red(), c.green(), c.blue()); }

// The font dialog: opens on the current font, its face and weight as the system resolves
// them; OK without a change answers the current font as it was. Without effects the
// dialog offers no strikeout and underline, and the font answered has neither.
// Answers false when the user cancels.
bool ChooseFont(QFont &font, QWidget *parent, const QString &title, bool effects = true);
// The dialog that ChooseFont runs, for the tests: called with it once it is set up, before
// it is shown; set it to choose without showing a dialog.
void SetFontDialogHook(std::function<void(QWidget &dialog)> hook);

// A message box titled "Vexa" with the stop icon.
void ShowStopMessage(QWidget *parent, const QString &text);

// The program's private window messages.
constexpr QEvent::Type WM_REFILL_LIST = static_cast<QEvent::Type>(0x4400);
constexpr QEvent::Type WM_GOTO_MESSAGE = static_cast<QEvent::Type>(0x4401);

// WM_GOTO_MESSAGE: scroll to the message of a list row. The key is the row's number as
// text; the row (-1 when there is none) lets a view find the row's own signal, where the
// number occurs more than once; a view looks for the first line holding the key when the
// document does not know where the row's signal is.
class GotoMessageEvent : public QEvent {
public:
    explicit GotoMessageEvent(QString key, int row = -1) : QEvent(WM_GOTO_MESSAGE), m_key(std::move(key)), m_row(row) {}
    const QString &Key() const { return m_key; }
    int Row() const { return m_row; }

private:
    QString m_key;
    int m_row;
};

// The main window's Help command, reachable from every view (F1 sends it there): it
// opens the help at the given topic (0: contents).
void SetHelpHandler(std::function<void(int topic)> handler);
void RequestHelp(int topic = 0);

}  // namespace vexa
