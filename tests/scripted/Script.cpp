#include "Script.h"

#include <fstream>
#include <sstream>

namespace vexa::scripted {

namespace {

std::string Unescape(const std::string &field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        char c = field[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> Fields(const std::string &line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(Unescape(field));
    if (!line.empty() && line.back() == '\t') fields.emplace_back();
    return fields;
}

}  // namespace

bool Script::Load(const std::string &path, std::string &error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = Fields(line);
        const std::string &what = f[0];
        auto need = [&](size_t n) {
            if (f.size() < n) throw std::runtime_error("line " + std::to_string(number) + ": too few fields");
        };
        try {
            if (what == "parse") {
                need(4);
                ParseAnswer a;
                a.kind = static_cast<int16_t>(std::stoi(f[1]));
                a.completion = static_cast<int16_t>(std::stoi(f[2]));
                a.status = static_cast<int16_t>(std::stoi(f[3]));
                if (f.size() > 4) a.index = std::stoi(f[4]);
                parses.push_back(a);
            } else if (what == "message") {
                need(5);
                ScriptMessage m;
                m.index = std::stoi(f[1]);
                m.sequence = static_cast<int16_t>(std::stoi(f[2]));
                m.status2 = static_cast<int16_t>(std::stoi(f[3]));
                m.valid = std::stoi(f[4]) != 0;
                m.texts.assign(f.begin() + 5, f.end());
                m.texts.resize(12);
                messages.push_back(std::move(m));
            } else if (what == "count") {
                need(3);
                counts[static_cast<int16_t>(std::stoi(f[1]))] = std::stoi(f[2]);
            } else if (what == "messagecount") {
                need(2);
                messageCount = std::stoi(f[1]);
            } else if (what == "callref") {
                need(3);
                callRefs[std::stoi(f[1])] = f[2];
            } else if (what == "decode") {
                need(4);
                decodes[f[1]] = {std::stoi(f[2]) != 0, f[3]};
            } else if (what == "userpart") {
                need(3);
                userParts[static_cast<int16_t>(std::stoi(f[1]))] = f[2];
            } else if (what == "equ") {
                need(3);
                equs[std::stoi(f[1])] = f[2];
            } else if (what == "pending") {
                need(2);
                pendings.push_back(static_cast<int16_t>(std::stoi(f[1])));
            } else if (what == "find") {
                need(3);
                auto &list = finds[f[1]][f[2]];
                for (size_t i = 3; i < f.size(); ++i) list.push_back(std::stoi(f[i]));
            } else if (what == "findcpn") {
                need(3);
                callingPartyIndex[f[1]] = std::stoi(f[2]);
            } else if (what == "values") {
                need(2);
                values[f[1]].assign(f.begin() + 2, f.end());
            } else {
                error = "line " + std::to_string(number) + ": unknown entry " + what;
                return false;
            }
        } catch (const std::exception &e) {
            error = std::string(e.what()) + " in line " + std::to_string(number);
            return false;
        }
    }
    return true;
}

}  // namespace vexa::scripted
