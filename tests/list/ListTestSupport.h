// What the message list tests share: a document host without a profile, and a scripted
// component set up from a trace and a script.
#pragma once

#include "CVexaClientDoc.h"
#include "MemoryHost.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace vexa::listtest {

// Protocol 1, the component's DATA row names and the list's default columns and font.
class Host : public test::MemoryHost {
public:
    Host();
};

// A folder for one test, with the scripted components answering from its script.
class ScriptedFolder {
public:
    ScriptedFolder();
    // Writes trace and script; the calls the component receives go to the call log.
    void Write(const std::string &trace, const std::string &script);
    std::vector<std::string> Calls() const;
    void ClearCalls();
    std::string TracePath() const { return m_dir.filePath("trace.trc").toStdString(); }
    std::string TempPath() const { return m_dir.filePath("tmp").toStdString() + "/"; }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

std::string ReadFile(const std::string &path);

// Script lines.
std::string Parse(int kind, int completion = 0, int status = 0, int index = -1);
std::string Message(int index, int seq, bool valid, const std::string &direction, const std::string &name,
                    const std::string &from = "FROM", const std::string &to = "TO");
std::string Entry(std::initializer_list<std::string> fields);

// A trace of signals, one record line and one LEN row each, with the parse answers
// that complete each signal's message; messages are added by the caller.
struct TraceBuilder {
    std::string trace;
    std::string script;
    int index = 1;
    // Adds a signal whose message index is the next one.
    void Signal(int seq, const std::string &direction, bool valid = true, const std::string &name = "SETUP");
    // A further message of the last signal, without a trace line of its own.
    void ExtraMessage(int seq, const std::string &direction, bool valid, const std::string &name);
};

}  // namespace vexa::listtest
