// The bare rich-edit control for benchmarks: set up as the text field sets up its window, and fed
// the cheapest way the control takes a text, so a comparison shows only what the field adds.
#pragma once

#include "editor/TextRules.h"

#include <windows.h>

#include <functional>
#include <string>

namespace nv::test {

HWND CreateBareControl(HWND parent, const TFont& font, bool detectUrls = false, bool wordWrap = false);
// Streams the text in as paragraph marks with undo suspended, as the field does.
void BareStreamIn(HWND bare, const std::string& text);
// The same after a small sample that makes the scroll bars the text needs show first, so the control
// never lays the whole text out a second time for them.
void BareStreamInWithBars(HWND bare, const std::string& text);
// The whole text as the control streams it out (CR LF).
std::string BareStreamOut(HWND bare);
// One CR per line break: the control's own paragraph mark.
std::string ParagraphMarks(const std::string& text);

// How long `work` takes, in seconds.
double Seconds(const std::function<void()>& work);

} // namespace nv::test
