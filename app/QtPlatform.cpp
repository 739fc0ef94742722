#include "QtPlatform.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>

#include <cmath>

namespace vexa {

QFont FontFromRecord(const FontRecord &record) {
    QFont font;
    const QString face = QString::fromStdString(record.FaceName());
    if (face.isEmpty() || face.compare("System", Qt::CaseInsensitive) == 0) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    } else {
        font.setFamily(face);
    }
    const int height = record.lfHeight == 0 ? 13 : std::abs(record.lfHeight);
    // A positive height is the cell height: the character height is about four fifths of it.
    font.setPixelSize(record.lfHeight > 0 ? std::max(1, height * 4 / 5) : height);
    if (record.lfWeight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(record.lfWeight, 1, 1000)));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    font.setFixedPitch((record.lfPitchAndFamily & 0x3) == 1);
    return font;
}

FontRecord RecordFromFont(const QFont &font) {
    FontRecord record;
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    record.lfHeight = -pixels;
    record.lfWidth = 0;
    record.lfWeight = font.weight();
    record.lfItalic = font.italic() ? 1 : 0;
    record.lfUnderline = font.underline() ? 1 : 0;
    record.lfStrikeOut = font.strikeOut() ? 1 : 0;
    record.SetFaceName(font.family().toStdString());
    return record;
}

QFont PrinterFont(const FontRecord &record, int heightTwips, int deviceDpiY) {
    QFont font = FontFromRecord(record);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(std::abs(heightTwips) * deviceDpiY / 1440.0))));
    return font;
}

namespace {
std::function<void(QWidget &)> &FontDialogHook() {
    static std::function<void(QWidget &)> hook;
    return hook;
}

// The font as the system resolves it: an alias face ("Monospace") named by the face it
// stands for, so that the dialog finds it among its faces with its own styles.
QFont Resolved(const QFont &font) {
    QFont resolved = font;
    const QFontInfo info(font);
    resolved.setFamily(info.family());
    if (!info.styleName().isEmpty() && QFontDatabase::styles(info.family()).contains(info.styleName()))
        resolved.setStyleName(info.styleName());
    return resolved;
}

bool SameChoice(const QFont &a, const QFont &b) {
    return a.family() == b.family() && a.weight() == b.weight() && a.italic() == b.italic() &&
           a.pointSizeF() == b.pointSizeF() && a.underline() == b.underline() && a.strikeOut() == b.strikeOut();
}
}  // namespace

void SetFontDialogHook(std::function<void(QWidget &dialog)> hook) { FontDialogHook() = std::move(hook); }

bool ChooseFont(QFont &font, QWidget *parent, const QString &title, bool effects) {
    QFontDialog dialog(parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(title);
    QFont start = Resolved(font);
    if (!effects) {
        start.setUnderline(false);
        start.setStrikeOut(false);
    }
    // The dialog sizes in points; a font made in pixels opens on its size in points.
    if (start.pointSizeF() <= 0) start.setPointSizeF(QFontInfo(font).pointSizeF());
    dialog.setCurrentFont(start);
    const QFont opened = dialog.currentFont();
    if (!effects) {
        // The strikeout and underline boxes stand in a group of their own.
        for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
            if (!group->findChildren<QCheckBox *>().isEmpty()) group->hide();
            else  // the sample keeps the height the effects gave the row
                for (QWidget *sample : group->findChildren<QWidget *>()) sample->setMinimumHeight(56);
        }
    }
    bool accepted = false;
    if (FontDialogHook()) {
        FontDialogHook()(dialog);
        accepted = dialog.result() == QDialog::Accepted;
    } else {
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted) return false;
    const QFont chosen = dialog.selectedFont();
    if (SameChoice(chosen, opened)) return true;  // nothing changed: the font stays as it is
    QFont result = chosen;
    if (!effects) {
        result.setUnderline(false);
        result.setStrikeOut(false);
    }
    font = result;
    return true;
}

void ShowStopMessage(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Vexa"), text);
}

namespace {
std::function<void(int)> &HelpHandler() {
    static std::function<void(int)> handler;
    return handler;
}
}  // namespace

void SetHelpHandler(std::function<void(int topic)> handler) { HelpHandler() = std::move(handler); }

void RequestHelp(int topic) {
    if (HelpHandler()) HelpHandler()(topic);
}

}  // namespace vexa
