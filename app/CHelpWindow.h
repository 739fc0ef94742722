// The help: the user guide vexa.hlp, an HTML file with one anchor per help topic, shown in
// a window of its own.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace vexa {

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    // Shows the help at a topic: 0 the contents, otherwise a dialog's topic (0x20000 plus
    // its resource number).
    static CHelpWindow *Show(int topic);
    // Where the help file is: the installation folder's vexa.hlp; where none is
    // installed, the one beside the program.
    static QString HelpFilePath();
    // The anchor of a topic in the help file.
    static QString Anchor(int topic);

    QTextBrowser *Browser() const { return m_browser; }

private:
    CHelpWindow();
    QTextBrowser *m_browser = nullptr;
};

}  // namespace vexa
