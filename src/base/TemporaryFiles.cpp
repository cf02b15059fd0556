#include "base/TemporaryFiles.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

// Saves that run at once: batch mode writes one file at a time, the window
// and a script a few.
constexpr int kSlots = 32;

enum SlotState : int { kFree, kFilling, kHeld };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

Slot g_Slots[kSlots];

}  // namespace

int RememberTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_Slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(g_Slots[i].path, path.c_str(), path.size() + 1);
        g_Slots[i].state.store(kHeld);
        return i;
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    g_Slots[slot].state.store(kFree);
}

void RemoveTemporariesNow() {
    for (Slot& s : g_Slots)
        if (s.state.load() == kHeld) ::unlink(s.path);
}
