#include "app/PendingReports.h"

namespace nv {

bool PendingReports::Note(unsigned reports, std::uint32_t now, bool keysWaiting) {
    pending_ |= reports;
    // Differences of tick counts stay right across the counter's wrap.
    const bool frameGone = !shownOnce_ || now - lastShown_ >= kFrame;
    if (!keysWaiting || frameGone) return true;
    ++merged_;
    return false;
}

unsigned PendingReports::Take(std::uint32_t now) {
    const unsigned reports = pending_;
    pending_ = 0;
    lastShown_ = now;
    shownOnce_ = true;
    return reports;
}

} // namespace nv
