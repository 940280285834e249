// The text field's find and replace: the dialogs, the searches they run, Replace and Replace All.
#include "editor/NvRichEd.h"

#include "base/ScopeExit.h"
#include "editor/RichEditLibrary.h"

#include <richedit.h>

#include <algorithm>

namespace nv {

namespace {
constexpr DWORD kQuietMaskOff = ENM_CHANGE | ENM_SELCHANGE;

bool HoldsLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

TSearchTypes DialogOptions(const TFindDialog& dialog, const SearchSpan& span) {
    TSearchTypes options = 0;
    if (dialog.MatchCase()) options |= stMatchCase;
    if (dialog.WholeWord()) options |= stWholeWord;
    if (span.Backward) options |= stBackward;
    return options;
}
} // namespace

// ---- The dialogs ---------------------------------------------------------------------------------

void TNvRichEdit::ShowFindDialog(const std::string& text) {
    if (!findDialog_) {
        findDialog_ = std::make_unique<TFindDialog>();
        if (replaceDialog_) findDialog_->SetFindText(replaceDialog_->FindText());
    }
    ShowSearchDialog(*findDialog_, text);
}

void TNvRichEdit::ShowReplaceDialog(const std::string& text, const std::string& replacement) {
    if (!replaceDialog_) {
        replaceDialog_ = std::make_unique<TReplaceDialog>();
        if (findDialog_) replaceDialog_->SetFindText(findDialog_->FindText());
    }
    if (!replacement.empty()) replaceDialog_->SetReplaceText(replacement);
    ShowSearchDialog(*replaceDialog_, text);
}

void TNvRichEdit::ShowSearchDialog(TFindDialog& dialog, const std::string& text) {
    if (!text.empty()) dialog.SetFindText(text); // an empty selection keeps the last text
    if (RichEditVersion() < 2) {
        // The control cannot search backward.
        dialog.SetDown(true);
        dialog.SetDirectionHidden(true);
    }
    dialog.Execute(parent_);
}

bool TNvRichEdit::HandleFindMessage(UINT msg, LPARAM lParam) {
    if (msg != FindReplaceMessage() || lParam == 0) return false;
    TFindDialog* dialog = nullptr;
    if (findDialog_ && findDialog_->Owns(lParam)) dialog = findDialog_.get();
    if (replaceDialog_ && replaceDialog_->Owns(lParam)) dialog = replaceDialog_.get();
    if (!dialog) return false;
    switch (dialog->TakeRequest()) {
    case TFindDialog::TRequest::FindNext:
        SearchWithDialog(*dialog, true, true);
        break;
    case TFindDialog::TRequest::Replace:
        if (dialog == replaceDialog_.get()) ReplaceWithDialog(*replaceDialog_, false);
        break;
    case TFindDialog::TRequest::ReplaceAll:
        if (dialog == replaceDialog_.get()) ReplaceWithDialog(*replaceDialog_, true);
        break;
    default:
        break;
    }
    return true;
}

// ---- Searching -----------------------------------------------------------------------------------

bool TNvRichEdit::LocateText(const std::string& text, long start, long length, TSearchTypes options,
                             PositionRange& match) const {
    // Nothing cannot be found: an empty match would let Replace All insert for ever.
    if (!hwnd_ || text.empty()) return false;
    const bool backward = RichEditVersion() >= 2 && (options & stBackward);
    const PositionRange bounds = SearchBounds(start, length, backward);
    FINDTEXTEXA find{};
    find.chrg = {bounds.Start, bounds.End};
    find.lpstrText = text.c_str();
    WPARAM flags = 0;
    if (!backward) flags |= FR_DOWN;
    if (options & stWholeWord) flags |= FR_WHOLEWORD;
    if (options & stMatchCase) flags |= FR_MATCHCASE;
    if (Call(EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find)) < 0) return false;
    match = {find.chrgText.cpMin, find.chrgText.cpMax};
    return true;
}

long TNvRichEdit::SearchText(const std::string& text, long start, long length, TSearchTypes options) {
    PositionRange match;
    if (!LocateText(text, start, length, options, match)) return -1;
    if (options & stSelectMatch) {
        CHARRANGE range{match.Start, match.End};
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        Call(EM_SCROLLCARET);
    }
    return match.Start;
}

bool TNvRichEdit::SearchWithDialog(TFindDialog& dialog, bool moveDialog, bool report) {
    CHARRANGE selection{0, 0};
    if (hwnd_) Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const SearchSpan span =
        DialogSearchSpan(selection.cpMin, selection.cpMax, TextLengthAsCrLf(), dialog.Down());
    const std::string text = dialog.FindText();
    const long found = SearchText(text, span.Start, span.Length, DialogOptions(dialog, span) | stSelectMatch);
    if (!text.empty()) lastSearchDialog_ = &dialog;
    if (found < 0) {
        if (report) Raise(OnTextNotFound, this, text);
        return false;
    }
    if (moveDialog) MoveDialogOffMatch(dialog);
    return true;
}

bool TNvRichEdit::FindAgain() {
    if (!hwnd_ || !lastSearchDialog_ || lastSearchDialog_->FindText().empty()) return false;
    return SearchWithDialog(*lastSearchDialog_, false, true);
}

void TNvRichEdit::MoveDialogOffMatch(TFindDialog& dialog) {
    HWND window = dialog.Handle();
    if (!hwnd_ || !window || !::IsWindow(window)) return;
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    auto clientPoint = [this](long pos) {
        if (RichEditVersion() < 2) {
            const LRESULT packed = Call(EM_POSFROMCHAR, static_cast<WPARAM>(pos));
            return POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
        }
        POINTL at{0, 0};
        Call(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), pos);
        return POINT{at.x, at.y};
    };
    POINT start = clientPoint(selection.cpMin), end = clientPoint(selection.cpMax);
    end.y += 20;
    ::ClientToScreen(hwnd_, &start);
    ::ClientToScreen(hwnd_, &end);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const std::optional<long> top =
        DialogTopOffMatch({rect.left, rect.top, rect.right, rect.bottom}, {start.x, start.y}, {end.x, end.y},
                          ::GetSystemMetrics(SM_CYSCREEN));
    if (top) {
        ::SetWindowPos(window, nullptr, rect.left, static_cast<int>(*top), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// ---- Replacing -----------------------------------------------------------------------------------

void TNvRichEdit::ReplaceWithDialog(TReplaceDialog& dialog, bool all) {
    if (!all) {
        // Starts after the selection, so an occurrence already selected is passed over.
        if (SearchWithDialog(dialog, true, true)) ReplaceSelection(dialog.ReplaceText());
        return;
    }
    if (!ReplaceAllFits(dialog)) return;
    long count = 0;
    BeginQuietEdits();
    {
        ScopeExit loud([this] { EndQuietEdits(); });
        count = ReplaceAll(dialog);
        if (count > 0) MoveDialogOffMatch(dialog);
    }
    // Reported once the field draws again: its box may stay open a long time.
    if (count == 0) {
        Raise(OnTextNotFound, this, dialog.FindText());
        return;
    }
    Raise(OnChange, this);
    Raise(OnSelectionChange, this);
}

// The occurrences are counted only where replacing them makes the text cost more; the windows kept for
// undo give their memory back before Replace All is refused.
bool TNvRichEdit::ReplaceAllFits(TReplaceDialog& dialog) {
    const std::string text = dialog.FindText(), replacement = dialog.ReplaceText();
    const TextShape one = ReplacementGrowth(text, replacement, 1);
    if (!hwnd_ || text.empty() || (one.Characters | one.Lines | one.DigitRuns | one.Signs) == 0) return true;
    const TextMemoryNeed need =
        MemoryNeedOf(ReplacementGrowth(text, replacement, FindInText(GetWholeText(), dialog).size()));
    if (MakeRoom(need)) return true;
    Raise(OnReplaceTooLarge, this, need);
    return false;
}

// Each replacement is its own undo step, and each search starts beyond the text just inserted.
long TNvRichEdit::ReplaceAll(TReplaceDialog& dialog) {
    long count = ReplaceAllInMemory ? ReplaceOlderInMemory(dialog) : 0;
    const std::string replacement = dialog.ReplaceText();
    while (SearchWithDialog(dialog, false, false)) {
        ReplaceSelection(replacement);
        ++count;
    }
    return count;
}

// The control spends a long time on every replacement, and undo keeps only the last `UndoLimit`
// of them: the ones before are made in memory and the text handed over in one piece, which leaves
// the selection where the loop would have left it; the loop then makes the rest.
long TNvRichEdit::ReplaceOlderInMemory(TReplaceDialog& dialog) {
    const std::string text = dialog.FindText(), replacement = dialog.ReplaceText();
    if (!hwnd_ || RichEditVersion() < 2 || undoLimit_ < 2 || text.empty() || HoldsLineBreak(text) ||
        HoldsLineBreak(replacement)) {
        return 0;
    }
    const std::string whole = GetWholeText();
    const std::vector<PositionRange> matches =
        FindsLikeTheControl(dialog) ? FindInText(whole, dialog) : CollectMatches(dialog);
    const size_t count = InMemoryReplacements(matches.size(), undoLimit_);
    if (count == 0) return 0;
    if (dialog.WholeWord() && MayTouchNextOccurrence(whole, matches, text, dialog.Down())) return 0;
    const InMemoryReplaceResult result = ReplaceInMemory(whole, matches, count, replacement);
    ReplaceContent(&result.Text);
    QuietWindow();
    CHARRANGE made{result.Selection.Start, result.Selection.End};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&made));
    return static_cast<long>(count);
}

// Searching the text in memory finds what the control finds when case is matched, or when the search
// text is ASCII and the code page folds no other letter onto ASCII ones, and no whole word is asked
// for (the control's idea of a word stays its own). Collecting 20,000 occurrences one search at a time
// costs the Wine control seconds per megabyte.
bool TNvRichEdit::FindsLikeTheControl(const TFindDialog& dialog) {
    if (dialog.WholeWord()) return false;
    if (dialog.MatchCase()) return true;
    const std::string text = dialog.FindText();
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii && ::GetACP() == 1252;
}

std::vector<PositionRange> TNvRichEdit::FindInText(const std::string& whole, TFindDialog& dialog) const {
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const bool down = dialog.Down();
    const long from =
        down ? std::max(selection.cpMin, selection.cpMax) : std::min(selection.cpMin, selection.cpMax);
    return FindOccurrences(whole, dialog.FindText(), dialog.MatchCase(), from, down);
}

// The occurrences the replace loop would meet, in its order, found in the text as it is now.
std::vector<PositionRange> TNvRichEdit::CollectMatches(TFindDialog& dialog) {
    std::vector<PositionRange> matches;
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const long wholeLength = TextLengthAsCrLf();
    const bool down = dialog.Down();
    const std::string text = dialog.FindText();
    SearchSpan span = DialogSearchSpan(selection.cpMin, selection.cpMax, wholeLength, down);
    const TSearchTypes options = DialogOptions(dialog, span);
    PositionRange match;
    while (LocateText(text, span.Start, span.Length, options, match)) {
        if (match.End <= match.Start) return {}; // cannot happen with a text; the loop decides then
        matches.push_back(match);
        // The loop goes on from the end (down) or the start (up) of what it inserted.
        const long next = down ? match.End : match.Start;
        span = DialogSearchSpan(next, next, wholeLength, down);
    }
    return matches;
}

// While Replace All runs, the control neither reports nor redraws.
void TNvRichEdit::BeginQuietEdits() {
    ++notifyLock_;
    quietMask_ = hwnd_ ? static_cast<DWORD>(Call(EM_GETEVENTMASK)) : 0;
    QuietWindow();
}

void TNvRichEdit::QuietWindow() {
    if (!hwnd_) return;
    Call(EM_SETEVENTMASK, 0, static_cast<LPARAM>(Call(EM_GETEVENTMASK) & ~kQuietMaskOff));
    Call(WM_SETREDRAW, FALSE);
}

void TNvRichEdit::EndQuietEdits() noexcept {
    if (hwnd_) {
        Call(EM_SETEVENTMASK, 0, static_cast<LPARAM>(quietMask_));
        Call(WM_SETREDRAW, TRUE);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
    --notifyLock_;
}

} // namespace nv
