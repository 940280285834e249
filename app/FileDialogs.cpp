#include "app/FileDialogs.h"

#include <commdlg.h>

#include <vector>

namespace nv {

std::string DialogFilter(const std::string& filter) {
    std::string parts = filter;
    for (char& c : parts) {
        if (c == '|') c = '\0';
    }
    parts.push_back('\0');
    parts.push_back('\0');
    return parts;
}

bool TOpenDialog::Execute(HWND owner) {
    const std::string filter = DialogFilter(Filter);
    std::vector<char> name(32768, '\0'); // room for long paths
    FileName.copy(name.data(), name.size() - 1);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = name.data();
    request.nMaxFile = static_cast<DWORD>(name.size());
    request.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    request.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!Show(request)) return false;
    FileName = name.data();
    return true;
}

} // namespace nv
