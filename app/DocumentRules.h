// Window-free rules of the document commands: names, captions and the loader's byte filter.
#pragma once

#include <string>
#include <vector>

namespace nv {

// Files larger than this many bytes ask whether to switch off costly display options.
constexpr unsigned long long kLargeFileThreshold = 5000000;
// Texts longer than this show their loading progress in the status bar.
constexpr unsigned long long kProgressThreshold = 1u << 20;
// During a long transfer the window is painted at least this often, in milliseconds.
constexpr unsigned long kPaintInterval = 100;

// The command line's arguments joined with single spaces: an unquoted path with spaces survives.
std::string JoinArguments(const std::vector<std::string>& arguments);

// "Notova - " and the path, or "Notova" for an untitled document.
std::string CaptionFor(const std::string& currentFile);

// Save As: ".txt" is appended when the file-name part has no dot.
std::string SaveAsTarget(const std::string& chosenPath);
// Save Selected: ".Txt" is appended when the path has no dot anywhere, folders included.
std::string SaveSelectedTarget(const std::string& chosenPath);

// The name of an undo kind for the Undo and Redo captions; unknown kinds have none.
std::string UndoName(int kind);
std::string UndoCaption(int kind); // "&Undo " and the name
std::string RedoCaption(int kind); // "&Redo " and the name

// Drops every zero byte in one pass; answers whether there was one.
bool RemoveZeroBytes(std::string& bytes);

} // namespace nv
