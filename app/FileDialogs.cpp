#include "app/FileDialogs.h"

#include "base/Unicode.h"

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
    // The zero characters that end its parts convert as any other character.
    const std::wstring filter = Wide(DialogFilter(Filter));
    const std::wstring title = Wide(Title);
    std::vector<wchar_t> name(32768, L'\0'); // room for long paths
    const std::wstring preset = Wide(FileName);
    preset.copy(name.data(), name.size() - 1);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = name.data();
    request.nMaxFile = static_cast<DWORD>(name.size());
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!Show(request)) return false;
    FileName = Utf8(std::wstring(name.data()));
    return true;
}

} // namespace nv
