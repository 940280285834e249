// The text field's change and selection reports the window has yet to show on its panels, captions and
// buttons. While keys arrive faster than the screen paints, a user cannot read the panels between two
// of them: a report waits, merged with the ones after it, until the keys stop or a frame has passed
// since the last one was shown. What is shown in the end is what showing each report would show.
#pragma once

#include <cstdint>

namespace nv {

class PendingReports {
  public:
    enum Report : unsigned { kText = 1, kSelection = 2 };
    // About one frame of a 60 Hz screen, in milliseconds.
    static constexpr std::uint32_t kFrame = 16;

    // Notes `reports`; true when they (with any that wait) are to be shown now.
    bool Note(unsigned reports, std::uint32_t now, bool keysWaiting);
    // The reports to show, none waiting after it; the time is that of the showing.
    unsigned Take(std::uint32_t now);
    bool Waiting() const { return pending_ != 0; }
    // How many reports have waited: the measure that the merging happens at all.
    unsigned long Merged() const { return merged_; }

  private:
    unsigned pending_ = 0;
    std::uint32_t lastShown_ = 0;
    bool shownOnce_ = false;
    unsigned long merged_ = 0;
};

} // namespace nv
