// The application: the settings, the open trace documents with their windows, and the
// commands of the application itself (File Open, Help, About).
#pragma once

#include "CQtProfile.h"
#include "CVexaClientDoc.h"
#include "ViewInterfaces.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <memory>
#include <vector>

namespace vexa {

class CMainFrame;
class CChildFrame;
class CDocumentViews;

class CVexaClientApp : public QApplication, public IDocumentHost {
    Q_OBJECT
public:
    CVexaClientApp(int &argc, char **argv);
    ~CVexaClientApp() override;

    // Starts the program: the main window, the settings and the command line. False ends
    // the program at once.
    bool InitInstance();
    // The first part of the start-up: the main window and the settings, without the
    // command line.
    bool CreateMainWindow();

    static CVexaClientApp *Instance();

    // IDocumentHost
    VexaSettings &Settings() override { return m_settings; }
    std::string ReadProfileString(const std::string &section, const std::string &key,
                                  const std::string &defaultValue) override;
    void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) override;
    void ShowMessage(const std::string &text) override;
    bool InterpretOnOpen() const override;
    void RunProgress(int64_t bytesRead, int64_t bytesTotal) override;
    void RunFinished() override;

    CQtProfile &Profile() { return *m_profile; }
    CMainFrame *MainFrame() const { return m_pMainFrame; }

    // Opens a trace as a new document in a window of its own; null when it cannot be read.
    CVexaClientDoc *OpenDocumentFile(const QString &path);
    // Another window on an open document (Window > New Window).
    CChildFrame *NewWindow(CVexaClientDoc &doc);
    // A window of a document closed: the document closes with its last window; until then
    // the views of another of its windows are the ones the document talks to.
    void FrameClosed(CChildFrame &frame);
    std::vector<CVexaClientDoc *> Documents() const;

    // The traces opened last, newest first (at most eight), as the settings keep them.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString &path);

    void OnFileOpen();
    void OnHelp(int topic = 0);
    void OnAppAbout();

    // Started with -Embedding or -Automation: no window is shown.
    bool StartedAsServer() const { return m_startedAsServer; }

private:
    struct OpenDocument {
        std::unique_ptr<CVexaClientDoc> doc;
        std::vector<CChildFrame *> frames;
        // What the document talks to while it has more than one window.
        std::unique_ptr<CDocumentViews> views;
    };
    CChildFrame *CreateFrame(OpenDocument &entry, bool firstWindow);
    // The document talks to its one window's views, or to all of its windows' at once;
    // the windows are titled "name:1", "name:2" while there are several.
    void ConnectViews(OpenDocument &entry);

    VexaSettings m_settings;
    std::unique_ptr<CQtProfile> m_profile;
    CMainFrame *m_pMainFrame = nullptr;
    std::vector<std::unique_ptr<OpenDocument>> m_documents;
    QElapsedTimer m_runTimer;
    bool m_runShowsProgress = false;
    bool m_startedAsServer = false;
};

}  // namespace vexa
