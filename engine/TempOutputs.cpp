#include "TempOutputs.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vexa::TempOutputs {

namespace {

// Fixed slots: the signal handler may only read memory that never moves and call
// functions that are safe in a handler (unlink, sigaction, raise).
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
};
constexpr int kSlots = 64;
Slot g_slots[kSlots];

void OnTermination(int signal) {
    for (Slot &slot : g_slots)
        if (slot.used.load(std::memory_order_acquire)) unlink(slot.path);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);  // delivered with the default action once the handler returns
}

}  // namespace

void Track(const std::string &path) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    for (Slot &slot : g_slots) {
        if (slot.used.load(std::memory_order_relaxed)) {
            if (path == slot.path) return;
            continue;
        }
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used.store(true, std::memory_order_release);
        return;
    }
}

void Untrack(const std::string &path) {
    for (Slot &slot : g_slots)
        if (slot.used.load(std::memory_order_relaxed) && path == slot.path) slot.used.store(false, std::memory_order_release);
}

void RemoveOnTermination() {
    for (int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = &OnTermination;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace vexa::TempOutputs
