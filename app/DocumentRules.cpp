#include "app/DocumentRules.h"

#include "base/Paths.h"

#include <algorithm>

namespace nv {

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string joined;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += arguments[i];
    }
    return joined;
}

std::string CaptionFor(const std::string& currentFile) {
    return currentFile.empty() ? "Notova" : "Notova - " + currentFile;
}

std::string SaveAsTarget(const std::string& chosenPath) {
    return ExtractFileName(chosenPath).find('.') == std::string::npos ? chosenPath + ".txt" : chosenPath;
}

std::string SaveSelectedTarget(const std::string& chosenPath) {
    return chosenPath.find('.') == std::string::npos ? chosenPath + ".Txt" : chosenPath;
}

std::string UndoName(int kind) {
    static const char* const kNames[] = {"", "typing", "delete", "drag and drop", "cut", "paste"};
    return kind >= 0 && kind <= 5 ? kNames[kind] : "";
}

std::string UndoCaption(int kind) { return "&Undo " + UndoName(kind); }
std::string RedoCaption(int kind) { return "&Redo " + UndoName(kind); }

bool RemoveZeroBytes(std::string& bytes) {
    const auto end = std::remove(bytes.begin(), bytes.end(), '\0');
    const bool seen = end != bytes.end();
    bytes.erase(end, bytes.end());
    return seen;
}

} // namespace nv
