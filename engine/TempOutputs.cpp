#include "TempOutputs.h"

#include "OutputText.h"
#include "SettingsStore.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa::TempOutputs {

namespace {

// Fixed slots: the signal handler may only read memory that never moves and call
// functions that are safe in a handler (unlink, sigaction, raise).
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
    dev_t device = 0;
    ino_t inode = 0;
};
constexpr int kSlots = 256;  // runs, rewrites after filters and saves of all open documents
Slot g_slots[kSlots];

// The marker file of this process, once it has been written (empty before). A process
// made by fork has a marker of its own: the one it copied is its parent's.
char g_marker[PATH_MAX];
std::atomic<bool> g_markerWritten{false};
std::atomic<pid_t> g_markerOwner{0};

bool HasMarker() {
    return g_markerWritten.load(std::memory_order_acquire) && g_markerOwner.load(std::memory_order_acquire) == getpid();
}
std::mutex g_markerLock;

constexpr const char *kMarkerPrefix = ".vexa-";
constexpr const char *kMarkerSuffix = ".outputs";
constexpr off_t kLargestMarker = 1 << 20;

void UnlinkTracked() {
    for (Slot &slot : g_slots)
        if (slot.used.load(std::memory_order_acquire)) unlink(slot.path);
    if (HasMarker()) unlink(g_marker);
}

void OnTermination(int signal) {
    UnlinkTracked();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);  // delivered with the default action once the handler returns
}

bool WriteAll(int fd, const std::string &text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Reads a marker file (at most kLargestMarker characters); empty when it cannot be read.
std::string ReadMarker(const std::string &path) {
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return text;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && st.st_size <= kLargestMarker) {
        text.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = read(fd, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        text.resize(got);
    }
    close(fd);
    return text;
}

// Removes the files a marker lists: each only when it is still the very file that was
// made (the same device and inode, the user's own, a regular file), so that a file of
// the same name made since by someone else stays.
void RemoveListed(const std::string &markerPath) {
    const std::string text = ReadMarker(markerPath);
    size_t pos = 0;
    while (pos < text.size()) {
        // "device inode length path\n"
        char *end = nullptr;
        const unsigned long long device = std::strtoull(text.c_str() + pos, &end, 10);
        const unsigned long long inode = std::strtoull(end, &end, 10);
        const unsigned long long length = std::strtoull(end, &end, 10);
        if (*end != ' ') return;
        const size_t start = static_cast<size_t>(end - text.c_str()) + 1;
        if (length == 0 || length >= PATH_MAX || start + length >= text.size() + 1) return;
        const std::string path = text.substr(start, length);
        pos = start + length + 1;
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            static_cast<unsigned long long>(st.st_dev) == device && static_cast<unsigned long long>(st.st_ino) == inode)
            unlink(path.c_str());
    }
}

// Writes the marker anew from the slots; with no file tracked the marker goes. Best
// effort: a marker that cannot be written costs only the clean-up after a hard end.
void WriteMarker() {
    std::lock_guard<std::mutex> guard(g_markerLock);
    if (!HasMarker()) {
        g_markerWritten.store(false, std::memory_order_release);
        const std::string marker = MarkerPath(TemporaryFolder(), static_cast<long>(getpid()));
        if (marker.size() >= PATH_MAX) return;
        // A marker of this number already there was left by an ended process that had
        // the same process number: its files go before the marker is taken over.
        RemoveListed(marker);
        std::memcpy(g_marker, marker.c_str(), marker.size() + 1);
        g_markerOwner.store(getpid(), std::memory_order_release);
        g_markerWritten.store(true, std::memory_order_release);
    }
    std::string text;
    for (Slot &slot : g_slots) {
        if (!slot.used.load(std::memory_order_acquire)) continue;
        const size_t length = std::strlen(slot.path);
        text += std::to_string(static_cast<unsigned long long>(slot.device)) + ' ' +
                std::to_string(static_cast<unsigned long long>(slot.inode)) + ' ' + std::to_string(length) + ' ';
        text.append(slot.path, length);
        text += '\n';
    }
    if (text.empty()) {
        unlink(g_marker);
        return;
    }
    const std::string fresh = std::string(g_marker) + ".new";
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const bool ok = WriteAll(fd, text);
    if (close(fd) == 0 && ok && rename(fresh.c_str(), g_marker) == 0) return;
    unlink(fresh.c_str());
}

// Whether the process pid still runs (or cannot be told: it is then taken to run).
bool ProcessRuns(long pid) {
    if (pid <= 0 || pid > INT_MAX) return true;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

std::string MarkerPath(const std::string &folder, long pid) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + kMarkerPrefix + std::to_string(pid) + kMarkerSuffix;
}

std::string CreateOutput(const std::string &folder, const std::string &tracePath) {
    // Another run may take the name between the choice and the creation: another name
    // is chosen then. Any other failure (no such folder, a full disk) is final.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string name = MakeOutputName(folder, tracePath);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            Track(name);
            return name;
        }
        if (errno != EEXIST) return {};
    }
    errno = EEXIST;
    return {};
}

void Track(const std::string &path) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    Slot *free = nullptr;
    for (Slot &slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed)) {
            if (path == slot.path) return;
        } else if (!free) {
            free = &slot;
        }
    }
    if (!free) return;
    struct stat st {};
    const bool exists = lstat(path.c_str(), &st) == 0;
    free->device = exists ? st.st_dev : 0;
    free->inode = exists ? st.st_ino : 0;
    std::memcpy(free->path, path.c_str(), path.size() + 1);
    free->used.store(true, std::memory_order_release);
    if (exists) WriteMarker();
}

void Untrack(const std::string &path) {
    bool changed = false;
    for (Slot &slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed) && path == slot.path) {
            slot.used.store(false, std::memory_order_release);
            changed = true;
        }
    }
    if (changed && HasMarker()) WriteMarker();
}

void RemoveOnTermination() {
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGUSR1, SIGUSR2}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = &OnTermination;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
    // A file size limit (ulimit -f) would otherwise end the program in the middle of a
    // write and leave the cut output behind; ignored, the write fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
}

void RemoveTracked() {
    UnlinkTracked();
    for (Slot &slot : g_slots) slot.used.store(false, std::memory_order_release);
}

void RemoveLeftBehind(const std::string &folder) {
    DIR *dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    const size_t prefix = std::strlen(kMarkerPrefix);
    const size_t suffix = std::strlen(kMarkerSuffix);
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix, kMarkerPrefix) != 0) continue;
        size_t digits = prefix;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
        if (digits == prefix || digits - prefix > 9 || name.compare(digits, suffix, kMarkerSuffix) != 0) continue;
        const std::string rest = name.substr(digits + suffix);
        if (!rest.empty() && rest != ".new") continue;
        const long pid = std::strtol(name.c_str() + prefix, nullptr, 10);
        if (pid == static_cast<long>(getpid()) || ProcessRuns(pid)) continue;
        const std::string path = MarkerPath(folder, pid) + rest;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) continue;
        if (rest.empty()) RemoveListed(path);
        unlink(path.c_str());
    }
    closedir(dir);
}

}  // namespace vexa::TempOutputs
