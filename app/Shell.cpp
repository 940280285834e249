#include "app/Shell.h"

#include <shellapi.h>

#include <vector>

namespace nv {

std::string RunningExecutable() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        if (buffer.size() >= 1u << 16) return {};
        buffer.resize(buffer.size() * 2); // cut short: a longer path
    }
}

void StartInstance(HWND owner, const std::string& parameters, const std::string& program) {
    ::ShellExecuteA(owner, nullptr, program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

} // namespace nv
