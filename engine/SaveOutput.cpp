// Saving the interpretation output under a name of the user's choice.
#include "CVexaClientDoc.h"
#include "SettingsStore.h"
#include "TempOutputs.h"

#include <filesystem>
#include <system_error>

namespace vexa {

namespace fs = std::filesystem;

namespace {

// The same file: the same text, or two names of one existing file.
bool SameFile(const std::string &a, const std::string &b) {
    if (a == b) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string CVexaClientDoc::DefaultSaveName() const {
    std::string name = m_strTracePath.substr(m_strTracePath.rfind('/') + 1);
    if (size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    return name + ".out";
}

CVexaClientDoc::SaveResult CVexaClientDoc::SaveOutputAs(const std::string &path, std::string &error) {
    std::error_code ec;
    if (fs::exists(path, ec) && SameFile(path, m_strTracePath)) return SaveResult::SameAsTrace;
    if (fs::is_directory(path, ec)) {
        error = "is a folder; name a file to save the interpretation in";
        return SaveResult::CopyFailed;
    }
    const bool isOutput = SameFile(path, m_strOutputPath);
    if (!isOutput) {
        fs::copy_file(m_strOutputPath, path, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = ec.message();
            return SaveResult::CopyFailed;
        }
    }
    if (!m_bOutputKept && path != m_strOutputPath) m_earlierOutputs.push_back(m_strOutputPath);
    m_strOutputPath = path;
    m_bOutputKept = true;
    TempOutputs::Untrack(path);  // the user's file now, even where it was the temporary one
    m_host.WriteProfileString("", kKeySaveDirectory, path.substr(0, path.rfind('/') + 1));
    return SaveResult::Saved;
}

}  // namespace vexa
