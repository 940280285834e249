// The text field against the plain control: the same random operations on both, with the field's
// threshold for large replacements set low so that it hands whole-text edits to new windows often,
// and after every operation the text, the selection, undo and redo and their kinds, the modified
// flag and the number of change and selection reports compared. A failure prints the seed and the
// operations, to be replayed with NOTOVA_UNDO_SEED.
#include "editor/NvRichEd.h"
#include "editor/TextRules.h"
#include "tests/support/BareControl.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

namespace nv {
namespace {

constexpr long kThreshold = 60;

void SetCtrl(bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_MENU] = 0;
    ::SetKeyboardState(keys);
}

// A key as the message loop hands it over: down, its character, up.
void Key(HWND window, WPARAM key, char typed = 0) {
    ::SendMessageA(window, WM_KEYDOWN, key, 1);
    if (typed) ::SendMessageA(window, WM_CHAR, static_cast<unsigned char>(typed), 1);
    ::SendMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

struct Observed {
    std::string text;
    CHARRANGE selection{};
    bool canUndo = false, canRedo = false, modified = false;
    int undoKind = 0, redoKind = 0, changes = 0, selections = 0;
    bool operator==(const Observed& o) const {
        return text == o.text && selection.cpMin == o.selection.cpMin && selection.cpMax == o.selection.cpMax &&
               canUndo == o.canUndo && canRedo == o.canRedo && modified == o.modified && undoKind == o.undoKind &&
               redoKind == o.redoKind && changes == o.changes && selections == o.selections;
    }
};

std::ostream& operator<<(std::ostream& out, const Observed& o) {
    return out << "[" << o.text << "] sel " << o.selection.cpMin << "-" << o.selection.cpMax << " undo " << o.canUndo
               << "/" << o.undoKind << " redo " << o.canRedo << "/" << o.redoKind << " modified " << o.modified
               << " changes " << o.changes << " selections " << o.selections;
}

// The plain control, given each operation the way the field's own plain path gives it: undo and redo
// close the typing step first, a paste replaces the selection (Wine's own paste replaces everything),
// and the options that rebuild the field make the control's window anew.
class PlainControl {
  public:
    PlainControl(HWND parent, const TFont& font, bool links) : parent_(parent), font_(font), links_(links) { Make(); }
    ~PlainControl() { ::DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }
    int changes = 0, selections = 0;

    void Undo() { Call(EM_STOPGROUPTYPING), Call(WM_UNDO); }
    void Redo() { Call(EM_STOPGROUPTYPING), Call(EM_REDO); }
    void SelectAll() {
        CHARRANGE all{0, Length()};
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        Call(EM_STOPGROUPTYPING);
    }
    void Replace(const std::string& text) { Call(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str())); }
    void ReplaceSelection(const std::string& text) {
        const long start = Selection().cpMin;
        Replace(text);
        CHARRANGE made{start, start + static_cast<LONG>(text.size())};
        Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&made));
        Call(EM_SCROLLCARET);
    }
    void Paste() {
        std::string text = test::ClipboardText(), marks(text.size(), '\0');
        LineBreakStreamer streamer(text);
        marks.resize(streamer.Read(marks.data(), marks.size()));
        if (!marks.empty()) Replace(marks);
    }
    // Each replacement its own step, searched on from the text it inserted; reported once.
    void ReplaceAll(const std::string& find, const std::string& by) {
        const LRESULT mask = Call(EM_GETEVENTMASK);
        Call(EM_SETEVENTMASK, 0, 0);
        int count = 0;
        for (;;) {
            FINDTEXTEXA search{{Selection().cpMax, -1}, find.c_str(), {}};
            if (Call(EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&search)) < 0) break;
            Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&search.chrgText));
            ReplaceSelection(by);
            ++count;
        }
        Call(EM_SETEVENTMASK, 0, mask);
        if (count > 0) ++changes, ++selections;
    }
    void Rebuild(bool wordWrap, bool keepText) {
        const std::string text = keepText ? test::BareStreamOut(hwnd_) : std::string();
        const CHARRANGE selection = Selection();
        const bool modified = keepText && Call(EM_GETMODIFY) != 0;
        ::DestroyWindow(hwnd_);
        wordWrap_ = wordWrap;
        Make();
        quiet_ = true;
        if (!text.empty()) test::BareStreamIn(hwnd_, text);
        if (keepText) Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        Call(EM_SETMODIFY, modified);
        quiet_ = false;
        ++changes, ++selections;
    }
    void SetWordSelection(bool on) {
        Call(EM_SETOPTIONS, on ? ECOOP_OR : ECOOP_AND, on ? ECO_AUTOWORDSELECTION : ~ECO_AUTOWORDSELECTION);
    }
    void SetFont(const TFont& font) {
        const CharFormatSpec wanted = MakeCharFormatSpec(font, 96, [](TColor) { return 0u; });
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD;
        lstrcpynA(format.szFaceName, wanted.FaceName.c_str(), LF_FACESIZE);
        format.yHeight = wanted.TwentiethsOfPoint;
        if (wanted.Bold) format.dwEffects = CFE_BOLD;
        Call(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    }
    // The parent's notifications of this control.
    bool Count(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (quiet_) return false;
        if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == hwnd_ && HIWORD(wParam) == EN_CHANGE) ++changes;
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == hwnd_ &&
            reinterpret_cast<NMHDR*>(lParam)->code == EN_SELCHANGE)
            ++selections;
        return false;
    }
    Observed Observe() const {
        Observed o;
        o.text = test::BareStreamOut(hwnd_);
        o.selection = Selection();
        o.canUndo = Call(EM_CANUNDO) != 0;
        o.canRedo = Call(EM_CANREDO) != 0;
        o.undoKind = NormalizeUndoKind(static_cast<long>(Call(EM_GETUNDONAME)));
        o.redoKind = NormalizeUndoKind(static_cast<long>(Call(EM_GETREDONAME)));
        o.modified = Call(EM_GETMODIFY) != 0;
        o.changes = changes;
        o.selections = selections;
        return o;
    }
    long Length() const {
        GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
        return static_cast<long>(Call(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
    }
    CHARRANGE Selection() const {
        CHARRANGE range{};
        Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }
    LRESULT Call(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(hwnd_, msg, wParam, lParam);
    }

  private:
    void Make() {
        quiet_ = true;
        hwnd_ = test::CreateBareControl(parent_, font_, links_, wordWrap_);
        quiet_ = false;
    }
    HWND parent_;
    TFont font_;
    bool links_;
    bool wordWrap_ = false;
    HWND hwnd_ = nullptr;
    bool quiet_ = false;
};

std::string Words(std::mt19937& random, int count) {
    static const char* const words[] = {"alpha", "beta", "gamma", "delta", "ab", "abc", "x", "lorem", "ipsum"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += words[random() % 9];
        text += random() % 6 == 0 ? "\r\n" : " ";
    }
    return text;
}

struct Tally {
    int wholeTextSteps = 0;
    long tookNewWindow = 0;
};

// One seed: a text on one side of the threshold or the other, then `steps` random operations.
void RunSeed(unsigned seed, int steps, Tally& run, bool verbose = false) {
    std::mt19937 random(seed);
    const bool links = seed % 2 == 1;
    test::TestHost host(500, 400);
    TNvRichEdit field;
    field.SetUndoLimit(10);
    field.SetWordWrap(false);
    field.SetHideSelection(false);
    field.SetSelectionBar(false);
    field.SetWordSelection(false);
    field.SetAutoURLDetect(links);
    field.CreateWnd(host.Handle(), host.Client(), 100);
    field.LargeEditFrom = kThreshold;
    int fieldChanges = 0, fieldSelections = 0;
    field.OnChange = [&](TObject*) { ++fieldChanges; };
    field.OnSelectionChange = [&](TObject*) { ++fieldSelections; };
    PlainControl plain(host.Handle(), field.Font(), links);
    host.OnMessage = [&](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&) { return plain.Count(msg, wParam, lParam); };
    bool wordWrap = false, wordSelect = false, boldFont = true;
    TFont fonts[2] = {field.Font(), field.Font()};
    fonts[1].Name = "MS Sans Serif";
    fonts[1].Style = 0;

    const std::string start = Words(random, seed % 3 == 0 ? 5 : 40);
    field.SetWholeText(start);
    test::BareStreamIn(plain.Handle(), start);
    plain.Call(EM_SETMODIFY, FALSE);
    fieldChanges = fieldSelections = plain.changes = plain.selections = 0;
    const long newWindowsBefore = field.NewWindowReplacements();
    std::ostringstream done;
    const auto both = [&](const char* name, auto&& onField, auto&& onPlain) {
        done << name << "; ";
        onField();
        onPlain();
    };
    for (int i = 0; i < steps; ++i) {
        const long length = plain.Length();
        const CHARRANGE selection = plain.Selection();
        const int op = static_cast<int>(random() % 24);
        const bool wholeText = op <= 9 && selection.cpMax - selection.cpMin >= length / 2 && length >= kThreshold;
        switch (op) {
        case 0: case 1: case 2: { // a character
            const char c = "abcdefgh  xy"[random() % 12];
            done << "'" << c << "'";
            both("", [&] { Key(field.Handle(), ::VkKeyScanA(c) & 0xFF, c); },
                 [&] { Key(plain.Handle(), ::VkKeyScanA(c) & 0xFF, c); });
            break;
        }
        case 3: both("Enter", [&] { Key(field.Handle(), VK_RETURN, '\r'); }, [&] { Key(plain.Handle(), VK_RETURN, '\r'); }); break;
        case 4: both("Backspace", [&] { Key(field.Handle(), VK_BACK, '\b'); }, [&] { Key(plain.Handle(), VK_BACK, '\b'); }); break;
        case 5: both("Delete", [&] { Key(field.Handle(), VK_DELETE); }, [&] { Key(plain.Handle(), VK_DELETE); }); break;
        case 6: both("cut", [&] { field.CutSelection(); }, [&] { plain.Call(WM_CUT); }); break;
        case 7: case 8: both("paste", [&] { field.PasteClipboard(); }, [&] { plain.Paste(); }); break;
        case 9: {
            const char c = static_cast<char>('A' + random() % 26);
            done << "chart " << c << "; ";
            const long at = field.SelectionStart();
            field.ReplaceSelection(std::string(1, c));
            field.MoveCaret(at + 1);
            plain.ReplaceSelection(std::string(1, c));
            CHARRANGE caret{at + 1, at + 1};
            plain.Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
            break;
        }
        case 10: both("select all", [&] { field.SelectWholeText(); }, [&] { plain.SelectAll(); }); break;
        case 11: case 12: { // mostly large ranges, so whole-text edits come often
            const long a = static_cast<long>(random() % (length / 4 + 1));
            const long b = length - static_cast<long>(random() % (length / 4 + 1));
            CHARRANGE range{a, random() % 3 == 0 ? a + (b - a) / 8 : b};
            done << "select " << range.cpMin << "-" << range.cpMax << "; ";
            ::SendMessageA(field.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            plain.Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            break;
        }
        case 13: both("copy", [&] { field.CopySelection(); }, [&] { plain.Call(WM_COPY); }); break;
        case 14: case 15: both("undo", [&] { field.UndoLast(); }, [&] { plain.Undo(); }); break;
        case 16: both("redo", [&] { field.RedoLast(); }, [&] { plain.Redo(); }); break;
        case 17: // the keys, whose routes differ from the commands'
            SetCtrl(true);
            if (random() % 2) {
                both("Ctrl+Z", [&] { Key(field.Handle(), 'Z'); }, [&] { plain.Undo(); });
            } else {
                both("Ctrl+Y", [&] { Key(field.Handle(), 'Y'); }, [&] { plain.Redo(); });
            }
            SetCtrl(false);
            break;
        case 18:
            both("Alt+Backspace", [&] { ::SendMessageA(field.Handle(), WM_SYSKEYDOWN, VK_BACK, 1 | (1 << 29)); },
                 [&] { plain.Undo(); });
            break;
        case 19: {
            static const char* const finds[][2] = {{"ab", "z"}, {"a", "aa"}, {"gamma", ""}, {"x", "\r\n"}};
            const auto& pair = finds[random() % 4];
            done << "replace all " << pair[0] << "; ";
            TReplaceDialog dialog;
            dialog.SetFindText(pair[0]);
            dialog.SetReplaceText(pair[1]);
            field.ReplaceWithDialog(dialog, true);
            plain.ReplaceAll(pair[0], pair[1]);
            break;
        }
        case 20:
            wordSelect = !wordSelect;
            both("Word Select", [&] { field.SetWordSelection(wordSelect); }, [&] { plain.SetWordSelection(wordSelect); });
            break;
        case 21:
            boldFont = !boldFont;
            both("font", [&] { field.SetFont(fonts[boldFont ? 0 : 1]); }, [&] { plain.SetFont(fonts[boldFont ? 0 : 1]); });
            break;
        case 22:
            wordWrap = !wordWrap;
            both("Word Wrap", [&] { field.SetWordWrap(wordWrap); }, [&] { plain.Rebuild(wordWrap, true); });
            break;
        default:
            if (random() % 4 == 0) {
                both("New", [&] { field.ClearText(); }, [&] { plain.Rebuild(wordWrap, false); });
            } else {
                done << "clipboard; ";
                test::SetClipboardText(Words(random, static_cast<int>(random() % 30)));
            }
            break;
        }
        if (wholeText) ++run.wholeTextSteps;
        Observed seen;
        seen.text = field.GetWholeText();
        seen.selection = {field.SelectionStart(), field.SelectionStart() + field.SelectionLength()};
        seen.canUndo = field.UndoAvailable();
        seen.canRedo = field.RedoAvailable();
        seen.undoKind = field.NextUndoKind();
        seen.redoKind = field.NextRedoKind();
        seen.modified = field.Modified();
        seen.changes = fieldChanges;
        seen.selections = fieldSelections;
        const Observed expected = plain.Observe();
        if (verbose) {
            Observed brief = expected;
            brief.text = std::to_string(expected.text.size()) + " characters";
            std::cout << done.str().substr(done.str().rfind(';', done.str().size() - 3) + 1) << " -> " << brief
                      << (seen == expected ? "" : " (the field differs)") << "\n";
        }
        ASSERT_EQ(seen, expected) << "seed " << seed << (links ? " (links detected)" : "") << " after step " << i
                                  << ":\n"
                                  << done.str() << "\nstarted from [" << start << "]";
    }
    run.tookNewWindow += field.NewWindowReplacements() - newWindowsBefore;
}

TEST(UndoDifferential, TheFieldsUndoIsThePlainControlsWhateverWindowHoldsTheText) {
    Tally run;
    if (const char* replay = std::getenv("NOTOVA_UNDO_SEED")) {
        RunSeed(static_cast<unsigned>(std::atoi(replay)), 300, run, true);
        return;
    }
    for (unsigned seed = 1; seed <= 24 && !HasFatalFailure(); ++seed) RunSeed(seed, 300, run);
    ASSERT_FALSE(HasFatalFailure());
    std::cout << run.tookNewWindow << " replacements through a new window for " << run.wholeTextSteps
              << " whole-text steps\n";
    EXPECT_GE(run.tookNewWindow * 3, run.wholeTextSteps)
        << run.tookNewWindow << " new windows for " << run.wholeTextSteps << " whole-text steps";
}

} // namespace
} // namespace nv
