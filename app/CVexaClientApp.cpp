#include "CVexaClientApp.h"

#include "CAboutDialog.h"
#include "CChildFrame.h"
#include "CDocumentViews.h"
#include "CHelpWindow.h"
#include "CMainFrame.h"
#include "CVexaClientView.h"
#include "CVexaEditView.h"
#include "CVexaListView.h"
#include "CVexaMdiEditView.h"
#include "CommandIds.h"
#include "QtPlatform.h"
#include "SettingsStore.h"
#include "TempOutputs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

// The pictures of the menus and the tool bar are linked in from a library.
static void InitAppResources() { Q_INIT_RESOURCE(app); }

namespace vexa {

CVexaClientApp::CVexaClientApp(int &argc, char **argv) : QApplication(argc, argv) {
    // The built-in values before the settings are loaded.
    m_settings.m_nRed = m_settings.m_nGreen = m_settings.m_nBlue = 0;
    m_settings.m_crIncoming = 0x000000FF;
    m_settings.m_crOutgoing = 0x00FF0000;
}

CVexaClientApp::~CVexaClientApp() {
    for (auto &entry : m_documents) entry->doc->OnCloseDocument();
    delete m_pMainFrame;
}

CVexaClientApp *CVexaClientApp::Instance() { return static_cast<CVexaClientApp *>(QCoreApplication::instance()); }

bool CVexaClientApp::CreateMainWindow() {
    InitAppResources();
    setApplicationName(QStringLiteral("Vexa"));
    setOrganizationName(QStringLiteral("Vendrel/Harbek"));
    setWindowIcon(QIcon(QStringLiteral(":/vexa/vexa.xpm")));
    m_profile = std::make_unique<CQtProfile>();

    m_pMainFrame = new CMainFrame(*this);
    m_pMainFrame->m_bInterpretOnOpen = true;
    SetHelpHandler([this](int topic) { OnHelp(topic); });

    m_pMainFrame->SetRecentFiles(RecentFiles());
    LoadSettings(*m_profile, m_settings);
    ReadColors(*m_profile, m_settings);
    if (!m_profile->Refusal().empty()) ShowMessage(m_profile->Refusal() + "; the built-in settings are used");
    // Outputs that ended runs (killed, or stopped by a power cut) left behind go now.
    TempOutputs::RemoveLeftBehind(m_settings.m_strTempPath);
    return true;
}

bool CVexaClientApp::InitInstance() {
    if (!CreateMainWindow()) return false;
    QStringList args = arguments();
    args.removeFirst();
    QString trace;
    for (const QString &a : args) {
        const QString bare = a.startsWith('-') || a.startsWith('/') ? a.mid(1) : a;
        if (bare.compare("Embedding", Qt::CaseInsensitive) == 0 || bare.compare("Automation", Qt::CaseInsensitive) == 0) {
            m_startedAsServer = true;
        } else if (trace.isEmpty()) {
            trace = a;
        }
    }
    if (m_startedAsServer) return true;

    if (!trace.isEmpty() && !OpenDocumentFile(trace)) return false;
    m_pMainFrame->showMaximized();
    if (args.isEmpty()) {
        m_pMainFrame->m_bInterpretOnOpen = false;
        OnFileOpen();
    }
    return true;
}

std::string CVexaClientApp::ReadProfileString(const std::string &section, const std::string &key,
                                              const std::string &defaultValue) {
    return m_profile->GetProfileString(section, key, defaultValue);
}

void CVexaClientApp::WriteProfileString(const std::string &section, const std::string &key, const std::string &value) {
    m_profile->WriteProfileString(section, key, value);
}

void CVexaClientApp::ShowMessage(const std::string &text) {
    if (overrideCursor()) restoreOverrideCursor();
    ShowStopMessage(m_pMainFrame, QString::fromStdString(text));
}

bool CVexaClientApp::InterpretOnOpen() const { return m_pMainFrame && m_pMainFrame->m_bInterpretOnOpen; }

// A run is synchronous: a long one shows how far it has come in the status bar, and
// the windows are repainted, but no input is taken until it ends.
void CVexaClientApp::RunProgress(int64_t bytesRead, int64_t bytesTotal) {
    if (!m_runTimer.isValid()) m_runTimer.start();
    if (!m_runShowsProgress && m_runTimer.elapsed() < 500) return;
    if (!m_runShowsProgress) {
        m_runShowsProgress = true;
        setOverrideCursor(Qt::WaitCursor);
    }
    const int percent = bytesTotal > 0 ? static_cast<int>(bytesRead * 100 / bytesTotal) : 0;
    if (m_pMainFrame) m_pMainFrame->statusBar()->showMessage(tr("Interpreting... %1%").arg(percent));
    processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CVexaClientApp::RunFinished() {
    if (m_runShowsProgress) {
        restoreOverrideCursor();
        if (m_pMainFrame) m_pMainFrame->statusBar()->showMessage(Text(IDS_READY));
    }
    m_runShowsProgress = false;
    m_runTimer.invalidate();
}

CChildFrame *CVexaClientApp::CreateFrame(OpenDocument &entry, bool firstWindow) {
    auto *frame = new CChildFrame(*entry.doc, m_settings, firstWindow);
    entry.frames.push_back(frame);
    m_pMainFrame->AddChildFrame(frame);
    return frame;
}

CVexaClientDoc *CVexaClientApp::OpenDocumentFile(const QString &path) {
    const QFileInfo info(path);
    QString problem;
    if (!info.exists()) problem = tr("%1\nThe file cannot be found.");
    else if (info.isDir()) problem = tr("%1\nThis is a folder, not a signal trace file.");
    else if (!info.isReadable()) problem = tr("%1\nThe file cannot be read.");
    if (!problem.isEmpty()) {
        ShowStopMessage(m_pMainFrame, problem.arg(QDir::toNativeSeparators(path)));
        return nullptr;
    }
    auto entry = std::make_unique<OpenDocument>();
    entry->doc = std::make_unique<CVexaClientDoc>(*this);
    OpenDocument &e = *entry;
    m_documents.push_back(std::move(entry));
    CChildFrame *frame = CreateFrame(e, true);
    if (!e.doc->OnOpenDocument(info.absoluteFilePath().toStdString())) {
        ShowStopMessage(m_pMainFrame, tr("%1\nThe file cannot be read.").arg(QDir::toNativeSeparators(path)));
        frame->close();
        return nullptr;
    }
    frame->SetTitleFromDocument();
    AddRecentFile(info.absoluteFilePath());
    return e.doc.get();
}

namespace {
constexpr int kRecentFiles = 8;
const std::string kRecentSection = "Recent File List";
std::string RecentKey(int i) { return "File" + std::to_string(i + 1); }
}  // namespace

QStringList CVexaClientApp::RecentFiles() const {
    QStringList files;
    for (int i = 0; i < kRecentFiles; ++i) {
        const QString path = QString::fromStdString(m_profile->GetProfileString(kRecentSection, RecentKey(i), ""));
        if (!path.isEmpty() && !files.contains(path)) files << path;
    }
    return files;
}

void CVexaClientApp::AddRecentFile(const QString &path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFiles) files.removeLast();
    for (int i = 0; i < kRecentFiles; ++i)
        m_profile->WriteProfileString(kRecentSection, RecentKey(i), i < files.size() ? files[i].toStdString() : "");
    if (m_pMainFrame) m_pMainFrame->SetRecentFiles(files);
}

CChildFrame *CVexaClientApp::NewWindow(CVexaClientDoc &doc) {
    for (auto &entry : m_documents) {
        if (entry->doc.get() != &doc) continue;
        CChildFrame *frame = CreateFrame(*entry, false);
        ConnectViews(*entry);
        // The new window shows what the others show: the rows, the text and the trace.
        CChildFrame *source = entry->frames.front();
        if (source != frame && source->ResultsFrame())
            frame->ResultsFrame()->ListView()->ListCtrl().CopyRowsFrom(source->ResultsFrame()->ListView()->ListCtrl());
        frame->ResultsFrame()->EditView()->SetContentSizes(doc.m_sizeResult, {}, {});
        frame->TraceView()->Repaint();
        return frame;
    }
    return nullptr;
}

void CVexaClientApp::FrameClosed(CChildFrame &frame) {
    auto it = std::find_if(m_documents.begin(), m_documents.end(),
                           [&](const auto &entry) { return entry->doc.get() == &frame.Document(); });
    if (it == m_documents.end()) return;
    std::vector<CChildFrame *> &frames = (*it)->frames;
    frames.erase(std::remove(frames.begin(), frames.end(), &frame), frames.end());
    if (!frames.empty()) {
        ConnectViews(**it);
        return;
    }
    (*it)->doc->OnCloseDocument();
    m_documents.erase(it);
    if (m_pMainFrame) QTimer::singleShot(0, m_pMainFrame, &CMainFrame::UpdateWindowMenu);
}

void CVexaClientApp::ConnectViews(OpenDocument &entry) {
    std::vector<CChildFrame *> &frames = entry.frames;
    if (frames.size() == 1) {
        frames.front()->RegisterViews();
        frames.front()->SetTitleFromDocument();
        entry.views.reset();
    } else if (frames.size() > 1) {
        if (!entry.views) {
            OpenDocument *e = &entry;
            entry.views = std::make_unique<CDocumentViews>(
                [e] { return e->frames; }, [this] { return m_pMainFrame ? m_pMainFrame->ActiveChildFrame() : nullptr; });
        }
        CVexaClientDoc &doc = *entry.doc;
        doc.m_pListView = entry.views.get();
        doc.m_pResultView = entry.views.get();
        doc.m_pTraceView = entry.views.get();
        for (size_t i = 0; i < frames.size(); ++i) frames[i]->SetTitleFromDocument(static_cast<int>(i) + 1);
    }
    if (m_pMainFrame) m_pMainFrame->UpdateWindowMenu();
}

std::vector<CVexaClientDoc *> CVexaClientApp::Documents() const {
    std::vector<CVexaClientDoc *> docs;
    for (const auto &entry : m_documents) docs.push_back(entry->doc.get());
    return docs;
}

void CVexaClientApp::OnFileOpen() {
    const QString before = QDir::currentPath();
    const QString remembered = QString::fromStdString(m_profile->GetProfileString("", kKeyOpenDirectory, ""));
    if (!remembered.isEmpty()) QDir::setCurrent(remembered);
    const QStringList files = QFileDialog::getOpenFileNames(m_pMainFrame, tr("Open"), QDir::currentPath());
    for (const QString &file : files) OpenDocumentFile(file);
    QDir::setCurrent(before);
}

void CVexaClientApp::OnHelp(int topic) { CHelpWindow::Show(topic); }

void CVexaClientApp::OnAppAbout() {
    CAboutDialog dialog(m_pMainFrame);
    dialog.exec();
}

}  // namespace vexa
