#include "app/Shell.h"

#include "base/Unicode.h"

#include <shellapi.h>

#include <vector>

namespace nv {

std::string RunningExecutable() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return Utf8(buffer.data(), length);
        if (buffer.size() >= 1u << 16) return {};
        buffer.resize(buffer.size() * 2); // cut short: a longer path
    }
}

void StartInstance(HWND owner, const std::string& parameters, const std::string& program) {
    ::ShellExecuteW(owner, nullptr, Wide(program).c_str(), Wide(parameters).c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace nv
