// What the window tests share: the application they drive, a scratch folder, and opening,
// closing and reaching into the windows of a trace.
#pragma once

#include "CChildFrame.h"
#include "CListCtrlEx.h"
#include "CMainFrame.h"
#include "CVexaMdiEditView.h"
#include "CVexaClientApp.h"
#include "CVexaListView.h"

#include <QApplication>
#include <QMdiArea>
#include <QObject>
#include <QTemporaryDir>

class WindowTestBase : public QObject {
public:
    explicit WindowTestBase(vexa::CVexaClientApp &app) : m_app(app) {}

protected:
    vexa::CVexaClientApp &m_app;
    QTemporaryDir m_dir;

    vexa::CMainFrame &Main() { return *m_app.MainFrame(); }
    // Opens and interprets the trace at path; its window, or null when it did not open.
    vexa::CChildFrame *Open(const QString &path) {
        Main().m_bInterpretOnOpen = true;
        if (!m_app.OpenDocumentFile(path)) return nullptr;
        QApplication::processEvents();
        return Main().ActiveChildFrame();
    }
    void CloseAll() {
        Main().MdiArea()->closeAllSubWindows();
        QApplication::processEvents();
    }
    static vexa::CListCtrlEx &List(vexa::CChildFrame *frame) {
        return frame->ResultsFrame()->ListView()->ListCtrl();
    }
};
