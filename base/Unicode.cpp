#include "base/Unicode.h"

#include <climits>

namespace nv {

namespace {
std::wstring Widen(UINT codePage, const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}
} // namespace

std::wstring Wide(const std::string& utf8) {
    return Widen(CP_UTF8, utf8);
}

std::string Utf8(const wchar_t* wide, size_t length) {
    if (!wide || length == 0 || length > INT_MAX) return {};
    const int size = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide, size, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::string Utf8(const std::wstring& wide) {
    return Utf8(wide.data(), wide.size());
}

std::string AnsiToUtf8(const std::string& ansi) {
    return Utf8(Widen(CP_ACP, ansi));
}

void SetCaptionText(HWND window, const std::string& utf8) {
    const std::wstring caption = Wide(utf8);
    ::DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
}

std::string CaptionText(HWND window) {
    std::wstring text(32768, L'\0');
    const int length = ::InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
    return Utf8(text.data(), static_cast<size_t>(length > 0 ? length : 0));
}

} // namespace nv
