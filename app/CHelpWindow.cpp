#include "CHelpWindow.h"

#include "CRegistryAccess.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace vexa {

CHelpWindow::CHelpWindow() {
    setWindowTitle(tr("Vexa Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Help belongs to the program's main window: closing that ends the program even while
    // the help is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(760, 640);
}

QString CHelpWindow::HelpFilePath() {
    const QString installed = GetInstallDir() + QStringLiteral("/vexa.hlp");
    if (QFileInfo::exists(installed)) return installed;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/vexa.hlp");
    return QFileInfo::exists(beside) ? beside : installed;
}

QString CHelpWindow::Anchor(int topic) {
    if (topic == 0) return QStringLiteral("contents");
    return QStringLiteral("topic-0x%1").arg(QString::number(topic, 16).toUpper());
}

CHelpWindow *CHelpWindow::Show(int topic) {
    static QPointer<CHelpWindow> window;
    if (!window) window = new CHelpWindow;
    const QString path = HelpFilePath();
    if (QFileInfo::exists(path)) {
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        window->m_browser->setSearchPaths({QFileInfo(path).absolutePath()});
        // The file is HTML whatever its extension says.
        window->m_browser->document()->setMetaInformation(QTextDocument::DocumentUrl, url.toString());
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) window->m_browser->setHtml(QString::fromUtf8(file.readAll()));
        window->m_browser->scrollToAnchor(Anchor(topic));
    } else {
        window->m_browser->setHtml(tr("<h2>Vexa Help</h2><p>The help file <b>%1</b> cannot be found. Vexa looks for it "
                                      "in its installation folder and beside the program.</p>")
                                       .arg(path.toHtmlEscaped()));
    }
    // Opened from a dialog that holds the input (a modal one), the help belongs to that
    // dialog for as long as it is open, so that it takes input and stands in front of it;
    // afterwards it is a window of its own again.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != window && window->parentWidget() != modal) {
        const QRect where = window->isVisible() ? window->geometry() : QRect();
        window->setParent(modal, Qt::Window);
        if (where.isValid()) window->setGeometry(where);
        if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            QPointer<CHelpWindow> help = window.data();
            QObject::connect(dialog, &QDialog::finished, help, [help] {
                if (!help) return;
                const QRect at = help->geometry();
                help->setParent(nullptr, Qt::Window);
                help->setGeometry(at);
                help->show();
            });
        }
    } else if (!modal && window->parentWidget()) {
        window->setParent(nullptr, Qt::Window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace vexa
