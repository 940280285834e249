// End to end: the built notova.exe runs as its own process and gets real keyboard and mouse input
// (SendInput, each key pressed and released as a person types); what it does is checked by what a
// user sees: captions, message boxes and their buttons, files on disk and the registry. Each scenario
// is a row of steps in one table; the same table runs against the exe of this build (32- or 64-bit).
// The table's names and texts are UTF-8, as the program's own names are; the text field's are
// single-byte.
#include "base/Dpi.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Unicode.h"
#include "forms/resource.h"
#include "tests/support/Dialogs.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

namespace nv {
namespace {

using Clock = std::chrono::steady_clock;

enum class Do {
    WriteFile,      // Text: file name in the scenario's folder; Content (or Detail): its bytes
    Start,          // Text: the command line's arguments; ends the instances started before
    StartAnother,   // Text: the same, for one more instance beside those running; the steps go to it
    Switch,         // Text: the number of the instance the steps go to, in the order they were started
    Keys,           // Text: typed into the program's window in front ({Ctrl+S}, {Enter}, plain letters)
    Menu,           // Text: "File|Save As..." chosen by the items' access keys, as the menu resource has them
    Click,          // Text: a button of the program's dialog in front, by its caption without "&"
    ClickCloseBox,  // the close box of the program's window in front
    ExpectCaption,  // Text: the main window's caption
    ExpectBox,      // Text: a message box's text ("*" at the end matches any rest); Detail: its buttons
    ExpectWindow,   // Text: the active window's title
    ExpectFocus,    // Text: the focused control of the active window, by its caption or its label's
    ExpectField,    // Text: a field of the active window, by its label; Detail: its text
    ExpectChecked,  // Text: a check box or option button of the active window; Detail: "on" or "off"
    ExpectSelection, // Detail: the text field's selection, "start-end"
    ExpectUnderlines, // every access key of the active window's controls is underlined under its letter
    ExpectFile,     // Text: file name; Content (or Detail): its bytes
    ExpectFileLike, // Text: file name; Detail: its bytes, "*" matching any run of them
    ExpectRegistry, // Text: "subkey|value"; Detail: its text
    ExpectLines,    // Detail: how many lines the text field shows, a wrapped line's rows each (">2": more than 2)
    ExpectText,     // Detail: the text field's whole text
    ExpectHeight,   // Text: the class of a child of the main window; Detail: its height in pixels
    ExpectCheck,    // the open menu's highlighted item shows a check in its cell, as the screen has it
    ExpectPanel,    // Text: a status panel's index; Detail: the text it shows whole, as the screen has it
    ExpectLayout,   // the window is its design at the screen's DPI, every toolbar button inside the bar
    ExpectGlyphInk, // Text: a toolbar button whose picture covers its 96-DPI picture's area, scaled
    Snapshot,       // Text: the class of a child of the main window, whose pixels are kept (mouse moved off)
    ExpectSnapshot, // Text: the same child looks on the screen as it did at the last Snapshot
    ExpectRunning,
    ExpectExited,
};

struct Step {
    Do What{};
    std::string Text{};
    std::string Detail{};
    std::function<std::string()> Content{}; // for texts too large to write out in the table
    int Seconds = 15;                     // how long the step may take
};

struct Scenario {
    const char* Name;
    bool Only32Bit; // needs the 32-bit exe's address space to mean anything
    const char* Why32Bit;
    std::vector<Step> Steps;
};

constexpr size_t kMB = 1u << 20;
// Five folders of 60 characters: with the scenario's folder, a path of more than 330.
const std::string kDeep = [] {
    std::string deep;
    for (char c : {'a', 'b', 'c', 'd', 'e'}) deep += (deep.empty() ? "" : "\\") + std::string(60, c);
    return deep;
}();

std::string Big40() { return test::Prose(40 * kMB); }
std::string Big100() { return test::Prose(100 * kMB); }
// 3,000 numbered lines, about 100 KB: whole-text edits of it go through a new window.
std::string NumberedLines() {
    std::string text;
    char line[64];
    for (int i = 1; i <= 3000; ++i) {
        std::snprintf(line, sizeof line, "line %05d of the text to edit whole\r\n", i);
        text += line;
    }
    return text;
}
std::string ManyLines() {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += std::string(30, 'x') + "\r\n";
    return text;
}

// ---- The table ------------------------------------------------------------------------------------

std::vector<Scenario> Scenarios() {
    const std::string notes = "first line\r\n\tsecond line\r\n";
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0 {\\fonttbl {\\f0 Arial;}}\r\n\\f0 Plain and {\\b bold} text.\\par\r\n}";
    return {
        // Its markup shows as the text; saved, it is the same document again.
        {"AnRtfFileOpenedAsTextSavesItsOwnBytes", false, "", {
            {Do::WriteFile, "doc.rtf", rtf},
            {Do::Start, "{dir}\\doc.rtf"},
            {Do::ExpectCaption, "Notova - {dir}\\doc.rtf"},
            {Do::ExpectText, "", rtf},
            {Do::Keys, "{Ctrl+End} {Backspace}{Ctrl+S}"},
            {Do::ExpectFile, "doc.rtf", rtf},
            {Do::Keys, "{Ctrl+S}"},
            {Do::ExpectFile, "doc.rtf", rtf},
            {Do::Keys, "{Ctrl+End}{Left}x{Ctrl+S}"},
            {Do::ExpectFile, "doc.rtf", rtf.substr(0, rtf.size() - 1) + "x}"},
            // A plain text under an .rtf name is still written as rich text.
            {Do::Keys, "{Ctrl+A}plain words"},
            {Do::Menu, "File|Save As..."},
            {Do::ExpectWindow, "Save As"},
            {Do::Keys, "{dir}\\new.rtf{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\new.rtf"},
            {Do::ExpectFileLike, "new.rtf", "{\\rtf1*plain words*}*"},
        }},
        // Typed into the file dialogs, named on the command line, in the lists: the name stays whole.
        {"ANameOutsideTheCodePageOpensSavesAndIsRemembered", false, "", {
            {Do::WriteFile, "привет.txt", "hello"},
            {Do::Start, ""},
            {Do::Keys, "{Ctrl+O}"},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\привет.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\привет.txt"},
            {Do::ExpectText, "", "hello"},
            {Do::Keys, "{Ctrl+End}, world{Ctrl+S}"},
            {Do::ExpectFile, "привет.txt", "hello, world"},
            {Do::Keys, "{Alt+V}a"}, // Favorites, Add
            {Do::Keys, "{Ctrl+Alt+S}"},
            {Do::ExpectWindow, "Save As"},
            {Do::Keys, "{dir}\\мир ψ.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\мир ψ.txt"},
            {Do::ExpectFile, "мир ψ.txt", "hello, world"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
            {Do::ExpectRegistry, "MRUList|File0", "{dir}\\мир ψ.txt"},
            {Do::ExpectRegistry, "MRUList|Name0", "мир ψ.txt"},
            {Do::ExpectRegistry, "MRUList|File1", "{dir}\\привет.txt"},
            {Do::ExpectRegistry, "Bookmarks|File0", "{dir}\\привет.txt"},
            {Do::ExpectRegistry, "Bookmarks|Name0", "привет.txt"},
            {Do::Start, "{dir}\\привет.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\привет.txt"},
            {Do::ExpectText, "", "hello, world"},
            {Do::Keys, "{Ctrl+N}"},
            {Do::ExpectCaption, "Notova"},
            {Do::Keys, "{Alt+F}{Up}{Enter}"}, // the oldest recent file, the File menu's last item
            {Do::ExpectCaption, "Notova - {dir}\\мир ψ.txt"},
        }},
        // Each instance keeps what the other added: the one started first closes last.
        {"TwoInstancesKeepEachOthersRecentFilesAndFavorites", false, "", {
            {Do::WriteFile, "c.txt", "c"},
            {Do::WriteFile, "file.txt", "file"},
            {Do::WriteFile, "d.txt", "d"},
            {Do::Start, ""},
            {Do::StartAnother, "{dir}\\c.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\c.txt"},
            {Do::Keys, "{Alt+V}a"},
            {Do::Keys, "{Ctrl+O}"},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\file.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\file.txt"},
            {Do::Switch, "1"},
            {Do::Keys, "{Ctrl+O}"},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\d.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\d.txt"},
            {Do::Keys, "{Alt+V}a"},
            {Do::Switch, "2"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
            {Do::Switch, "1"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
            {Do::ExpectRegistry, "Bookmarks|File0", "{dir}\\c.txt"},
            {Do::ExpectRegistry, "Bookmarks|File1", "{dir}\\d.txt"},
            {Do::ExpectRegistry, "MRUList|File0", "{dir}\\d.txt"},
            {Do::ExpectRegistry, "MRUList|File1", "{dir}\\file.txt"},
            {Do::ExpectRegistry, "MRUList|File2", "{dir}\\c.txt"},
            {Do::ExpectRegistry, "MRUList|File3", ""},
        }},
        {"OpenTypeAndSaveANameWithSpaces", false, "", {
            {Do::WriteFile, "my notes.txt", notes},
            {Do::Start, "\"{dir}\\my notes.txt\""},
            {Do::ExpectCaption, "Notova - {dir}\\my notes.txt"},
            {Do::Keys, "{Ctrl+End}Added, 42!"},
            {Do::Keys, "{Ctrl+S}"},
            {Do::ExpectFile, "my notes.txt", notes + "Added, 42!"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
        }},
        {"SaveAsOverAnExistingFileAsks", false, "", {
            {Do::WriteFile, "existing.txt", "old"},
            {Do::Start, ""},
            {Do::ExpectCaption, "Notova"},
            {Do::Keys, "new text"},
            {Do::Menu, "File|Save As..."},
            {Do::ExpectWindow, "Save As"},
            {Do::Keys, "{dir}\\existing.txt{Enter}"},
            {Do::ExpectBox, "*already exists.*Do you want to replace it?", "Yes No"},
            {Do::Click, "No"},
            {Do::ExpectWindow, "Save As"},
            {Do::Keys, "{Esc}"},
            {Do::ExpectFile, "existing.txt", "old"},
            {Do::ExpectCaption, "Notova"},
            {Do::Keys, "{Ctrl+Alt+S}"},
            {Do::ExpectWindow, "Save As"},
            {Do::Keys, "{dir}\\existing.txt{Enter}"},
            {Do::ExpectBox, "*already exists.*Do you want to replace it?", "Yes No"},
            {Do::Click, "Yes"},
            {Do::ExpectCaption, "Notova - {dir}\\existing.txt"},
            {Do::ExpectFile, "existing.txt", "new text"},
        }},
        {"ClosingWithChangesAsksAndCancelKeepsTheWindow", false, "", {
            {Do::Start, ""},
            {Do::Keys, "abc"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Click, "Cancel"},
            {Do::ExpectRunning},
            {Do::ExpectCaption, "Notova"},
            {Do::Menu, "File|Exit"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Click, "No"},
            {Do::ExpectExited},
        }},
        {"SettingsAndRecentFilesSurviveARestart", false, "", {
            {Do::WriteFile, "a.txt", std::string(300, 'a') + "\r\nb"},
            {Do::Start, "{dir}\\a.txt"},
            {Do::ExpectLines, "", "2"},
            {Do::Menu, "Setup|Word Wrap"},
            {Do::ExpectLines, "", ">2"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
            {Do::ExpectRegistry, "|WordWrap", "1"},
            {Do::ExpectRegistry, "MRUList|File0", "{dir}\\a.txt"},
            {Do::Start, ""},
            {Do::ExpectCaption, "Notova"},
            // The recent file is the File menu's last item.
            {Do::Keys, "{Alt+F}{Up}{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\a.txt"},
            {Do::ExpectLines, "", ">2"},
        }},
        {"AFileOf40MBOpensAndSavesByteExact", true, "the 64-bit exe has the address space for it anyway", {
            {Do::WriteFile, "big.txt", "", &Big40},
            {Do::Start, "{dir}\\big.txt"},
            {Do::ExpectBox, "This file is quite large*", "Yes No", nullptr, 30},
            {Do::Click, "Yes"},
            {Do::ExpectCaption, "Notova - {dir}\\big.txt", "", nullptr, 240},
            {Do::Keys, "{Ctrl+End}!{Ctrl+S}"},
            {Do::ExpectFile, "big.txt", "", [] { return Big40() + "!"; }, 120},
        }},
        {"AFileOf100MBIsRefusedAndNothingChanges", true, "the 64-bit exe has the address space for it", {
            {Do::WriteFile, "huge.txt", "", &Big100},
            {Do::WriteFile, "small.txt", "small"},
            {Do::Start, "{dir}\\huge.txt"},
            {Do::ExpectBox, "{dir}\\huge.txt is too large to open: it needs about * MB of memory and about * MB are free.",
             "OK", nullptr, 30},
            {Do::Click, "OK"},
            {Do::ExpectCaption, "Notova"},
            {Do::Menu, "File|Open..."},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\small.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\small.txt"},
            {Do::Keys, "{Ctrl+End} changed"},
            {Do::Keys, "{Ctrl+O}"},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\huge.txt{Enter}"},
            {Do::ExpectBox, "{dir}\\huge.txt is too large to open*", "OK", nullptr, 30},
            {Do::Click, "OK"},
            {Do::ExpectCaption, "Notova - {dir}\\small.txt"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Click, "Yes"},
            {Do::ExpectExited},
            {Do::ExpectFile, "small.txt", "small changed"},
            {Do::ExpectFile, "huge.txt", "", &Big100},
            {Do::ExpectRegistry, "MRUList|File0", "{dir}\\small.txt"},
            {Do::ExpectRegistry, "MRUList|File1", ""},
        }},
        // Whole-text edits undo and redo as one control's would, whatever window holds the text.
        {"ARedoAfterAWholeTextDeleteRedoesTheDelete", false, "", {
            {Do::WriteFile, "whole.txt", "", &NumberedLines},
            {Do::Start, "{dir}\\whole.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\whole.txt"},
            {Do::Keys, "{Ctrl+Home}x{Ctrl+Z}{Ctrl+A}{Delete}{Ctrl+Z}{Ctrl+Y}{Ctrl+S}"},
            {Do::ExpectFile, "whole.txt", ""},
        }},
        {"TwoWholeTextEditsUndoBackToTheStart", false, "", {
            {Do::WriteFile, "whole.txt", "", &NumberedLines},
            {Do::Start, "{dir}\\whole.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\whole.txt"},
            {Do::Keys, "{Ctrl+End}y{Ctrl+A}{Ctrl+C}{Ctrl+Z}{Ctrl+A}{Ctrl+V}{Ctrl+A}{Delete}{Ctrl+Z}{Ctrl+Z}{Ctrl+S}"},
            {Do::ExpectFile, "whole.txt", "", &NumberedLines},
        }},
        {"TypingALinkOverTheWholeTextUndoesAndTheProgramStays", false, "", {
            {Do::WriteFile, "whole.txt", "", &NumberedLines},
            {Do::Start, "{dir}\\whole.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\whole.txt"},
            {Do::Keys, "{Ctrl+A}see www.abc.com{Enter}{Ctrl+Z}"},
            {Do::ExpectRunning},
            {Do::Keys, "{Ctrl+S}"},
            {Do::ExpectFile, "whole.txt", "", &NumberedLines},
            {Do::ExpectRunning},
        }},
        // Undo and redo after typing at a detected link, every way they start.
        {"UndoAfterTypingAtALinkKeepsTheProgram", false, "", {
            {Do::Start, ""},
            {Do::Keys, "see www.abc.com{Enter}{Ctrl+Z}{Ctrl+Z}"},
            {Do::ExpectRunning},
            {Do::Keys, "{Ctrl+Y}{Ctrl+Y}"},
            {Do::ExpectRunning},
            {Do::ExpectText, "", "see www.abc.com\r\n"},
            {Do::Keys, "x{Alt+Backspace}"},
            {Do::ExpectRunning},
            {Do::Keys, "y"},
            {Do::Menu, "Edit|Undo"},
            {Do::ExpectRunning},
            {Do::Menu, "Edit|Redo"},
            {Do::ExpectRunning},
            {Do::ExpectText, "", "see www.abc.com\r\ny"},
        }},
        {"UndoAfterTypingIntoALinkOfALoadedFileKeepsTheProgram", false, "", {
            {Do::WriteFile, "links.txt", "go to http://www.korvel.example now\r\n"},
            {Do::Start, "{dir}\\links.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\links.txt"},
            // Right after the link, then a selection inside it replaced by a letter and by Enter.
            {Do::Keys, "{Ctrl+Home}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}"},
            {Do::Keys, "{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}"},
            {Do::Keys, "{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}x"},
            {Do::ExpectText, "", "go to http://www.korvel.example noxw\r\n"},
            {Do::Keys, "{Ctrl+Z}"},
            {Do::ExpectRunning},
            {Do::ExpectText, "", "go to http://www.korvel.example now\r\n"},
            {Do::Keys, "{Ctrl+Home}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}{Right}"},
            {Do::Keys, "{Shift+Right}{Shift+Right}{Shift+Right}q"},
            {Do::ExpectText, "", "go to httpqwww.korvel.example now\r\n"},
            {Do::Keys, "{Ctrl+Z}"},
            {Do::ExpectRunning},
            {Do::ExpectText, "", "go to http://www.korvel.example now\r\n"},
            {Do::Keys, "{Shift+Right}{Shift+Right}{Enter}{Ctrl+Z}"},
            {Do::ExpectRunning},
            {Do::ExpectText, "", "go to http://www.korvel.example now\r\n"},
        }},
        // Enter released in the field after it chose a file or closed a box: no indentation.
        {"AStrayEnterIndentsNothing", false, "", {
            {Do::WriteFile, "tabs.txt", "\tfirst\r\n\tsecond\r\n"},
            {Do::Start, ""},
            {Do::Menu, "Setup|Auto-Intend"},
            {Do::Keys, "{Ctrl+O}"},
            {Do::ExpectWindow, "Open"},
            {Do::Keys, "{dir}\\tabs.txt{Enter}"},
            {Do::ExpectCaption, "Notova - {dir}\\tabs.txt"},
            {Do::ExpectText, "", "\tfirst\r\n\tsecond\r\n"},
            {Do::Keys, "{Ctrl+End}{Up}{End}{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::Keys, "zzz{Enter}"},
            {Do::ExpectBox, "Text \"zzz\" not found.", "OK"},
            {Do::Keys, "{Enter}"},
            {Do::ExpectWindow, "Find"},
            {Do::Keys, "{Esc}"},
            {Do::ExpectWindow, "Notova - {dir}\\tabs.txt"},
            {Do::ExpectText, "", "\tfirst\r\n\tsecond\r\n"},
            {Do::Keys, "{Enter}x"},
            {Do::ExpectText, "", "\tfirst\r\n\tsecond\r\n\tx\r\n"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Click, "No"},
            {Do::ExpectExited},
            {Do::ExpectFile, "tabs.txt", "\tfirst\r\n\tsecond\r\n"},
        }},
        // After the not-found box the search goes on from its dialog; the last match stays as it was.
        {"NotFoundGivesTheFocusBackToTheFindDialog", false, "", {
            {Do::WriteFile, "one.txt", "one two one"},
            {Do::Start, "{dir}\\one.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\one.txt"},
            {Do::Keys, "{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::Keys, "one{Enter}{Enter}{Enter}"},
            {Do::ExpectBox, "Text \"one\" not found.", "OK"},
            {Do::Keys, "{Enter}"},
            {Do::ExpectWindow, "Find"},
            {Do::Keys, "x"},
            {Do::ExpectText, "", "one two one"},
        }},
        // A name longer than MAX_PATH opens, and saves, as any other.
        {"APathLongerThanMaxPathOpensFromTheCommandLine", false, "", {
            {Do::WriteFile, kDeep + "\\deep.txt", "deep"},
            {Do::Start, "\"{dir}\\" + kDeep + "\\deep.txt\""},
            {Do::ExpectCaption, "Notova - {dir}\\" + kDeep + "\\deep.txt"},
            {Do::Keys, "{Ctrl+End}er{Ctrl+S}"},
            {Do::ExpectFile, kDeep + "\\deep.txt", "deeper"},
        }},
        {"TheToolbarKeepsItsThicknessThroughMinimizingAndARestart", false, "", {
            {Do::Start, ""},
            {Do::ExpectHeight, "TSpeedBar", "33"},
            {Do::Keys, "{Alt+Space}n"}, // the system menu's Minimize
            {Do::Keys, "{Alt+Space}r"}, // and Restore
            {Do::ExpectHeight, "TSpeedBar", "33"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectExited},
            {Do::ExpectRegistry, "TForm1SpeedBar|Width", "33"},
            {Do::Start, ""},
            {Do::ExpectHeight, "TSpeedBar", "33"},
        }},
        {"ThePositionPanelShowsTheLastPositionWhole", false, "", {
            {Do::WriteFile, "lines.txt", "", &ManyLines},
            {Do::Start, "{dir}\\lines.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\lines.txt"},
            {Do::Keys, "{Ctrl+End}"},
            {Do::ExpectPanel, "2", "Pos: 3100000  0@100001"},
        }},
        // Started without a file, Undo and Redo look as they do once New has emptied the history.
        {"UndoAndRedoAreGreyWithNothingToUndo", false, "", {
            {Do::Start, ""},
            {Do::Snapshot, "TSpeedBar"},
            {Do::Keys, "x{Ctrl+N}"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Click, "No"},
            {Do::ExpectSnapshot, "TSpeedBar"},
        }},
        // The texts and options typed into a dialog stay however it closes: Esc, Cancel, the close box.
        {"FindAndReplaceKeepWhatWasTypedHoweverTheyClose", false, "", {
            {Do::WriteFile, "ab.txt", "ab ab ab"},
            {Do::Start, "{dir}\\ab.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::Keys, "ab{Enter}"}, // a search first: the texts it carried are the ones to lose
            {Do::ExpectSelection, "", "0-2"},
            {Do::Keys, "{Esc}"},
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+Home}{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::Keys, "a{Tab}aa{Tab}{Tab}{Space}{Esc}"}, // Match Case on
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::ExpectField, "Find What", "a"},
            {Do::ExpectField, "Replace With", "aa"},
            {Do::ExpectChecked, "Match Case", "on"},
            {Do::ExpectChecked, "Match Whole Word Only", "off"},
            {Do::Keys, "b{Tab}bb{Tab}{Space}"}, // Match Whole Word Only on
            {Do::Click, "Cancel"},
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::ExpectField, "Find What", "b"},
            {Do::ExpectField, "Replace With", "bb"},
            {Do::ExpectChecked, "Match Whole Word Only", "on"},
            {Do::ExpectChecked, "Match Case", "on"},
            {Do::Keys, "a{Tab}aa{Tab}{Space}{Tab}{Space}"}, // both off
            {Do::ClickCloseBox},
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::ExpectField, "Find What", "a"},
            {Do::ExpectField, "Replace With", "aa"},
            {Do::ExpectChecked, "Match Whole Word Only", "off"},
            {Do::ExpectChecked, "Match Case", "off"},
            {Do::Click, "Replace All"},
            {Do::ExpectText, "", "aab aab aab"},
            {Do::Keys, "{Esc}{Ctrl+Home}{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::Keys, "b{Tab}{Tab}{Space}{Tab}{Up}{Esc}"}, // Match Case on, then Up
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::ExpectField, "Find What", "b"},
            {Do::ExpectChecked, "Match Case", "on"},
            {Do::ExpectChecked, "Up", "on"},
            {Do::ExpectChecked, "Down", "off"},
            {Do::Keys, "c{Tab}{Tab}{Space}{Tab}{Down}"}, // Match Case off, then Down
            {Do::ClickCloseBox},
            {Do::ExpectWindow, "Notova - {dir}\\ab.txt"},
            {Do::Keys, "{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::ExpectField, "Find What", "c"},
            {Do::ExpectChecked, "Match Case", "off"},
            {Do::ExpectChecked, "Down", "on"},
        }},
        // Each access key of each dialog, pressed as a person does, does what its control does.
        {"EveryAccessKeyOfTheDialogsWorks", false, "", {
            {Do::WriteFile, "keys.txt", "ab ab AB"},
            {Do::Start, "{dir}\\keys.txt"},
            {Do::ExpectCaption, "Notova - {dir}\\keys.txt"},
            {Do::Keys, "{Ctrl+H}"},
            {Do::ExpectWindow, "Replace"},
            {Do::ExpectUnderlines}, // the keys a person reads off the screen
            {Do::Keys, "{Alt+P}"},
            {Do::ExpectFocus, "Replace With"},
            {Do::Keys, "x{Alt+N}"},
            {Do::ExpectFocus, "Find What"},
            {Do::Keys, "ab{Alt+W}"},
            {Do::ExpectChecked, "Match Whole Word Only", "on"},
            {Do::Keys, "{Alt+W}{Alt+C}"},
            {Do::ExpectChecked, "Match Whole Word Only", "off"},
            {Do::ExpectChecked, "Match Case", "on"},
            {Do::Keys, "{Alt+F}"},
            {Do::ExpectSelection, "", "0-2"},
            {Do::Keys, "{Alt+R}"},
            {Do::ExpectText, "", "ab x AB"},
            {Do::Keys, "{Alt+C}{Alt+A}"},
            {Do::ExpectText, "", "ab x x"},
            {Do::Keys, "{Esc}{Ctrl+End}{Ctrl+F}"},
            {Do::ExpectWindow, "Find"},
            {Do::ExpectUnderlines},
            {Do::Keys, "{Alt+C}"},
            {Do::ExpectChecked, "Match Case", "on"},
            {Do::Keys, "{Alt+N}"},
            {Do::ExpectFocus, "Find What"},
            {Do::Keys, "x{Alt+U}"},
            {Do::ExpectChecked, "Up", "on"},
            {Do::Keys, "{Alt+F}"},
            {Do::ExpectSelection, "", "5-6"},
            {Do::Keys, "{Alt+F}"},
            {Do::ExpectSelection, "", "3-4"},
            {Do::Keys, "{Alt+D}"},
            {Do::ExpectChecked, "Down", "on"},
            {Do::Keys, "{Alt+F}"},
            {Do::ExpectSelection, "", "5-6"},
            {Do::Keys, "{Alt+W}"},
            {Do::ExpectChecked, "Match Whole Word Only", "on"},
            {Do::Keys, "{Esc}"},
            {Do::Menu, "Setup|Customize..."},
            {Do::ExpectWindow, "Customize Speedbar"},
            {Do::ExpectUnderlines},
            {Do::Keys, "{Alt+A}"},
            {Do::ExpectFocus, "Available buttons"},
            {Do::Keys, "{Alt+C}"},
            {Do::ExpectFocus, "Categories"},
            {Do::Keys, "{Esc}"},
            {Do::ExpectWindow, "Notova - {dir}\\keys.txt"},
            {Do::Keys, "{Alt+F4}"},
            {Do::ExpectBox, "Save changes?", "Yes No Cancel"},
            {Do::Keys, "{Alt+N}"},
            {Do::ExpectExited},
            {Do::ExpectFile, "keys.txt", "ab ab AB"},
        }},
        // What a user sees at the screen's scale (the tests run at 96 DPI and again at 144): the window
        // at its design size scaled, every button inside the bar with a picture drawn for the scale, and
        // every panel's text whole.
        {"LaidOutAtTheScreensDpi", false, "", {
            {Do::Start, ""},
            {Do::ExpectCaption, "Notova"},
            {Do::ExpectLayout},
            {Do::ExpectGlyphInk, "NewBtn"},
            {Do::ExpectGlyphInk, "FindBtn"},
            {Do::Keys, "Wm{Left}"},
            {Do::ExpectPanel, "0", " Changed"},
            {Do::ExpectPanel, "1", "#109"},
            {Do::ExpectPanel, "2", "Pos: 1  1@1"},
            {Do::ExpectPanel, "3", "2 Bytes"},
            {Do::ExpectPanel, "4", " NUM "},
            {Do::ExpectPanel, "5", " CAPS "},
        }},
        {"AHighlightedCheckedOptionShowsItsCheck", false, "", {
            {Do::Start, ""},
            {Do::Keys, "{Alt+S}{Down}"}, // Setup's Word Select, checked from the start
            {Do::ExpectCheck},
            {Do::Keys, "{Esc}{Esc}"},
            {Do::ExpectCaption, "Notova"},
        }},
    };
}

// ---- The driver -----------------------------------------------------------------------------------

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string WithoutAmpersands(const std::string& text) { return Replace(text, "&", ""); }

bool Matches(const std::string& text, const std::string& pattern) {
    // "*" matches any run of characters.
    const size_t star = pattern.find('*');
    if (star == std::string::npos) return text == pattern;
    if (text.compare(0, star, pattern, 0, star) != 0) return false;
    for (size_t at = star; at <= text.size(); ++at) {
        if (Matches(text.substr(at), pattern.substr(star + 1))) return true;
    }
    return false;
}

std::string ExeOfThisBuild() {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    for (int i = 0; i < 3; ++i) path = path.substr(0, path.find_last_of('\\'));
    return path + "\\app\\notova.exe";
}

// The text field's text, in its own single-byte characters.
std::string FieldText(HWND field) {
    char text[4096] = {};
    ::SendMessageTimeoutA(field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          2000, nullptr);
    return text;
}

// A window's title or a control's text, whole also outside the code page. The program's own windows
// are single-byte windows, which would narrow it when asked: theirs is read as the system keeps it.
std::string TextOf(HWND window) {
    wchar_t text[4096] = {};
    if (!::IsWindowUnicode(window)) {
        ::GetWindowTextW(window, text, 4096);
    } else {
        ::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                              2000, nullptr);
    }
    return Utf8(std::wstring(text));
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The visible child of a class: the text field keeps windows hidden for undo beside the one it shows.
HWND ShownChild(HWND parent, const char* className) {
    for (HWND child = ::FindWindowExA(parent, nullptr, className, nullptr); child;
         child = ::FindWindowExA(parent, child, className, nullptr)) {
        if (::IsWindowVisible(child)) return child;
    }
    return nullptr;
}

class Driver {
  public:
    Driver(const std::string& folder) : folder_(folder), exe_(ExeOfThisBuild()) {}
    ~Driver() { EndInstances(); }

    void Run(const Step& step) {
        const std::string text = Replace(step.Text, "{dir}", folder_);
        const std::string detail = Replace(step.Detail, "{dir}", folder_);
        const auto content = [&] { return step.Content ? step.Content() : detail; };
        const int ms = step.Seconds * 1000;
        switch (step.What) {
        case Do::WriteFile: {
            // Folders in the name are made first, through the wide functions, which know no MAX_PATH.
            const std::string path = folder_ + "\\" + text;
            for (size_t at = folder_.size() + 1; (at = path.find('\\', at)) != std::string::npos; ++at) {
                const std::string folder = "\\\\?\\" + path.substr(0, at);
                ::CreateDirectoryW(std::wstring(folder.begin(), folder.end()).c_str(), nullptr);
            }
            test::WriteFileBytes(path, content());
            break;
        }
        case Do::Start:
            EndInstances();
            Start(text);
            break;
        case Do::StartAnother: Start(text); break;
        case Do::Switch:
            ASSERT_LE(static_cast<size_t>(std::stoi(text)), instances_.size()) << "no such instance";
            current_ = static_cast<size_t>(std::stoi(text)) - 1;
            break;
        case Do::Keys: Type(text); break;
        case Do::Menu: ChooseMenu(text); break;
        case Do::Click: ClickButton(text); break;
        case Do::ClickCloseBox: ClickCloseBox(); break;
        case Do::ExpectCaption:
            EXPECT_TRUE(WaitUntil(ms, [&] { return TextOf(MainWindow()) == text; }))
                << "caption \"" << TextOf(MainWindow()) << "\", expected \"" << text << "\"";
            break;
        case Do::ExpectBox: ExpectBox(text, detail, ms); break;
        case Do::ExpectWindow:
            EXPECT_TRUE(WaitUntil(ms, [&] { return TextOf(::GetForegroundWindow()) == text; }))
                << "active: \"" << TextOf(::GetForegroundWindow()) << "\", expected \"" << text << "\"";
            // Wine takes the keyboard's modifiers from the X server once the focus arrives there, a
            // moment later: a Shift sent before that would be dropped.
            ::Sleep(500);
            break;
        case Do::ExpectFocus: {
            std::string focused;
            EXPECT_TRUE(WaitUntil(ms, [&] { return (focused = ShownName(Focused())) == text; }))
                << "the focus is on \"" << focused << "\", expected \"" << text << "\"";
            break;
        }
        case Do::ExpectField: {
            std::string shown;
            EXPECT_TRUE(WaitUntil(ms, [&] { return (shown = TextOf(ControlNamed(text))) == detail; }))
                << text << " shows \"" << shown << "\", expected \"" << detail << "\"";
            break;
        }
        case Do::ExpectChecked: {
            std::string state;
            EXPECT_TRUE(WaitUntil(ms, [&] {
                HWND button = ControlNamed(text);
                state = !button ? "missing"
                        : ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? "on" : "off";
                return state == detail;
            })) << text << " is " << state << ", expected " << detail;
            break;
        }
        case Do::ExpectSelection: {
            std::string shown;
            EXPECT_TRUE(WaitUntil(ms, [&] {
                HWND field = ShownChild(MainWindow(), "RichEdit20A");
                const LRESULT packed = field ? ::SendMessageA(field, EM_GETSEL, 0, 0) : 0;
                shown = std::to_string(LOWORD(packed)) + "-" + std::to_string(HIWORD(packed));
                return shown == detail;
            })) << "the selection is " << shown << ", expected " << detail;
            break;
        }
        case Do::ExpectUnderlines: {
            HWND front = ::GetForegroundWindow();
            int checked = 0;
            for (HWND child = ::GetWindow(front, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                const std::string caption = TextOf(child);
                if (!::IsWindowVisible(child) || caption.find('&') == std::string::npos) continue;
                ++checked;
                EXPECT_EQ(UnderlineFault(child), "") << "\"" << caption << "\" in \"" << TextOf(front) << "\"";
            }
            EXPECT_GT(checked, 0) << "no access keys in \"" << TextOf(front) << "\"";
            break;
        }
        case Do::ExpectFile: {
            const std::string path = folder_ + "\\" + text, expected = content();
            // Written when the program is done with the command: wait for the length, then compare.
            WaitUntil(ms, [&] {
                WIN32_FILE_ATTRIBUTE_DATA data{};
                return FileAttributeData(path, data) &&
                       data.nFileSizeLow == static_cast<DWORD>(expected.size()) && data.nFileSizeHigh == 0;
            });
            const std::string actual = test::FileExists(path) ? test::ReadFileBytes(path) : "<no file>";
            EXPECT_TRUE(actual == expected) << path << ": " << actual.size() << " bytes, expected " << expected.size()
                                            << (actual.size() < 200 ? ": \"" + actual + "\"" : "");
            break;
        }
        case Do::ExpectFileLike: {
            const std::string path = folder_ + "\\" + text;
            std::string actual;
            EXPECT_TRUE(WaitUntil(ms, [&] { return Matches(actual = test::ReadFileBytes(path), detail); }))
                << path << ": \"" << actual.substr(0, 300) << "\", expected \"" << detail << "\"";
            break;
        }
        case Do::ExpectRegistry: {
            const size_t bar = text.find('|');
            const test::RegistryValue value = test::ReadProgramValue(text.substr(0, bar), text.substr(bar + 1));
            DWORD number = 0;
            std::memcpy(&number, value.Text.data(), std::min(value.Text.size(), sizeof number));
            EXPECT_EQ(value.Type == REG_DWORD ? std::to_string(number) : value.Text, detail) << text;
            break;
        }
        case Do::ExpectLines: {
            // Lines as the text field shows them: wrapped rows count.
            long lines = 0;
            EXPECT_TRUE(WaitUntil(ms, [&] {
                HWND field = ShownChild(MainWindow(), "RichEdit20A");
                lines = field ? static_cast<long>(::SendMessageA(field, EM_GETLINECOUNT, 0, 0)) : -1;
                return detail[0] == '>' ? lines > std::stol(detail.substr(1)) : std::to_string(lines) == detail;
            })) << lines << " lines shown, expected " << detail;
            break;
        }
        case Do::ExpectText: {
            std::string shown;
            EXPECT_TRUE(WaitUntil(ms, [&] {
                shown = FieldText(ShownChild(MainWindow(), "RichEdit20A"));
                return shown == detail;
            })) << "the text is \"" << shown << "\", expected \"" << detail << "\"";
            break;
        }
        case Do::ExpectHeight: {
            int height = -1;
            EXPECT_TRUE(WaitUntil(ms, [&] {
                HWND child = ShownChild(MainWindow(), text.c_str());
                RECT r{};
                height = child && ::GetWindowRect(child, &r) ? static_cast<int>(r.bottom - r.top) : -1;
                return std::to_string(height) == detail;
            })) << text << " is " << height << " pixels high, expected " << detail;
            break;
        }
        case Do::ExpectCheck: {
            int ink = 0;
            EXPECT_TRUE(WaitUntil(ms, [&] { return (ink = CheckInk()) > 5; })) << ink << " pixels of a check";
            break;
        }
        case Do::ExpectLayout: ExpectLayout(); break;
        case Do::ExpectGlyphInk: ExpectGlyphInk(text, ms); break;
        case Do::ExpectPanel: {
            const int expected = InkWidth(detail);
            int shown = -1;
            EXPECT_TRUE(WaitUntil(ms, [&] { return (shown = PanelInkWidth(std::stoi(text))) == expected; }))
                << "panel " << text << " shows " << shown << " columns of text, \"" << detail << "\" takes "
                << expected;
            break;
        }
        case Do::Snapshot: {
            // Nothing hot-tracked, no tooltip: the mouse rests in the screen's far corner.
            ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
            ::Sleep(300);
            snapshot_ = ScreenPixels(ShownChild(MainWindow(), text.c_str()));
            ASSERT_FALSE(snapshot_.empty()) << "no " << text << " on the screen";
            break;
        }
        case Do::ExpectSnapshot:
            EXPECT_TRUE(WaitUntil(ms, [&] {
                return ScreenPixels(ShownChild(MainWindow(), text.c_str())) == snapshot_;
            })) << text << " looks different";
            break;
        case Do::ExpectRunning:
            ASSERT_TRUE(Running()) << "the program ended";
            break;
        case Do::ExpectExited:
            EXPECT_TRUE(WaitUntil(ms, [&] { return !Running(); })) << "the program is still running";
            break;
        }
    }

  private:
    bool WaitUntil(int ms, const std::function<bool()>& done) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (Clock::now() > end) return false;
            ::Sleep(50);
        }
        return true;
    }

    struct Instance {
        KernelHandle Process;
        DWORD Id = 0;
    };

    bool Running() const {
        return current_ < instances_.size() &&
               ::WaitForSingleObject(instances_[current_].Process.get(), 0) == WAIT_TIMEOUT;
    }
    DWORD ProcessId() const { return current_ < instances_.size() ? instances_[current_].Id : 0; }

    // One more instance, which the following steps address.
    void Start(const std::string& arguments) {
        std::wstring line = Wide("\"" + exe_ + "\"" + (arguments.empty() ? "" : " " + arguments));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     Wide(folder_).c_str(), &startup, &started))
            << Utf8(line);
        instances_.push_back(Instance{KernelHandle(started.hProcess), started.dwProcessId});
        current_ = instances_.size() - 1;
        KernelHandle thread(started.hThread);
        ASSERT_TRUE(WaitUntil(30000, [&] { return MainWindow() != nullptr; })) << "no main window";
        Settle(); // up to the message loop: a file named is loaded by then
        // The new window's mapping and focus reach Wine from the X server a moment later; keys sent
        // before that lost their Alt, or opened a menu that was never mapped.
        ::Sleep(1000);
    }

    // Only the instances this driver started, never another program's.
    void EndInstances() {
        for (Instance& instance : instances_) {
            if (::WaitForSingleObject(instance.Process.get(), 0) != WAIT_TIMEOUT) continue;
            ::TerminateProcess(instance.Process.get(), 1);
            ::WaitForSingleObject(instance.Process.get(), 10000);
        }
        instances_.clear();
        current_ = 0;
    }

    std::vector<HWND> Windows() const {
        struct Search {
            DWORD process;
            std::vector<HWND> found;
        } search{ProcessId(), {}};
        ::EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == s->process && ::IsWindowVisible(window)) s->found.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND MainWindow() const {
        for (HWND window : Windows()) {
            if (ClassOf(window) == "TForm1") return window;
        }
        return nullptr;
    }

    // The program's window that takes the input: an enabled dialog above the main window, or the main
    // window itself.
    HWND FrontWindow() const {
        HWND main = MainWindow();
        for (HWND window : Windows()) { // top to bottom
            if (window != main && ClassOf(window) == "#32770" && ::IsWindowEnabled(window)) return window;
        }
        return main;
    }

    // Input goes where the program put the focus; only when none of its windows is active (just
    // started) is its window in front activated, as a click on it would.
    void Activate() {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &owner);
        HWND front = FrontWindow();
        if (!front || owner == ProcessId()) return;
        ::SetForegroundWindow(front);
        EXPECT_TRUE(WaitUntil(2000, [&] { return ::GetForegroundWindow() == front; }))
            << "the instance's window did not come to the front";
        // As after a start: the focus reaches Wine from the X server a moment later.
        if (owner != 0) ::Sleep(1000);
    }

    // The program's open drop-down menu, or null.
    HWND OpenMenu() const {
        for (HWND window : Windows()) {
            if (ClassOf(window) == "#32768") return window;
        }
        return nullptr;
    }

    // The program has dealt with what it was given.
    void Settle() {
        if (current_ < instances_.size()) ::WaitForInputIdle(instances_[current_].Process.get(), 5000);
        ::Sleep(100);
    }

    static void Send(WORD key, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        switch (key) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
        case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default: break;
        }
        ::SendInput(1, &input, sizeof input);
        ::Sleep(15); // a person's key stays down a moment
    }

    static void TypeCharacter(wchar_t unit) {
        INPUT input[2] = {};
        for (INPUT& key : input) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = unit;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        for (INPUT& key : input) {
            ::SendInput(1, &key, sizeof key);
            ::Sleep(15);
        }
    }

    // A key with its modifiers, as a person presses it: modifiers down, key down, key up, modifiers up.
    static void Press(WORD key, const std::vector<WORD>& modifiers) {
        for (WORD m : modifiers) Send(m, false);
        Send(key, false);
        Send(key, true);
        for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) Send(*m, true);
        ::Sleep(10);
    }

    static WORD NamedKey(const std::string& name) {
        static const std::pair<const char*, WORD> kNames[] = {
            {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},  {"Tab", VK_TAB},     {"Up", VK_UP},
            {"Down", VK_DOWN},    {"Left", VK_LEFT},   {"Right", VK_RIGHT}, {"Home", VK_HOME},
            {"End", VK_END},      {"Delete", VK_DELETE}, {"Backspace", VK_BACK}, {"F3", VK_F3},
            {"F4", VK_F4},        {"F10", VK_F10},     {"Space", VK_SPACE}, {"Backspace", VK_BACK}};
        for (const auto& [n, key] : kNames) {
            if (name == n) return key;
        }
        if (name.size() == 1) return static_cast<WORD>(LOBYTE(::VkKeyScanA(name[0])));
        ADD_FAILURE() << "unknown key " << name;
        return 0;
    }

    void Type(const std::string& keys) {
        Activate();
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == '{') {
                const size_t close = keys.find('}', i);
                std::string combo = keys.substr(i + 1, close - i - 1);
                i = close;
                std::vector<WORD> modifiers;
                for (size_t plus; (plus = combo.find('+')) != std::string::npos && plus + 1 < combo.size();) {
                    const std::string modifier = combo.substr(0, plus);
                    modifiers.push_back(modifier == "Ctrl" ? VK_CONTROL : modifier == "Alt" ? VK_MENU : VK_SHIFT);
                    combo = combo.substr(plus + 1);
                }
                Press(NamedKey(combo), modifiers);
                Settle();
                Activate();
                continue;
            }
            if (static_cast<unsigned char>(keys[i]) >= 0x80) {
                // Outside ASCII (a name's letters): as an input method types it, one character per key.
                size_t end = i + 1;
                while (end < keys.size() && (static_cast<unsigned char>(keys[end]) & 0xC0) == 0x80) ++end;
                for (wchar_t unit : Wide(keys.substr(i, end - i))) TypeCharacter(unit);
                i = end - 1;
                continue;
            }
            const SHORT scan = ::VkKeyScanA(keys[i]);
            std::vector<WORD> modifiers;
            if (HIBYTE(scan) & 1) modifiers.push_back(VK_SHIFT);
            Press(LOBYTE(scan), modifiers);
        }
        Settle();
    }

    // Finds "Menu|Item" in the exe's own menu resource and presses the access keys of both.
    void ChooseMenu(const std::string& path) {
        Module exe(::LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(exe);
        Menu menu(::LoadMenuA(exe.get(), MAKEINTRESOURCEA(IDR_MAINMENU)));
        ASSERT_TRUE(menu) << "the main menu resource";
        std::string keys;
        HMENU level = menu.get();
        for (size_t start = 0; start <= path.size();) {
            const size_t bar = std::min(path.find('|', start), path.size());
            const std::string wanted = path.substr(start, bar - start);
            start = bar + 1;
            char accessKey = 0;
            for (int i = 0; i < ::GetMenuItemCount(level); ++i) {
                char caption[256] = {};
                ::GetMenuStringA(level, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
                std::string shown = caption;
                shown = shown.substr(0, shown.find('\t'));
                if (WithoutAmpersands(shown) != wanted) continue;
                const size_t amp = shown.find('&');
                ASSERT_NE(amp, std::string::npos) << wanted << " has no access key";
                accessKey = shown[amp + 1];
                level = ::GetSubMenu(level, i);
                break;
            }
            ASSERT_NE(accessKey, 0) << "no menu item \"" << wanted << "\" in " << path;
            keys += keys.empty() ? std::string("{Alt+") + accessKey + "}" : std::string(1, accessKey);
        }
        Type(keys);
    }

    // The focused control of the program's active window.
    HWND Focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const DWORD thread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
        return thread && ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }

    // What a person calls a control: a button by its caption, any other control by its label, the
    // nearest text left of it on its row or else above it; without "&" and a closing colon.
    static std::string ShownName(HWND control) {
        if (!control) return "<none>";
        std::string name;
        if (_stricmp(ClassOf(control).c_str(), "Button") == 0) {
            name = TextOf(control);
        } else {
            RECT place{};
            ::GetWindowRect(control, &place);
            long nearest = LONG_MAX;
            for (HWND other = ::GetWindow(::GetParent(control), GW_CHILD); other;
                 other = ::GetWindow(other, GW_HWNDNEXT)) {
                RECT label{};
                if (_stricmp(ClassOf(other).c_str(), "Static") != 0 || TextOf(other).empty() ||
                    !::IsWindowVisible(other) || !::GetWindowRect(other, &label))
                    continue;
                const bool sameRow = label.top < place.bottom && label.bottom > place.top && label.right <= place.left;
                const bool above = label.left < place.right && label.right > place.left && label.bottom <= place.top;
                // A label on the row counts before any above it.
                const long distance = sameRow ? place.left - label.right : above ? 10000 + place.top - label.bottom
                                                                                  : LONG_MAX;
                if (distance < nearest) nearest = distance, name = TextOf(other);
            }
        }
        name = WithoutAmpersands(name);
        if (!name.empty() && name.back() == ':') name.pop_back();
        return name;
    }

    // The visible control of the program's active window that a person calls `name`.
    HWND ControlNamed(const std::string& name) const {
        HWND front = ::GetForegroundWindow();
        for (HWND child = ::GetWindow(front, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::IsWindowVisible(child) && _stricmp(ClassOf(child).c_str(), "Static") != 0 && ShownName(child) == name)
                return child;
        }
        return nullptr;
    }

    static void Click(int x, int y) {
        INPUT input[3] = {};
        for (INPUT& i : input) i.type = INPUT_MOUSE;
        input[0].mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        input[0].mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        for (INPUT& i : input) {
            ::SendInput(1, &i, sizeof i);
            ::Sleep(40);
        }
    }

    // Whether the screen shows the underline of a control's access key under its letter; what is wrong
    // if not. The control shows its caption, then the same without the "&": what differs is the
    // underline, and the letters are the runs of inked columns above it (the first one of a check box
    // or an option button is its box).
    std::string UnderlineFault(HWND control) {
        const std::string caption = TextOf(control);
        const size_t amp = caption.find('&');
        const std::string plain = WithoutAmpersands(caption);
        RECT place{};
        ::GetWindowRect(control, &place);
        const int width = place.right - place.left, height = place.bottom - place.top;
        const std::vector<DWORD> marked = ScreenPixels(control);
        ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(plain.c_str()));
        Settle();
        const std::vector<DWORD> bare = ScreenPixels(control);
        ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
        Settle();
        if (marked.empty() || marked.size() != bare.size()) return "not on the screen";
        const LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
        const bool button = ClassOf(control) == "Button";
        const bool push = button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
        const int inset = push ? 3 : 0; // inside a push button's frame
        int left = width, right = -1, top = height;
        for (int y = inset; y < height - inset; ++y) {
            for (int x = inset; x < width - inset; ++x) {
                if (marked[y * width + x] == bare[y * width + x]) continue;
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
            }
        }
        if (right < 0) return "no underline";
        std::vector<DWORD> colors(bare.begin(), bare.end());
        std::nth_element(colors.begin(), colors.begin() + colors.size() / 2, colors.end());
        const DWORD background = colors[colors.size() / 2];
        std::vector<std::pair<int, int>> runs;
        for (int x = inset; x < width - inset; ++x) {
            bool ink = false;
            for (int y = inset; y < top && !ink; ++y) ink = bare[y * width + x] != background;
            if (!ink) continue;
            if (!runs.empty() && runs.back().second == x - 1) {
                runs.back().second = x;
            } else {
                runs.push_back({x, x});
            }
        }
        if (button && !push && !runs.empty()) runs.erase(runs.begin());
        const size_t letters = static_cast<size_t>(std::count_if(plain.begin(), plain.end(), [](char c) { return c != ' '; }));
        if (runs.size() != letters) return std::to_string(runs.size()) + " letters seen, not " + std::to_string(letters);
        const size_t k = static_cast<size_t>(
            std::count_if(caption.begin(), caption.begin() + static_cast<long>(amp), [](char c) { return c != ' '; }));
        const auto [from, to] = runs[k];
        if (left >= from - 1 && right <= to + 1) return "";
        return "the underline takes columns " + std::to_string(left) + " to " + std::to_string(right) + ", its letter \"" +
               caption.substr(amp + 1, 1) + "\" " + std::to_string(from) + " to " + std::to_string(to);
    }

    // Where the window itself says its close box is, found along its caption.
    void ClickCloseBox() {
        HWND front = ::GetForegroundWindow();
        DWORD owner = 0;
        ::GetWindowThreadProcessId(front, &owner);
        ASSERT_EQ(owner, ProcessId()) << "no window of the program is active";
        RECT place{};
        ::GetWindowRect(front, &place);
        const int y = place.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
        int right = -1, left = -1;
        for (int x = place.right - 1; x > place.left; --x) {
            const LRESULT hit = ::SendMessageA(front, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) {
                if (right < 0) right = x;
                left = x;
            } else if (right >= 0) {
                break;
            }
        }
        ASSERT_GE(right, 0) << "no close box on \"" << TextOf(front) << "\"";
        Click((left + right) / 2, y);
        Settle();
    }

    void ClickButton(const std::string& caption) {
        HWND front = FrontWindow();
        HWND button = nullptr;
        for (HWND child = ::GetWindow(front, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == "Button" && ::IsWindowVisible(child) && WithoutAmpersands(TextOf(child)) == caption)
                button = child;
        }
        ASSERT_TRUE(button) << "no button \"" << caption << "\" in \"" << TextOf(front) << "\"";
        Activate();
        RECT place{};
        ::GetWindowRect(button, &place);
        Click((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        Settle();
    }

    // The pixels of a check inside the sunken cell that starts the open menu's highlighted item, told
    // from the cell's own colours; -1 while no menu is open.
    int CheckInk() const {
        HWND menu = OpenMenu();
        RECT place{};
        if (!menu || !::GetWindowRect(menu, &place)) return -1;
        const int width = place.right - place.left, height = place.bottom - place.top;
        const std::vector<DWORD> pixels = ScreenPixels(menu);
        if (pixels.empty()) return -1;
        const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; };
        // The highlighted item: the rows whose right end differs from most rows' there.
        const int edge = width - 6;
        std::vector<DWORD> column;
        for (int y = 0; y < height; ++y) column.push_back(at(edge, y));
        std::vector<DWORD> sorted = column;
        std::sort(sorted.begin(), sorted.end());
        const DWORD menuColor = sorted[sorted.size() / 2];
        int top = -1, bottom = -1;
        for (int y = 0, start = 0; y <= height; ++y) {
            if (y < height && column[y] != menuColor) continue;
            if (y - start >= 15 && start > 0 && y < height) top = start, bottom = y;
            start = y + 1;
        }
        if (top < 0) return 0;
        // The cell's frame is the first break in the highlight from the item's left.
        const int middle = (top + bottom) / 2;
        int x = 0;
        while (x < edge && at(x, middle) != column[middle]) ++x;
        while (x < edge && at(x, middle) == column[middle]) ++x;
        const DWORD fill = at(x + 1, top + 2), dither = at(x + 2, top + 2);
        int ink = 0;
        for (int y = top + 3; y < bottom - 3; ++y) {
            for (int px = x + 2; px < x + 17 && px < width; ++px)
                ink += at(px, y) != fill && at(px, y) != dither;
        }
        return ink;
    }

    // What the screen shows of the window, row by row; empty when it cannot be read.
    static std::vector<DWORD> ScreenPixels(HWND window) {
        RECT place{};
        if (!window || !::GetWindowRect(window, &place)) return {};
        const int width = place.right - place.left, height = place.bottom - place.top;
        if (width <= 0 || height <= 0) return {};
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        WindowDC screen(nullptr);
        MemoryDC memory(::CreateCompatibleDC(screen.get()));
        GdiObject picture(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!picture) return {};
        SelectedObject selected(memory.get(), picture.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), place.left, place.top, SRCCOPY);
        const auto* first = static_cast<const DWORD*>(bits);
        return std::vector<DWORD>(first, first + static_cast<size_t>(width) * height);
    }

    static int ScreenDpi() {
        WindowDC screen(nullptr);
        return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    static int Scaled(int design) { return ::MulDiv(design, ScreenDpi(), 96); }

    // The status bar's font, as the program designs it: 8 points at the screen's DPI.
    static GdiObject StatusFont() {
        LOGFONTA font{};
        font.lfHeight = -::MulDiv(8, ScreenDpi(), 72);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(font.lfFaceName, "MS Sans Serif");
        return GdiObject(::CreateFontIndirectA(&font));
    }

    // How many pixel columns, from the first to the last that has ink, the text takes in that font.
    static int InkWidth(const std::string& text) {
        WindowDC screen(nullptr);
        MemoryDC memory(::CreateCompatibleDC(screen.get()));
        const int width = 600, height = 30;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        GdiObject picture(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        GdiObject font = StatusFont();
        if (!picture || !font) return -1;
        SelectedObject selectedPicture(memory.get(), picture.get()), selectedFont(memory.get(), font.get());
        std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
        ::TextOutA(memory.get(), 10, 5, text.c_str(), static_cast<int>(text.size()));
        ::GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        return InkColumns(width, height, [&](int x, int y) { return (pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF; });
    }

    static int InkColumns(int width, int height, const std::function<bool(int x, int y)>& ink) {
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                if (!ink(x, y)) continue;
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }

    // The same for what a panel of the status bar shows on the screen, inside its frame; its rectangle
    // is asked for through memory in the program's own process.
    int PanelInkWidth(int index) const {
        HWND bar = ::FindWindowExA(MainWindow(), nullptr, STATUSCLASSNAMEA, nullptr);
        KernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, ProcessId()));
        if (!bar || !process) return -1;
        void* remote = ::VirtualAllocEx(process.get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
        if (!remote) return -1;
        RECT part{};
        const bool asked = ::SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)) &&
                           ::ReadProcessMemory(process.get(), remote, &part, sizeof part, nullptr);
        ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
        RECT window{};
        if (!asked || !::GetWindowRect(bar, &window)) return -1;
        const std::vector<DWORD> pixels = ScreenPixels(bar);
        const int barWidth = window.right - window.left;
        // Client and window share their origin: the bar has no frame of its own.
        const int left = part.left + 2, top = part.top + 2, width = part.right - part.left - 4;
        const int height = part.bottom - part.top - 4;
        if (pixels.empty() || width <= 0 || height <= 0) return -1;
        const auto at = [&](int x, int y) { return pixels[static_cast<size_t>((top + y) * barWidth + left + x)]; };
        const DWORD background = at(0, 0);
        const auto ink = [&](int x, int y) { return at(x, y) != background; };
        // The last part reaches under the size grip, whose dots stand apart from the text: the text
        // ends at the first gap wider than any between its letters.
        const int count = static_cast<int>(::SendMessageA(bar, SB_GETPARTS, 0, 0));
        if (index != count - 1) return InkColumns(width, height, ink);
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            bool any = false;
            for (int y = 0; y < height && !any; ++y) any = ink(x, y);
            if (!any) {
                if (last >= 0 && x - last > Scaled(4)) break;
                continue;
            }
            if (first < 0) first = x;
            last = x;
        }
        return first < 0 ? 0 : last - first + 1;
    }

    HWND ToolbarButton(const std::string& name) const {
        HWND bar = ::FindWindowExA(MainWindow(), nullptr, "TSpeedBar", nullptr);
        return bar ? ::FindWindowExA(bar, nullptr, "TSpeedbarButton", name.c_str()) : nullptr;
    }

    void ExpectLayout() {
        HWND main = MainWindow();
        RECT client{};
        ::GetClientRect(main, &client);
        // The design's 500 by 423 pixels at 96 DPI are the frame and a client area; the client area scales.
        const SIZE design = ClientSizeForWindow(500, 423, WS_OVERLAPPEDWINDOW, true, 0, 96);
        EXPECT_EQ(client.right, Scaled(design.cx)) << "client width";
        EXPECT_EQ(client.bottom, Scaled(design.cy)) << "client height";
        HWND bar = ::FindWindowExA(main, nullptr, "TSpeedBar", nullptr);
        ASSERT_TRUE(bar);
        RECT inside{};
        ::GetClientRect(bar, &inside);
        EXPECT_EQ(inside.bottom, Scaled(33)) << "the toolbar's thickness";
        int buttons = 0;
        for (HWND button = ::GetWindow(bar, GW_CHILD); button; button = ::GetWindow(button, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(button)) continue;
            ++buttons;
            RECT place{};
            ::GetWindowRect(button, &place);
            ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= inside.right && place.bottom <= inside.bottom)
                << TextOf(button) << " lies outside the bar";
            EXPECT_EQ(place.right - place.left, Scaled(24)) << TextOf(button);
        }
        EXPECT_EQ(buttons, 13);
        RECT status{};
        ::GetWindowRect(::FindWindowExA(main, nullptr, STATUSCLASSNAMEA, nullptr), &status);
        EXPECT_EQ(status.bottom - status.top, Scaled(19)) << "the status bar's height";
    }

    // The area of a toolbar button's picture on the screen against its 96-DPI picture in the exe: the
    // square of the scale, give or take what redrawing the edges changes.
    void ExpectGlyphInk(const std::string& name, int ms) {
        // Nothing hot-tracked: the mouse rests in the screen's far corner.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        const auto rgb = [](COLORREF c) { return static_cast<DWORD>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
        Module exe(::LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        const int resource = name == "NewBtn" ? IDB_NEWBTN : IDB_FINDBTN;
        GdiObject glyph(::LoadImageA(exe.get(), MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_TRUE(glyph) << name;
        MemoryDC memory(::CreateCompatibleDC(nullptr));
        SelectedObject selected(memory.get(), glyph.get());
        const COLORREF key = ::GetPixel(memory.get(), 0, 15);
        int designInk = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = ::GetPixel(memory.get(), x, y);
                designInk += c != key && c != face;
            }
        }
        const double scale = ScreenDpi() / 96.0, expected = designInk * scale * scale;
        int shown = 0;
        const bool within = WaitUntil(ms, [&] {
            const std::vector<DWORD> pixels = ScreenPixels(ToolbarButton(name));
            shown = 0;
            for (DWORD p : pixels) shown += (p & 0xFFFFFF) != rgb(face);
            return shown > 0.85 * expected && shown < 1.15 * expected;
        });
        EXPECT_TRUE(within) << name << " covers " << shown << " pixels, its 96-DPI picture " << designInk << " (x"
                          << scale * scale << " = " << expected << ")";
    }

    void ExpectBox(const std::string& text, const std::string& buttons, int ms) {
        test::SeenDialog box;
        const bool seen = WaitUntil(ms, [&] {
            HWND front = FrontWindow();
            if (!front || ClassOf(front) != "#32770") return false;
            box = test::DescribeDialog(front);
            return !box.Text.empty();
        });
        ASSERT_TRUE(seen) << "no message box; expected \"" << text << "\"";
        EXPECT_TRUE(Matches(box.Text, text)) << "box says \"" << box.Text << "\", expected \"" << text << "\"";
        std::string shown;
        for (HWND child = ::GetWindow(FrontWindow(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == "Button" && ::IsWindowVisible(child))
                shown += (shown.empty() ? "" : " ") + WithoutAmpersands(TextOf(child));
        }
        EXPECT_EQ(shown, buttons) << box.Text;
    }

    std::string folder_;
    std::string exe_;
    std::vector<Instance> instances_;
    size_t current_ = 0;
    std::vector<DWORD> snapshot_;
};

class EndToEnd : public ::testing::TestWithParam<Scenario> {};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.Name; }

TEST_P(EndToEnd, Scenario) {
    const Scenario& scenario = GetParam();
    if (scenario.Only32Bit && sizeof(void*) != 4) GTEST_SKIP() << scenario.Why32Bit;
    ASSERT_TRUE(test::FileExists(ExeOfThisBuild())) << ExeOfThisBuild();
    test::ClearProgramKey();
    ::DeleteFileA((ExeOfThisBuild().substr(0, ExeOfThisBuild().find_last_of('\\')) + "\\settings.cfg").c_str());
    test::TempDir dir;
    Driver driver(dir.Path());
    for (size_t i = 0; i < scenario.Steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + scenario.Steps[i].Text);
        driver.Run(scenario.Steps[i]);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Notova, EndToEnd, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& row) { return row.param.Name; });

} // namespace
} // namespace nv
