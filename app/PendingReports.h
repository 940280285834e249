// The text field's change and selection reports the window has yet to show on its panels, captions and
// buttons. A window paints only once its queue is empty: while keys wait in it, nothing shown between
// two of them could reach the screen. So a report waits, merged with the ones after it, until no key
// waits; what is shown then is what showing each report would have shown.
#pragma once

namespace nv {

class PendingReports {
public:
    enum Report : unsigned { kText = 1, kSelection = 2 };
    // How long the window's timer waits before it shows what a key that reported nothing left waiting,
    // in milliseconds: about one frame of a 60 Hz screen.
    static constexpr unsigned kFallbackDelay = 16;

    // Notes `reports`; true when they (with any that wait) are to be shown now.
    bool Note(unsigned reports, bool keysWaiting);
    // The reports to show, none waiting after it.
    unsigned Take();
    bool Waiting() const { return pending_ != 0; }
    // How many reports have waited: the measure that the merging happens at all.
    unsigned long Merged() const { return merged_; }

private:
    unsigned pending_ = 0;
    unsigned long merged_ = 0;
};

} // namespace nv
