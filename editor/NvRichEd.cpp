#include "editor/NvRichEd.h"

#include "base/DpiRules.h"

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Platform.h"
#include "base/ScopeExit.h"
#include "base/Window.h"
#include "editor/RichEditLibrary.h"

#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace nv {

namespace {

// Below this a text is laid out again quickly enough whatever it holds.
constexpr size_t kScrollBarSampleFrom = 64u << 10;
constexpr DWORD kEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED; // 0x2C0001

std::uint32_t RgbOf(TColor color) {
    if ((color & clSystemColor) == clSystemColor) return ::GetSysColor(color & 0xFF);
    return static_cast<std::uint32_t>(color) & 0xFFFFFF;
}

// ---- Stream callbacks ------------------------------------------------------------------------
// An exception must not unwind through the control's own frames: a callback keeps what it caught,
// answers an error so the control stops, and the caller throws it again once the control returned.
struct StreamJob {
    std::exception_ptr error;
    TObject* sender = nullptr;
    const TProgressEvent* progress = nullptr;

    void Report(int percent) {
        if (progress && *progress) (*progress)(sender, percent);
    }
    void RethrowIfFailed() const {
        if (error) std::rethrow_exception(error);
    }
};

template <class Job, class Step> DWORD RunStreamStep(DWORD_PTR cookie, LONG* done, Step&& step) noexcept {
    auto* job = reinterpret_cast<Job*>(cookie);
    try {
        *done = step(*job);
        return 0;
    } catch (...) {
        job->error = std::current_exception();
        *done = 0;
        return 1;
    }
}

struct StreamInJob : StreamJob {
    explicit StreamInJob(const std::string& text) : streamer(text) {}
    LineBreakStreamer streamer;
};

DWORD CALLBACK ReadFromStreamer(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* read) {
    return RunStreamStep<StreamInJob>(cookie, read, [&](StreamInJob& job) {
        const size_t count =
            job.streamer.Read(reinterpret_cast<char*>(buffer), static_cast<size_t>(capacity));
        job.Report(job.streamer.PercentDone());
        return static_cast<LONG>(count);
    });
}

struct StringSinkJob : StreamJob {
    std::string text;
};

DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    return RunStreamStep<StringSinkJob>(cookie, written, [&](StringSinkJob& job) {
        job.text.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
        return count;
    });
}

// Writes the control's output to a file. Zero bytes at the very end are held back and dropped:
// the Wine control ends its rich text with one, which no text can hold.
struct FileSink : StreamJob {
    explicit FileSink(HANDLE target, long expected) : file(target), expectedBytes(expected) {}
    HANDLE file;
    long expectedBytes; // for the progress figure; rich text may run past it
    unsigned long long writtenBytes = 0;
    size_t pendingZeros = 0;
    bool failed = false;

    bool Write(const char* data, size_t count) {
        while (count > 0) {
            DWORD done = 0;
            if (!::WriteFile(file, data, static_cast<DWORD>(std::min<size_t>(count, 1 << 30)), &done,
                             nullptr) ||
                done == 0) {
                failed = true;
                return false;
            }
            data += done;
            count -= done;
        }
        return true;
    }
    bool Append(const char* data, size_t count) {
        size_t body = count;
        while (body > 0 && data[body - 1] == '\0')
            --body;
        if (body > 0) {
            static const char zeros[64] = {};
            while (pendingZeros > 0) {
                size_t n = std::min(pendingZeros, sizeof zeros);
                if (!Write(zeros, n)) return false;
                pendingZeros -= n;
            }
            if (!Write(data, body)) return false;
        }
        pendingZeros += count - body;
        return true;
    }
};

DWORD CALLBACK WriteToSink(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    return RunStreamStep<FileSink>(cookie, written, [&](FileSink& sink) -> LONG {
        if (!sink.Append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count))) {
            throw EStreamError("Failed to Save Stream");
        }
        sink.writtenBytes += static_cast<unsigned long long>(count);
        if (sink.expectedBytes > 0) {
            sink.Report(static_cast<int>(std::min<unsigned long long>(
                100, sink.writtenBytes * 100 / static_cast<unsigned long long>(sink.expectedBytes))));
        }
        return count;
    });
}

} // namespace

// The control copies through OLE, which renders the text only when it is asked for; when the
// control's window goes it takes OLE, and the rendering, with it, and the clipboard is left with
// formats and nothing behind them. Rendered now, a copy stays whatever the field does afterwards.
void TNvRichEdit::RenderCopiedData() noexcept {
    HWND owner = ::GetClipboardOwner();
    if (owner && ::GetWindowThreadProcessId(owner, nullptr) == ::GetCurrentThreadId()) ::OleFlushClipboard();
}

TShiftState CurrentShiftState() {
    TShiftState state = 0;
    if (::GetKeyState(VK_SHIFT) < 0) state |= ssShift;
    if (::GetKeyState(VK_MENU) < 0) state |= ssAlt;
    if (::GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
    return state;
}

TNvRichEdit::TNvRichEdit() : LargeEditFrom(RunningOnWine() ? kLargeEditFrom : 0) {}

TNvRichEdit::~TNvRichEdit() {
    OnChange = nullptr;
    OnSelectionChange = nullptr;
    lastSearchDialog_ = nullptr;
    findDialog_.reset();
    replaceDialog_.reset();
    DestroyControlWindow();
}

// ---- Window --------------------------------------------------------------------------------------

void TNvRichEdit::CreateWnd(HWND parent, const RECT& bounds, int id) {
    parent_ = parent;
    bounds_ = bounds;
    id_ = id;
    ++notifyLock_;
    try {
        CreateControlWindow(nullptr, false);
    } catch (...) {
        --notifyLock_;
        throw;
    }
    --notifyLock_;
}

DWORD TNvRichEdit::CreationStyle() const {
    DWORD style = WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_SAVESEL |
                  WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL;
    if (visible_) style |= WS_VISIBLE;
    if (!wordWrap_) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (!hideScrollBars_) style |= ES_DISABLENOSCROLL;
    if (selectionBar_) style |= ES_SELECTIONBAR;
    if (!hideSelection_) style |= ES_NOHIDESEL;
    return style;
}

void TNvRichEdit::CreateControlWindow(const std::string* content, bool modified) {
    ++building_;
    ScopeExit built([this] { --building_; });
    hwnd_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, RichEditClassName(), "", CreationStyle(), bounds_.left,
                              bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top,
                              parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) throw EError(Format("Error creating window class %s", std::string(RichEditClassName())));
    // ES_SELECTIONBAR shares its bit with WS_MAXIMIZE, so the new child fills its parent: put it back.
    ::SetWindowPos(hwnd_, nullptr, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                   bounds_.bottom - bounds_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    AttachSubclass(hwnd_);

    const int level = RichEditVersion();
    Call(EM_SETEVENTMASK, 0, level >= 2 ? (kEventMask | ENM_LINK) : kEventMask);
    Call(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(RgbOf(clWindow)));
    ApplyTextLimit(content ? static_cast<long>(content->size()) : 0);
    ApplyWordSelection(hwnd_);
    if (level >= 2) {
        Call(EM_AUTOURLDETECT, autoURLDetect_ ? TRUE : FALSE);
        undoLimit_ = static_cast<int>(Call(EM_SETUNDOLIMIT, static_cast<WPARAM>(undoLimit_)));
        history_.SetLimit(undoLimit_);
        Call(EM_SETTEXTMODE, (plainText_ ? TM_PLAINTEXT : TM_RICHTEXT) |
                                 (undoLimit_ >= 2 ? TM_MULTILEVELUNDO : TM_SINGLELEVELUNDO));
        Call(EM_SETLANGOPTIONS, 0, 0);
    }
    // Without a target line width of 1 the control wraps even with a horizontal scroll bar.
    Call(EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);
    ApplyFont(hwnd_);
    ApplySelectionBarWidth();
    if (content) StreamIn(*content);
    Call(EM_SETMODIFY, modified ? TRUE : FALSE);
}

// The history goes with the windows.
void TNvRichEdit::DestroyControlWindow() {
    RenderCopiedData();
    ResetHistory();
    if (!hwnd_) return;
    HWND window = hwnd_;
    DetachSubclass(window);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
}

// Replaces the window, and with it the whole text: far cheaper than letting the control delete a
// long text, and it clears the undo history as any whole-text replacement does.
void TNvRichEdit::ReplaceContent(const std::string* content) {
    if (!parent_) return; // a window that failed to come back before is made again here
    const bool hadFocus = ::GetFocus() == hwnd_;
    ++notifyLock_;
    try {
        DestroyControlWindow();
        CreateControlWindow(content, false);
    } catch (...) {
        --notifyLock_;
        throw;
    }
    --notifyLock_;
    if (hadFocus) ::SetFocus(hwnd_);
}

// The caret, the selection and the first line shown stay where they were.
void TNvRichEdit::Rebuild() {
    if (!hwnd_) return;
    const bool modified = Modified();
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const long firstShown = static_cast<long>(Call(EM_LINEINDEX, static_cast<WPARAM>(Call(EM_GETFIRSTVISIBLELINE))));
    // The old window goes only once its whole text is safe in memory.
    StringSinkJob saved;
    saved.text.reserve(static_cast<size_t>(TextLengthAsCrLf()));
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&saved), 0, &AppendToString};
    Call(EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&out));
    saved.RethrowIfFailed();
    if (out.dwError != 0) throw EStreamError("Failed to Save Stream");

    const bool hadFocus = ::GetFocus() == hwnd_;
    ++notifyLock_;
    try {
        DestroyControlWindow();
        try {
            CreateControlWindow(&saved.text, modified);
        } catch (const EError&) {
            // The text lives only in `saved` now: a window refused once (resources short for a moment) is
            // asked for once more before the error goes up.
            DestroyControlWindow();
            CreateControlWindow(&saved.text, modified);
        }
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        const long line = static_cast<long>(Call(EM_EXLINEFROMCHAR, 0, firstShown));
        Call(EM_LINESCROLL, 0, line - static_cast<long>(Call(EM_GETFIRSTVISIBLELINE)));
    } catch (...) {
        --notifyLock_;
        throw;
    }
    --notifyLock_;
    if (hadFocus) ::SetFocus(hwnd_);
    RaiseChange();
    RaiseSelectionChange();
}

void TNvRichEdit::StreamIn(const std::string& content) {
    const int level = RichEditVersion();
    // Undo is suspended while the text comes in: the history starts empty anyway.
    if (level >= 2) Call(EM_SETUNDOLIMIT, 0);
    if (content.size() >= kScrollBarSampleFrom) {
        // The scroll bars the text needs come first, while the control holds only a sample of it.
        const std::string sample = ScrollBarSample(content);
        StreamInJob first(sample);
        EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&first), 0, &ReadFromStreamer};
        Call(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&in));
        first.RethrowIfFailed();
    }
    StreamInJob job(content);
    job.sender = this;
    job.progress = &OnLoadProgress;
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&job), 0, &ReadFromStreamer};
    Call(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&in));
    if (in.dwError != 0 && !job.error) {
        job.streamer.Rewind();
        in.dwError = 0;
        Call(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
    }
    if (level >= 2) Call(EM_SETUNDOLIMIT, static_cast<WPARAM>(undoLimit_));
    job.RethrowIfFailed();
    if (in.dwError != 0) throw EStreamError("Failed to Load Stream");
    if (!job.streamer.AtEnd() || std::exchange(outOfSpace_, false)) throw ETextTooLarge(MemoryNeedOf(content));
    CHARRANGE start{0, 0};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
}

void TNvRichEdit::SetBounds(const RECT& bounds) {
    bounds_ = bounds;
    if (hwnd_) {
        ::MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     TRUE);
        ApplySelectionBarWidth();
    }
}

int TNvRichEdit::PixelsPerInch() const { return pixelsPerInch_ > 0 ? pixelsPerInch_ : ScreenPixelsPerInch(); }

void TNvRichEdit::SetPixelsPerInch(int dpi) {
    if (dpi == pixelsPerInch_) return;
    pixelsPerInch_ = dpi;
    ForEachWindow([this](HWND window) { ApplyFont(window); });
    ApplySelectionBarWidth();
}

void TNvRichEdit::ApplySelectionBarWidth() {
    const int extra = selectionBar_ ? DpiScaled(8, PixelsPerInch()) - 8 : 0;
    if (!hwnd_ || (extra <= 0 && !selectionBarWidened_)) return;
    // From the control's own rectangle for its size, every time: it is not moved in twice.
    Call(EM_SETRECT, 0, 0);
    selectionBarWidened_ = extra > 0;
    if (extra <= 0) return;
    RECT format{};
    Call(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    format.left += extra;
    Call(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
}

void TNvRichEdit::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_) ::ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

// ---- Properties ----------------------------------------------------------------------------------

void TNvRichEdit::SetUndoLimit(int value) {
    if (value == undoLimit_) return;
    undoLimit_ = value;
    if (hwnd_ && RichEditVersion() >= 2) {
        ForEachWindow([&](HWND window) {
            undoLimit_ = static_cast<int>(CallControl(window, EM_SETUNDOLIMIT, static_cast<WPARAM>(value), 0));
        });
    }
    history_.SetLimit(undoLimit_);
}

void TNvRichEdit::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    Rebuild();
}

void TNvRichEdit::SetSelectionBar(bool value) {
    if (value == selectionBar_) return;
    selectionBar_ = value;
    Rebuild();
}

// The options reach every window of the history, so a window shown again by undo or redo shows
// the text as the others do.
void TNvRichEdit::SetAutoURLDetect(bool value) {
    if (value == autoURLDetect_) return;
    autoURLDetect_ = value;
    if (RichEditVersion() >= 2)
        ForEachWindow([&](HWND window) { CallControl(window, EM_AUTOURLDETECT, value ? TRUE : FALSE, 0); });
}

void TNvRichEdit::SetWordSelection(bool value) {
    wordSelection_ = value;
    ForEachWindow([this](HWND window) { ApplyWordSelection(window); });
}

void TNvRichEdit::ApplyWordSelection(HWND window) {
    CallControl(window, EM_SETOPTIONS, wordSelection_ ? ECOOP_OR : ECOOP_AND,
                 wordSelection_ ? ECO_AUTOWORDSELECTION : ~static_cast<LPARAM>(ECO_AUTOWORDSELECTION));
}

void TNvRichEdit::SetFont(const TFont& font) {
    font_ = font;
    bool links = false;
    ForEachWindow([&](HWND window) {
        ApplyFont(window);
        links = links || (autoURLDetect_ && HoldsLinks(window));
    });
    // A new format ends the typing step, as the control's own setting would.
    if (hwnd_) history_.GroupClosed();
    // The Wine control keeps a detected link's run in the format it was made with, whatever is set
    // afterwards: the text goes in again, and its links are made anew in the new font.
    if (hwnd_ && links) {
        CHARRANGE selection{0, 0};
        Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        Rebuild();
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        Call(EM_SCROLLCARET);
    }
}

// A format asked of the whole text leaves the link effect out of its mask when only part of it is a
// link.
bool TNvRichEdit::HoldsLinks(HWND window) const {
    const auto call = [this, window](UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return CallControl(window, msg, wParam, lParam);
    };
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    if (RichEditVersion() < 2 || call(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)) == 0) return false;
    CHARRANGE selection{0, 0};
    call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    ++notifyLock_;
    const DWORD mask = static_cast<DWORD>(call(EM_GETEVENTMASK));
    call(EM_SETEVENTMASK, 0, mask & ~static_cast<DWORD>(ENM_SELCHANGE));
    CHARRANGE all{0, -1};
    call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    call(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    call(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask));
    --notifyLock_;
    return !(format.dwMask & CFM_LINK) || (format.dwEffects & CFE_LINK);
}

void TNvRichEdit::ApplyFont(HWND window) {
    const CharFormatSpec wanted = MakeCharFormatSpec(font_, PixelsPerInch(), &RgbOf);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR |
                    CFM_CHARSET | CFM_WEIGHT;
    lstrcpynA(format.szFaceName, wanted.FaceName.c_str(), LF_FACESIZE);
    // The control draws points at the screen's DPI; the field's may differ (a monitor of its own).
    format.yHeight = ::MulDiv(wanted.TwentiethsOfPoint, PixelsPerInch(), ScreenPixelsPerInch());
    format.wWeight = static_cast<WORD>(wanted.Weight);
    if (wanted.Bold) format.dwEffects |= CFE_BOLD;
    if (wanted.Italic) format.dwEffects |= CFE_ITALIC;
    if (wanted.Underline) format.dwEffects |= CFE_UNDERLINE;
    if (wanted.StrikeOut) format.dwEffects |= CFE_STRIKEOUT;
    if (wanted.AutoColor) format.dwEffects |= CFE_AUTOCOLOR;
    format.crTextColor = wanted.Rgb;
    format.bCharSet = wanted.Charset;
    format.bPitchAndFamily = wanted.Pitch;
    CallControl(window, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void TNvRichEdit::ApplyTextLimit(long length) {
    textLimit_ = TextLimitFor(length, maxLength_);
    Call(EM_EXLIMITTEXT, 0, textLimit_);
}

// A control whose text has reached its limit refuses every typed character, so the limit moves up
// ahead of the text.
void TNvRichEdit::EnsureRoomFor(long extra) {
    if (!hwnd_) return;
    const long needed = TextLength() + extra;
    if (needed + kTypingRoom / 16 > textLimit_) ApplyTextLimit(needed);
}

// ---- Operations ----------------------------------------------------------------------------------

std::string TNvRichEdit::GetWholeText() const {
    if (!hwnd_) return {};
    const size_t length = static_cast<size_t>(TextLengthAsCrLf());
    if (length == 0) return {};
    // Read straight into the result, with room for the terminating zero the control writes.
    std::string text(length + 1, '\0');
    LRESULT copied = 0;
    if (RichEditVersion() >= 2) {
        GETTEXTEX request{};
        request.cb = static_cast<DWORD>(text.size());
        request.flags = GT_USECRLF;
        request.codepage = CP_ACP;
        copied =
            Call(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.data()));
    } else {
        copied = Call(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    }
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(length))));
    return text;
}

void TNvRichEdit::SetWholeText(const std::string& text) {
    ReplaceContent(&text); // the new window starts unmodified, as WM_SETTEXT leaves the control
    RaiseChange();
    RaiseSelectionChange();
}

void TNvRichEdit::ClearText() {
    ReplaceContent(nullptr);
    Call(EM_SETMODIFY, FALSE);
    RaiseChange();
    RaiseSelectionChange();
}

void TNvRichEdit::WriteToFile(const std::string& path) {
    TStreamFormat format = FormatForPath(path, streamFormat_);
    if (format == TStreamFormat::sfRichText) {
        const long from = selectionStreamMode_ ? SelectionStart() : 0;
        const long length = selectionStreamMode_ ? SelectionLength() : TextLength();
        if (IsRtfMarkup(TextRange(from, from + std::min(length, kRtfSignatureLength))))
            format = TStreamFormat::sfPlainText;
    }
    FileHandle file(OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file) throw EFCreateError(Format("Cannot create file %s", path));
    FileSink sink(file.get(), selectionStreamMode_ ? SelectionLength() : TextLengthAsCrLf());
    sink.sender = this;
    sink.progress = &OnSaveProgress;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&sink), 0, &WriteToSink};
    WPARAM flags = format == TStreamFormat::sfRichText ? SF_RTF : SF_TEXT;
    if (selectionStreamMode_) flags |= SFF_SELECTION;
    if (hwnd_) Call(EM_STREAMOUT, flags, reinterpret_cast<LPARAM>(&out));
    sink.RethrowIfFailed();
    if (out.dwError != 0 || sink.failed) throw EStreamError("Failed to Save Stream");
}

long TNvRichEdit::SelectionStart() const {
    CHARRANGE range{0, 0};
    if (hwnd_) Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

long TNvRichEdit::SelectionLength() const {
    CHARRANGE range{0, 0};
    if (hwnd_) Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

std::string TNvRichEdit::SelectedText() const {
    CHARRANGE range{0, 0};
    if (hwnd_) Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return TextRange(range.cpMin, range.cpMax);
}

std::string TNvRichEdit::TextRange(long from, long to) const {
    if (!hwnd_ || to <= from || from < 0) return {};
    // Room for a CR LF per position, in case the control hands out two characters per break.
    std::vector<char> buffer(static_cast<size_t>(to - from) * 2 + 1);
    TEXTRANGEA range{{from, to}, buffer.data()};
    const LRESULT copied = Call(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return std::string(buffer.data(), static_cast<size_t>(std::max<LRESULT>(copied, 0)));
}

long TNvRichEdit::TextLength() const {
    if (!hwnd_) return 0;
    if (RichEditVersion() < 2) return static_cast<long>(Call(WM_GETTEXTLENGTH));
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<long>(Call(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
}

long TNvRichEdit::TextLengthAsCrLf() const {
    if (!hwnd_) return 0;
    if (RichEditVersion() < 2) return static_cast<long>(Call(WM_GETTEXTLENGTH));
    GETTEXTLENGTHEX request{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, CP_ACP};
    return static_cast<long>(Call(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
}

void TNvRichEdit::MoveCaret(long pos) {
    if (!hwnd_) return;
    // A position outside the text goes to the nearer end: a step back from the start stays there.
    pos = std::clamp(pos, 0L, TextLength());
    CHARRANGE range{pos, pos};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TNvRichEdit::SetSelectionLength(long count) {
    if (!hwnd_) return;
    CHARRANGE range{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    range.cpMax = range.cpMin + count;
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Call(EM_SCROLLCARET);
}

void TNvRichEdit::ReplaceSelection(const std::string& text) {
    if (!hwnd_) return;
    const long start = SelectionStart();
    const bool undoable = !updating_ && RichEditVersion() >= 2 && undoLimit_ >= 2;
    EnsureRoomFor(static_cast<long>(text.size()));
    Call(EM_REPLACESEL, undoable ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    if (!updating_) {
        CHARRANGE inserted{start, start + static_cast<LONG>(text.size())};
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&inserted));
        Call(EM_SCROLLCARET);
    }
}

void TNvRichEdit::SelectWholeText() {
    // EM_SETSEL 0, -1 also takes the control's final paragraph mark on some versions, which then
    // travels to the clipboard as a line break the text does not have.
    if (!hwnd_) return;
    CHARRANGE all{0, TextLength()};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    // Typing over it then starts an undo step of its own: the Wine control would otherwise undo it
    // together with the typing before the selection.
    if (RichEditVersion() >= 2) Call(EM_STOPGROUPTYPING);
}

long TNvRichEdit::LineOfPosition(long pos) const {
    return hwnd_ ? static_cast<long>(Call(EM_EXLINEFROMCHAR, 0, pos)) : 0;
}

long TNvRichEdit::LineStart(long line) const {
    return hwnd_ ? static_cast<long>(Call(EM_LINEINDEX, static_cast<WPARAM>(line))) : -1;
}

long TNvRichEdit::LineLength(long pos) const {
    return hwnd_ ? static_cast<long>(Call(EM_LINELENGTH, static_cast<WPARAM>(pos))) : 0;
}

long TNvRichEdit::LineCount() const {
    return hwnd_ ? static_cast<long>(Call(EM_GETLINECOUNT)) : 0;
}

void TNvRichEdit::ScrollToCaret() {
    if (hwnd_) Call(EM_SCROLLCARET);
}

bool TNvRichEdit::UndoAvailable() const {
    return hwnd_ && Call(EM_CANUNDO) != 0;
}

void TNvRichEdit::UndoLast() {
    if (hwnd_) Call(WM_UNDO);
}

bool TNvRichEdit::RedoAvailable() const {
    return hwnd_ && RichEditVersion() >= 2 && Call(EM_CANREDO) != 0;
}

void TNvRichEdit::RedoLast() {
    if (hwnd_ && RichEditVersion() >= 2) Call(EM_REDO);
}

// What an undo step can change that the user sees: the length, the selection and the text at either
// end of it, where the control puts the selection after undoing or redoing.
TNvRichEdit::UndoSnapshot TNvRichEdit::Snapshot() const {
    constexpr long kAround = 64;
    UndoSnapshot shot;
    shot.Length = TextLength();
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    shot.SelStart = selection.cpMin;
    shot.SelEnd = selection.cpMax;
    const auto around = [&](long at) {
        return TextRange(std::max(0L, at - kAround), std::min(shot.Length, at + kAround));
    };
    shot.Around = around(shot.SelStart) + '|' + around(shot.SelEnd);
    return shot;
}

int TNvRichEdit::NextUndoKind() const {
    return hwnd_ && RichEditVersion() >= 2 ? NormalizeUndoKind(static_cast<long>(Call(EM_GETUNDONAME))) : 0;
}

int TNvRichEdit::NextRedoKind() const {
    return hwnd_ && RichEditVersion() >= 2 ? NormalizeUndoKind(static_cast<long>(Call(EM_GETREDONAME))) : 0;
}

void TNvRichEdit::CutSelection() {
    if (hwnd_) Call(WM_CUT);
}

void TNvRichEdit::CopySelection() {
    if (hwnd_) Call(WM_COPY);
}

void TNvRichEdit::PasteClipboard() {
    if (hwnd_) Call(WM_PASTE); // the subclass routes it past the Wine fault
}

bool TNvRichEdit::PasteAvailable() const {
    return hwnd_ && Call(EM_CANPASTE, 0) != 0;
}

bool TNvRichEdit::Modified() const {
    return hwnd_ && Call(EM_GETMODIFY) != 0;
}

void TNvRichEdit::SetModifiedFlag(bool modified) {
    if (hwnd_) Call(EM_SETMODIFY, modified ? TRUE : FALSE);
}

bool TNvRichEdit::TakeFocus() {
    if (!hwnd_ || !::IsWindowVisible(hwnd_) || !::IsWindowEnabled(hwnd_)) return false;
    ::SetFocus(hwnd_);
    return ::GetFocus() == hwnd_;
}

unsigned long long TNvRichEdit::CharactersPerRow(bool wrapped) const {
    if (!wrapped) return 0;
    // Half the character height is narrower than any font's average character: rows are reckoned
    // shorter, and so more of them, than the control will make.
    const long height = font_.Height < 0 ? -font_.Height : font_.Height * 3 / 4;
    const long charWidth = std::max(1L, height / 2);
    const long width = std::max(1L, static_cast<long>(bounds_.right - bounds_.left));
    return static_cast<unsigned long long>(std::max(1L, width / charWidth));
}

const ControlMemoryCosts& TNvRichEdit::MemoryCosts() {
    static const ControlMemoryCosts costs = RunningOnWine() ? kControlMemoryCosts : kAddressSpaceCosts;
    return costs;
}

TextMemoryNeed TNvRichEdit::MemoryNeedOf(const TextShape& shape) {
    const ControlMemoryCosts& costs = MemoryCosts();
    return MemoryNeedFor(shape, AvailableMemory(MemoryNeedFor(shape, 0, costs).NeededBytes), costs);
}

TextMemoryNeed TNvRichEdit::MemoryNeedOf(std::string_view text, bool wrapped) const {
    return MemoryNeedOf(MeasureTextShape(text, CharactersPerRow(wrapped)));
}

TextMemoryNeed TNvRichEdit::MemoryNeedWrapped() const {
    TextMemoryNeed need = MemoryNeedOf(MeasureTextShape(GetWholeText(), CharactersPerRow(true)));
    // The rebuild lets the present window and the one kept for undo go first; their memory reckoned low.
    need.FreeBytes += static_cast<unsigned long long>(TextLength() + KeptTextLength()) *
                      MemoryCosts().PerCharacter;
    return need;
}

TextMemoryNeed TNvRichEdit::MemoryNeedOfPaste(std::string_view text) const {
    CHARRANGE selection{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    unsigned long long before = 0, after = 0;
    const unsigned long long perRow = CharactersPerRow();
    if (perRow > 0) LineAround(selection.cpMin, selection.cpMax, before, after);
    return MemoryNeedOf(MeasureJoinedShape(text, before, after, perRow));
}

// Read in pieces outward from the selection until a line break: a wrapped line's rows are not its
// line, and the whole text need not be read.
void TNvRichEdit::LineAround(long from, long to, unsigned long long& before, unsigned long long& after) const {
    constexpr long kPiece = 64 * 1024;
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    before = after = 0;
    for (long end = from; end > 0; end -= kPiece) {
        const std::string piece = TextRange(std::max(0L, end - kPiece), end);
        const auto mark = std::find_if(piece.rbegin(), piece.rend(), isBreak);
        before += static_cast<unsigned long long>(mark - piece.rbegin());
        if (mark != piece.rend() || piece.empty()) break;
    }
    const long length = TextLength();
    for (long start = to; start < length; start += kPiece) {
        const std::string piece = TextRange(start, std::min(length, start + kPiece));
        const auto mark = std::find_if(piece.begin(), piece.end(), isBreak);
        after += static_cast<unsigned long long>(mark - piece.begin());
        if (mark != piece.end() || piece.empty()) break;
    }
}

TextMemoryNeed TNvRichEdit::MemoryNeedOfLength(unsigned long long characters) const {
    return MemoryNeedOf(ShapeOfLength(characters));
}

bool TNvRichEdit::PasteFits() {
    TextMemoryNeed need;
    {
        ClipboardOpen clipboard(hwnd_);
        if (!clipboard) return true; // nothing will be pasted either
        HANDLE data = ::GetClipboardData(CF_TEXT);
        if (!data) return true;
        GlobalLock locked(data);
        const char* chars = static_cast<const char*>(locked.data());
        if (!chars) return true;
        need = MemoryNeedOfPaste(std::string_view(
            chars, static_cast<size_t>(std::find(chars, chars + locked.size(), '\0') - chars)));
    }
    // The windows kept for undo give their memory back before a paste is refused.
    if (MakeRoom(need)) return true;
    Raise(OnPasteTooLarge, this, need); // with the clipboard closed again: the handler may show a box
    return false;
}

// The Wine control replaces the whole text when it pastes in plain-text mode; the field inserts the
// clipboard's text itself, as one undoable replacement of the selection.
void TNvRichEdit::PasteAsPlainText() {
    std::string text;
    {
        ClipboardOpen clipboard(hwnd_);
        if (!clipboard) return;
        HANDLE data = ::GetClipboardData(CF_TEXT);
        if (!data) return;
        GlobalLock locked(data);
        const char* chars = static_cast<const char*>(locked.data());
        if (!chars) return;
        const size_t size = locked.size();
        text.assign(chars, std::find(chars, chars + size, '\0'));
    }
    // One paragraph mark per line break, as the control takes them from a stream.
    std::string normalized(text.size(), '\0');
    LineBreakStreamer streamer(text);
    normalized.resize(streamer.Read(normalized.data(), normalized.size()));
    if (normalized.empty()) return;
    if (ReplaceThroughNewWindow({UID_PASTE, normalized, {}, false})) return;
    EnsureRoomFor(static_cast<long>(normalized.size()));
    outOfSpace_ = false;
    Call(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(normalized.c_str()));
    if (std::exchange(outOfSpace_, false)) Raise(OnPasteTooLarge, this, MemoryNeedOfPaste(normalized));
}

// ---- Notifications -------------------------------------------------------------------------------

void TNvRichEdit::RaiseChange() {
    if (notifyLock_ == 0) Raise(OnChange, this);
    else ++heldChanges_;
}

void TNvRichEdit::RaiseSelectionChange() {
    if (notifyLock_ != 0) ++heldSelectionChanges_;
    else if (messageDepth_ > 0) selectionMoved_ = true;
    else Raise(OnSelectionChange, this);
}

void TNvRichEdit::OnControlDestroyed(HWND control) {
    if (hwnd_ == control) hwnd_ = nullptr; // destroyed with its parent
}

// A selection the control moves while it handles a message is reported once the message is done: one
// report however often it moved, and after the change report of the edit that moved it, which has
// already shown the selection as it stands.
LRESULT TNvRichEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    {
        ++messageDepth_;
        ScopeExit leave([this] { --messageDepth_; });
        result = HandleFieldMessage(msg, wParam, lParam);
    }
    if (messageDepth_ == 0 && std::exchange(selectionMoved_, false)) RaiseSelectionChange();
    return result;
}

LRESULT TNvRichEdit::HandleFieldMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A key the field takes itself is the field's as much as one the control takes: its key-up counts.
    if (msg == WM_KEYDOWN && wParam < keysDown_.size()) keysDown_.set(wParam);
    LRESULT result = 0;
    if (HandleLargeEdit(msg, wParam, lParam, result)) return result;
    switch (msg) {
    case kReflectedCommand:
        return OnReflectedCommand(wParam, lParam);
    case kReflectedNotify:
        return OnReflectedNotify(lParam);
    case WM_UNDO:
    case EM_UNDO:
        return UndoStep();
    case EM_REDO:
        return RedoStep();
    case EM_CANUNDO:
    case EM_CANREDO:
    case EM_GETUNDONAME:
    case EM_GETREDONAME:
        return AnswerUndoQuery(msg, wParam, lParam);
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_KILLFOCUS:
        keysDown_.reset();
        break;
    case WM_DESTROY: // with its parent
        RenderCopiedData();
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_BACK) { // Alt+Backspace undoes, as in every Windows edit field
            UndoLast();
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (wParam == VK_BACK) return 0; // the Alt+Backspace just taken, which would beep
        break;
    case WM_KEYUP:
        OnKeyUpMessage(wParam);
        break;
    case WM_CHAR:
        EnsureRoomFor(1);
        break;
    case WM_PASTE:
        if (!PasteFits()) return 0;
        if (RunningOnWine() && plainText_) {
            PasteAsPlainText();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (OnContextPopup) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            // The keyboard's menu key and Shift+F10 send (-1, -1): a 16-bit pair, not a -1 LPARAM in
            // a 64-bit build.
            if (at.x == -1 && at.y == -1) {
                ::GetCaretPos(&at);
                ::ClientToScreen(hwnd_, &at);
            }
            Raise(OnContextPopup, this, at);
            return 0;
        }
        break;
    default:
        break;
    }
    // Keys and characters always: a change the control makes of one is an edit of some kind.
    const EditEffect effect = EffectOf(msg, wParam);
    if (effect != EditEffect::None || msg == WM_KEYDOWN || msg == WM_CHAR) return PassEdit(msg, wParam, lParam, effect);
    return CallPrevious(hwnd_, msg, wParam, lParam);
}

LRESULT TNvRichEdit::OnReflectedCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) == EN_CHANGE) {
        NoteChange();
        RaiseChange();
    }
    if (HIWORD(wParam) == EN_ERRSPACE) outOfSpace_ = true;
    return 0;
}

LRESULT TNvRichEdit::OnReflectedNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case EN_SELCHANGE:
        RaiseSelectionChange();
        break;
    case EN_LINK:
        OnLink(*reinterpret_cast<const ENLINK*>(lParam));
        break;
    default:
        break;
    }
    return 0;
}

void TNvRichEdit::OnLink(const ENLINK& link) {
    if (RichEditVersion() < 2) return;
    const long cpMin = link.chrg.cpMin, cpMax = link.chrg.cpMax;
    switch (link.msg) {
    case WM_LBUTTONDOWN:
        linkClicks_.Press(TMouseButton::mbLeft, cpMin, cpMax);
        break;
    case WM_RBUTTONDOWN:
        linkClicks_.Press(TMouseButton::mbRight, cpMin, cpMax);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const TMouseButton button = link.msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight;
        if (linkClicks_.Release(button, cpMin, cpMax))
            Raise(OnURLClick, this, TextRange(cpMin, cpMax), button);
        break;
    }
    default:
        break;
    }
}

bool TNvRichEdit::OnKeyDown(WPARAM key) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    if (control && !alt && !shift && (key == 'Z' || key == 'Y')) {
        key == 'Z' ? UndoLast() : RedoLast();
        return true;
    }
    const bool paste = !alt && ((key == 'V' && control && !shift) || (key == VK_INSERT && shift && !control));
    if (!paste) return false;
    // The control pastes these keys itself, without a WM_PASTE to look at first.
    if (!PasteFits()) return true;
    if (!RunningOnWine() || !plainText_) return false;
    PasteAsPlainText();
    return true;
}

// A key released here that was pressed in another window (Enter on a dialog that closed, say) is not
// the field's: it raises nothing.
void TNvRichEdit::OnKeyUpMessage(WPARAM key) {
    if (key >= keysDown_.size() || !keysDown_.test(key)) return;
    keysDown_.reset(key);
    WORD code = static_cast<WORD>(key);
    Raise(OnKeyUp, this, code, CurrentShiftState());
}

} // namespace nv
