#include "TextViewTestSupport.h"

#include "CVexaEditView.h"
#include "ResultLines.h"
#include "SettingsStore.h"

#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vexa::test {

namespace fs = std::filesystem;

namespace {

// A profile holding nothing: every setting takes its built-in value.
class EmptyProfile : public IProfileReader {
public:
    std::string GetProfileString(const std::string &, const std::string &, const std::string &def) override {
        return def;
    }
    int32_t GetProfileInt(const std::string &, const std::string &, int32_t def) override { return def; }
};

}  // namespace

TestHost::TestHost() {
    EmptyProfile empty;
    LoadSettings(empty, settings);
    settings.m_nDefaultProtocol = settings.m_nCurrentProtocol = 1;
    // Direction colours that no other rule uses, so that a row's colour tells its rule.
    settings.m_crIncoming = Rgb(0, 128, 0);
    settings.m_crOutgoing = Rgb(0, 128, 128);
}

std::string SamplePath(const std::string &name) { return std::string(VEXA_SAMPLES_DIR) + "/" + name; }

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vexa-textview-XXXXXX").string();
    if (char *made = mkdtemp(pattern.data())) m_path = made;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!m_path.empty()) {
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_path, ec);
    }
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<CVexaClientDoc> InterpretSample(TestHost &host, const TempFolder &folder, const std::string &sample) {
    host.settings.m_strTempPath = folder.Path() + "/";
    const std::string trace = folder.File(sample);
    fs::copy_file(SamplePath(sample), trace, fs::copy_options::overwrite_existing);
    auto doc = std::make_unique<CVexaClientDoc>(host);
    if (!doc->OnOpenDocument(trace)) return nullptr;
    return doc;
}

std::unique_ptr<CVexaClientDoc> DocumentWithLines(TestHost &host, const std::vector<std::string> &lines) {
    auto doc = std::make_unique<CVexaClientDoc>(host);
    for (const std::string &line : lines) doc->m_DisplayLines.Add(line);
    doc->m_bTraceRecognised = true;
    return doc;
}

QImage Grab(CVexaEditView &view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    view.viewport()->render(&image);
    return image;
}

QSet<QRgb> InkColours(const QImage &image, const QRect &area) {
    QSet<QRgb> colours;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            if (pixel != 0xFFFFFFFFu) colours.insert(pixel);
        }
    }
    return colours;
}

int ScreenRow(const LineArray &lines, size_t i) {
    int row = 0;
    std::string text;
    for (size_t j = 0; j < i && j < lines.size(); ++j) {
        ToDisplayText(lines[j], text);
        if (!text.empty()) ++row;
    }
    return row;
}

size_t FirstLineWith(const LineArray &lines, const std::string &text, size_t from) {
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string_view::npos) return i;
    }
    return lines.size();
}

}  // namespace vexa::test

#include <QApplication>
#include <QTimer>

namespace vexa::test {

namespace {

QList<QTimer *> &Watches() {
    static QList<QTimer *> watches;
    return watches;
}

void WhenShowing(std::function<QWidget *()> find, std::function<void(QWidget *)> handle) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    Watches().append(timer);
    QObject::connect(timer, &QTimer::timeout, [timer, find, handle] {
        if (QWidget *widget = find()) {
            timer->stop();
            Watches().removeOne(timer);
            timer->deleteLater();
            handle(widget);
        }
    });
    timer->start();
}

}  // namespace

void OnNextModal(std::function<void(QWidget *)> handle) {
    WhenShowing([] { return QApplication::activeModalWidget(); }, std::move(handle));
}

void OnNextPopup(std::function<void(QWidget *)> handle) {
    WhenShowing([] { return QApplication::activePopupWidget(); }, std::move(handle));
}

void StopWatchingDialogs() {
    for (QTimer *timer : Watches()) {
        timer->stop();
        timer->deleteLater();
    }
    Watches().clear();
}

}  // namespace vexa::test
