#include "ListTestSupport.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vexa::listtest {

Host::Host() {
    settings.m_nDefaultProtocol = settings.m_nCurrentProtocol = 1;
    settings.m_strDlrData = "DLRDATA";
    settings.m_strDlrDataLong = "DLRDATALONG";
    settings.m_strDliData = "DLIDATA";
    settings.m_strDliDataLong = "DLIDATALONG";
    settings.m_strDliuiDataLong = "DLIUIDATALONG";
    settings.m_nColumnWidth = kDefaultColumnWidths;
    settings.m_lfMessageList.lfHeight = -13;
    settings.m_lfMessageList.lfWeight = 400;
}

ScriptedFolder::ScriptedFolder() {
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    setenv("VEXA_COMPONENT_PATH", VEXA_SCRIPTED_DIR, 1);
    setenv("VEXA_SCRIPTED_SCRIPT", m_dir.filePath("script.txt").toLocal8Bit().constData(), 1);
    setenv("VEXA_SCRIPTED_LOG", m_dir.filePath("calls.log").toLocal8Bit().constData(), 1);
}

void ScriptedFolder::Write(const std::string &trace, const std::string &script) {
    std::ofstream(TracePath(), std::ios::binary) << trace;
    std::ofstream(m_dir.filePath("script.txt").toStdString(), std::ios::binary) << script;
    ClearCalls();
}

std::vector<std::string> ScriptedFolder::Calls() const {
    std::vector<std::string> calls;
    std::istringstream in(ReadFile(m_dir.filePath("calls.log").toStdString()));
    std::string line;
    while (std::getline(in, line)) calls.push_back(line);
    return calls;
}

void ScriptedFolder::ClearCalls() { std::ofstream(m_dir.filePath("calls.log").toStdString(), std::ios::trunc); }

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Parse(int kind, int completion, int status, int index) {
    std::string s = "parse\t" + std::to_string(kind) + "\t" + std::to_string(completion) + "\t" + std::to_string(status);
    if (index >= 0) s += "\t" + std::to_string(index);
    return s + "\n";
}

std::string Message(int index, int seq, bool valid, const std::string &direction, const std::string &name,
                    const std::string &from, const std::string &to) {
    return "message\t" + std::to_string(index) + "\t" + std::to_string(seq) + "\t1\t" + (valid ? "1" : "0") + "\t" +
           direction + "\tDLRDATALONG\t" + name + "\t09.00.00." + std::to_string(10 + index % 90) + "\t" + from + "\t" +
           to + "\tbody " + std::to_string(index) + "\tPD\n";
}

std::string Entry(std::initializer_list<std::string> fields) {
    std::string s;
    for (const std::string &f : fields) s += (s.empty() ? "" : "\t") + f;
    return s + "\n";
}

void TraceBuilder::Signal(int seq, const std::string &direction, bool valid, const std::string &name) {
    char record[96];
    std::snprintf(record, sizeof record, "09.00.00.%02d %05d  %s DLRDATALONG  FROM  TO\n", 10 + index % 90, seq,
                  direction.c_str());
    trace += std::string(record) + "                        LEN 3\n";
    script += Parse(1) + Parse(3, 1, 1, index) + Message(index, seq, valid, direction, name);
    ++index;
}

void TraceBuilder::ExtraMessage(int seq, const std::string &direction, bool valid, const std::string &name) {
    script += Message(index, seq, valid, direction, name);
    ++index;
}

}  // namespace vexa::listtest
