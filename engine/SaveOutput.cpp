// Saving the interpretation output under a name of the user's choice.
#include "CVexaClientDoc.h"
#include "OutputText.h"
#include "SettingsStore.h"
#include "TempOutputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vexa {

namespace fs = std::filesystem;

namespace {

// The same file: the same text, or two names of one existing file.
bool SameFile(const std::string &a, const std::string &b) {
    if (a == b) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

std::string ErrorText(int error) { return std::strerror(error); }

// Copies everything from one open file to another; false (errno set) on a failure.
bool CopyContent(int in, int out) {
    char buffer[256 * 1024];
    for (;;) {
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        size_t done = 0;
        while (done < static_cast<size_t>(got)) {
            const ssize_t n = write(out, buffer + done, static_cast<size_t>(got) - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0) errno = ENOSPC;
                return false;
            }
            done += static_cast<size_t>(n);
        }
    }
}

// The permissions a new file of the user gets.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Copies from onto to without ever leaving to half-written: the copy is made under a
// new name in to's folder and renamed over to only once it is whole, so that a full
// disk, a size limit or Ctrl+C during the copy leaves the previous file as it was (and
// the new name is removed). A name that is a link saves to the file it points to; a
// device or a pipe, which holds nothing to keep, is written straight.
bool ReplaceWithCopy(const std::string &from, const std::string &to, std::string &error) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = errno == ENOENT ? "the interpretation's output file " + from +
                                      " is gone (it could not be written); interpret the trace again"
                                : from + ": " + ErrorText(errno);
        return false;
    }
    std::string target = to;
    struct stat existing {};
    bool exists = lstat(target.c_str(), &existing) == 0;
    if (exists && S_ISLNK(existing.st_mode)) {
        std::error_code ec;
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved.string();
        exists = stat(target.c_str(), &existing) == 0;
    }
    // Writes the target straight, in place.
    auto writeStraight = [&] {
        const int out = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        bool ok = out >= 0 && CopyContent(in, out);
        int saved = errno;
        if (out >= 0 && close(out) != 0 && ok) {
            ok = false;
            saved = errno;
        }
        close(in);
        if (!ok) error = ErrorText(saved);
        return ok;
    };
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) return writeStraight();

    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // A hidden name of the folder's own, short enough for any file system.
    std::string beside = folder + "." + ShortenedName(name, 200) + ".XXXXXX";
    const int out = mkostemp(beside.data(), O_CLOEXEC);
    if (out < 0) {
        // A folder that takes no new file, where the file itself may be written: the
        // only way left is to write it in place.
        if ((errno == EACCES || errno == EPERM || errno == EROFS) && exists && access(target.c_str(), W_OK) == 0)
            return writeStraight();
        error = ErrorText(errno);
        close(in);
        return false;
    }
    TempOutputs::Track(beside);
    bool ok = CopyContent(in, out);
    int saved = errno;
    close(in);
    // The saved file gets the permissions the previous one had, or a new file's.
    if (ok) fchmod(out, exists ? (existing.st_mode & 07777) : NewFileMode());
    if (ok && exists && (existing.st_uid != geteuid() || existing.st_gid != getegid()))
        (void)!fchown(out, existing.st_uid, existing.st_gid);
    if (ok && fsync(out) != 0) {
        ok = false;
        saved = errno;
    }
    if (close(out) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && rename(beside.c_str(), target.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        unlink(beside.c_str());
        error = ErrorText(saved);
    }
    TempOutputs::Untrack(beside);
    return ok;
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
    if (!isOutput && !ReplaceWithCopy(m_strOutputPath, path, error)) return SaveResult::CopyFailed;
    if (!m_bOutputKept && path != m_strOutputPath) m_earlierOutputs.push_back(m_strOutputPath);
    m_strOutputPath = path;
    m_bOutputKept = true;
    TempOutputs::Untrack(path);  // the user's file now, even where it was the temporary one
    m_host.WriteProfileString("", kKeySaveDirectory, path.substr(0, path.rfind('/') + 1));
    return SaveResult::Saved;
}

}  // namespace vexa
