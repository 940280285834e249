#include "base/Dpi.h"

#include "base/Platform.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace nv {

namespace {

// The DPI functions of Windows 10, where the system has them.
struct DpiFunctions {
    UINT(WINAPI* GetDpiForWindow)(HWND) = nullptr;
    int(WINAPI* GetSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* SystemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
    BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
    BOOL(WINAPI* SetDialogDpiChangeBehavior)(HWND, int, int) = nullptr;
};

template <class Fn> void Find(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

const DpiFunctions& Functions() {
    static const DpiFunctions functions = [] {
        DpiFunctions found;
        if (HMODULE user = ::GetModuleHandleA("user32.dll")) {
            Find(user, "GetDpiForWindow", found.GetDpiForWindow);
            Find(user, "GetSystemMetricsForDpi", found.GetSystemMetricsForDpi);
            Find(user, "SystemParametersInfoForDpi", found.SystemParametersInfoForDpi);
            Find(user, "AdjustWindowRectExForDpi", found.AdjustWindowRectExForDpi);
            Find(user, "SetDialogDpiChangeBehavior", found.SetDialogDpiChangeBehavior);
        }
        return found;
    }();
    return functions;
}

LOGFONTA AnsiFont(const LOGFONTW& wide) {
    LOGFONTA font{};
    static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName), "same layout up to the face");
    std::memcpy(&font, &wide, offsetof(LOGFONTA, lfFaceName));
    ::WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, font.lfFaceName, LF_FACESIZE, nullptr, nullptr);
    return font;
}

// The non-client metrics at a DPI; false when the system gives none.
bool NonClientMetrics(int dpi, LOGFONTA& menu, LOGFONTA& message) {
    if (const auto forDpi = Functions().SystemParametersInfoForDpi) {
        // The function knows only the wide structure.
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
            menu = AnsiFont(metrics.lfMenuFont);
            message = AnsiFont(metrics.lfMessageFont);
            return true;
        }
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    menu = metrics.lfMenuFont;
    message = metrics.lfMessageFont;
    // The system's fonts are at the screen's DPI.
    const int screen = ScreenPixelsPerInch();
    for (LOGFONTA* font : {&menu, &message}) font->lfHeight = ::MulDiv(font->lfHeight, dpi, screen);
    return true;
}

LOGFONTA SansSerifAt(int dpi) {
    LOGFONTA font{};
    std::strcpy(font.lfFaceName, "MS Sans Serif");
    font.lfHeight = -::MulDiv(8, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    return font;
}

} // namespace

int WindowDpi(HWND window) {
    if (window && Functions().GetDpiForWindow) {
        if (const UINT dpi = Functions().GetDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return ScreenPixelsPerInch();
}

int MetricForDpi(int index, int dpi) {
    if (Functions().GetSystemMetricsForDpi) return Functions().GetSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return ::MulDiv(::GetSystemMetrics(index), dpi, ScreenPixelsPerInch());
}

LOGFONTA MenuFontForDpi(int dpi) {
    LOGFONTA menu{}, message{};
    return NonClientMetrics(dpi, menu, message) ? menu : SansSerifAt(dpi);
}

LOGFONTA MessageFontForDpi(int dpi) {
    LOGFONTA menu{}, message{};
    return NonClientMetrics(dpi, menu, message) ? message : SansSerifAt(dpi);
}

namespace {
RECT FrameAround(RECT client, DWORD style, bool menu, DWORD exStyle, int dpi) {
    if (const auto forDpi = Functions().AdjustWindowRectExForDpi) {
        if (forDpi(&client, style, menu, exStyle, static_cast<UINT>(dpi))) return client;
    }
    ::AdjustWindowRectEx(&client, style, menu, exStyle);
    return client;
}
} // namespace

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, bool menu, DWORD exStyle, int dpi) {
    const RECT frame = FrameAround(RECT{0, 0, clientWidth, clientHeight}, style, menu, exStyle, dpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

SIZE ClientSizeForWindow(int windowWidth, int windowHeight, DWORD style, bool menu, DWORD exStyle, int dpi) {
    const RECT frame = FrameAround(RECT{0, 0, 0, 0}, style, menu, exStyle, dpi);
    return SIZE{windowWidth - (frame.right - frame.left), windowHeight - (frame.bottom - frame.top)};
}

void KeepDialogScalingOwn(HWND dialog) {
    constexpr int kDialogDpiChangeDisableAll = 1; // DDC_DISABLE_ALL
    if (const auto keep = Functions().SetDialogDpiChangeBehavior)
        keep(dialog, kDialogDpiChangeDisableAll, kDialogDpiChangeDisableAll);
}

TPixels PixelsOf(HBITMAP bitmap) {
    TPixels pixels;
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return pixels;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> data(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    WindowDC screen(nullptr);
    if (!::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), data.data(), &format,
                     DIB_RGB_COLORS)) {
        return pixels;
    }
    for (std::uint32_t& pixel : data) pixel &= 0xFFFFFF;
    pixels.Width = info.bmWidth;
    pixels.Height = info.bmHeight;
    pixels.Data = std::move(data);
    return pixels;
}

GdiObject BitmapOf(const TPixels& pixels) {
    if (pixels.Width <= 0 || pixels.Height <= 0) return GdiObject();
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, pixels.Width, -pixels.Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject bitmap(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return GdiObject();
    const size_t stride = (static_cast<size_t>(pixels.Width) * 3 + 3) & ~size_t{3};
    auto* rows = static_cast<unsigned char*>(bits);
    for (int y = 0; y < pixels.Height; ++y) {
        unsigned char* out = rows + stride * static_cast<size_t>(y);
        for (int x = 0; x < pixels.Width; ++x) {
            const std::uint32_t pixel = pixels.Data[static_cast<size_t>(y) * pixels.Width + x];
            *out++ = static_cast<unsigned char>(pixel & 0xFF); // blue, green, red
            *out++ = static_cast<unsigned char>((pixel >> 8) & 0xFF);
            *out++ = static_cast<unsigned char>((pixel >> 16) & 0xFF);
        }
    }
    ::GdiFlush();
    return bitmap;
}

GdiObject LoadImageStrip(int baseResource, int cells, int designWidth, int designHeight, int dpi, bool keyed) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    const auto load = [module](int resource) {
        return GdiObject(::LoadImageA(module, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    cells = std::max(1, cells);
    const int width = ShownImageSize(designWidth, dpi), height = ShownImageSize(designHeight, dpi);
    GdiObject strip = load(ImageSetResource(baseResource, ImageSetFor(dpi)));
    if (!strip) strip = load(baseResource); // a set that was not drawn: the design's, resampled
    if (!strip) return GdiObject();
    BITMAP info{};
    ::GetObjectA(strip.get(), sizeof info, &info);
    if (info.bmWidth == cells * width && info.bmHeight == height) return strip;
    const TPixels pixels = PixelsOf(static_cast<HBITMAP>(strip.get()));
    if (pixels.Data.empty()) return GdiObject();
    const std::uint32_t transparent = pixels.Data[static_cast<size_t>(pixels.Height - 1) * pixels.Width];
    return BitmapOf(ResampleStrip(pixels, cells, width, height, keyed, transparent));
}

HCURSOR LoadCursorForDpi(LPCSTR name, int dpi) {
    // Loaded once per size and kept for the program's life, as the system keeps its shared cursors.
    struct Cache {
        std::map<std::pair<std::string, int>, HCURSOR> cursors;
        ~Cache() {
            for (const auto& entry : cursors) {
                if (entry.second) ::DestroyCursor(entry.second);
            }
        }
    };
    static Cache cache;
    const std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
    const int size = DpiScaled(32, dpi);
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    // At the system's own cursor size the system's shared copy serves.
    if (size == ::GetSystemMetrics(SM_CXCURSOR)) return ::LoadCursorA(module, name);
    auto found = cache.cursors.find({key, size});
    if (found != cache.cursors.end()) return found->second;
    HCURSOR cursor = static_cast<HCURSOR>(::LoadImageA(module, name, IMAGE_CURSOR, size, size, 0));
    cache.cursors[{key, size}] = cursor;
    return cursor;
}

void TakeDpiChangedPlace(HWND window, LPARAM suggested, SIZE size, SIZE client) {
    const auto* place = reinterpret_cast<const RECT*>(suggested);
    if (place) {
        ::SetWindowPos(window, nullptr, place->left, place->top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitClientArea(window, client);
}

void FitClientArea(HWND window, SIZE client) {
    RECT now{}, outer{};
    ::GetClientRect(window, &now);
    ::GetWindowRect(window, &outer);
    const int dx = client.cx - now.right, dy = client.cy - now.bottom;
    if (dx == 0 && dy == 0) return;
    ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FollowDpi(HWND window, int oldDpi, int newDpi, const RECT& place) {
    if (!window || !::IsWindow(window) || oldDpi <= 0 || oldDpi == newDpi) return;
    // A window on another monitor keeps that monitor's DPI.
    if (::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST) != ::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST))
        return;
    RECT now{};
    ::GetWindowRect(window, &now);
    const int width = ::MulDiv(now.right - now.left, newDpi, oldDpi);
    const int height = ::MulDiv(now.bottom - now.top, newDpi, oldDpi);
    const int x = (now.left + now.right - width) / 2, y = (now.top + now.bottom - height) / 2;
    RECT suggested{x, y, x + width, y + height};
    ::SendMessageA(window, kDpiChangedMessage, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
}

POINT MonitorCentre(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return {(info.rcMonitor.left + info.rcMonitor.right) / 2, (info.rcMonitor.top + info.rcMonitor.bottom) / 2};
    }
    return {::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2};
}

} // namespace nv
