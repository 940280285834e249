#include "app/PendingReports.h"

namespace nv {

bool PendingReports::Note(unsigned reports, bool keysWaiting) {
    pending_ |= reports;
    if (!keysWaiting) return true;
    ++merged_;
    return false;
}

unsigned PendingReports::Take() {
    const unsigned reports = pending_;
    pending_ = 0;
    return reports;
}

} // namespace nv
