// Shared pieces of the result text view tests: a document host and a message list that
// record what they are given, documents holding a real interpretation, and looking at
// what a view drew.
#pragma once

#include "CVexaClientDoc.h"
#include "MemoryHost.h"

#include <QColor>
#include <QImage>
#include <QSet>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CVexaEditView;

namespace vexa::test {

// The built-in settings, protocol 1, and direction colours of their own.
class TestHost : public MemoryHost {
public:
    TestHost();
};

class TestList : public IListView {
public:
    bool AddRow(int, int16_t, const std::string &, const std::string &, const std::string &, const std::string &,
                const std::string &, const std::string &, bool) override {
        ++rows;
        return true;
    }
    bool ReplaceRow(int, int16_t, const std::string &, const std::string &, const std::string &,
                    const std::string &, const std::string &, const std::string &, bool) override {
        return true;
    }
    void ClearList() override { rows = 0; }
    int GetRowCount() const override { return rows; }
    std::string GetItemText(int, int) const override { return {}; }
    void FocusList() override { ++focused; }
    int rows = 0;
    int focused = 0;
};

// The samples folder of the project.
std::string SamplePath(const std::string &name);
// A folder of its own for one test, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string &Path() const { return m_path; }
    std::string File(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string &path);

// A document that holds the interpretation of a sample trace by the ISDN component,
// copied into folder so that the samples stay untouched.
std::unique_ptr<CVexaClientDoc> InterpretSample(TestHost &host, const TempFolder &folder, const std::string &sample);

// A document with the given display lines and the trace recognised.
std::unique_ptr<CVexaClientDoc> DocumentWithLines(TestHost &host, const std::vector<std::string> &lines);

// The view's window as the user sees it.
QImage Grab(CVexaEditView &view);
// The colours other than the white ground inside a rectangle of an image.
QSet<QRgb> InkColours(const QImage &image, const QRect &area);
// The index of the screen row of display line i: the lines before it that show text.
int ScreenRow(const LineArray &lines, size_t i);
// The first display line that holds text, from index from on.
size_t FirstLineWith(const LineArray &lines, const std::string &text, size_t from = 0);

}  // namespace vexa::test

#include <functional>

class QWidget;

namespace vexa::test {

// Calls handle with the next modal dialog (or popup menu) once it is showing.
void OnNextModal(std::function<void(QWidget *)> handle);
void OnNextPopup(std::function<void(QWidget *)> handle);
// Stops waiting for dialogs that never came (a test's cleanup).
void StopWatchingDialogs();

}  // namespace vexa::test
