#include "editor/RichEditLibrary.h"

#include <richedit.h>

namespace nv {

namespace {
int gRichEditVersion = 0;

// A handle below 32 is the old-style failure code.
Module LoadCheckedLibrary(const char* name) {
    HMODULE module = ::LoadLibraryA(name);
    if (reinterpret_cast<ULONG_PTR>(module) < 32) return Module();
    return Module(module);
}
} // namespace

int RichEditVersion() {
    return gRichEditVersion;
}

int ChooseRichEditLevel(bool riched20Loaded, unsigned long platformId, unsigned long majorVersion) {
    if (!riched20Loaded) return 1;
    return (platformId == 2 && majorVersion >= 5) ? 3 : 2;
}

// Asked once, of a hidden window that types one character.
bool ControlNamesUndoSteps() {
    static const bool names = [] {
        if (gRichEditVersion < 2) return false;
        OwnedWindow probe(::CreateWindowExA(0, RichEditClassName(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                            ::GetModuleHandleA(nullptr), nullptr));
        if (!probe) return false;
        ::SendMessageA(probe.get(), WM_CHAR, 'a', 1);
        return ::SendMessageA(probe.get(), EM_GETUNDONAME, 0, 0) != 0;
    }();
    return names;
}

const char* RichEditClassName() {
    return gRichEditVersion >= 2 ? "RichEdit20A" : "RICHEDIT";
}

RichEditLibrary::RichEditLibrary() {
    {
        ScopedErrorMode quiet(SEM_NOOPENFILEERRORBOX);
        library_ = LoadCheckedLibrary("RICHED20.DLL");
        if (library_) {
            OSVERSIONINFOA version{};
            version.dwOSVersionInfoSize = sizeof version; // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
            ::GetVersionExA(&version);
#pragma GCC diagnostic pop
            gRichEditVersion = ChooseRichEditLevel(true, version.dwPlatformId, version.dwMajorVersion);
        } else {
            library_ = LoadCheckedLibrary("RICHED32.DLL");
            gRichEditVersion = 1;
        }
    }
    // Registered for the object machinery's sake; this program never puts these on the clipboard.
    for (const char* format :
         {"Embedded Object", "Link Source", "Rich Text Format", "Rich Text Format Without Objects"}) {
        ::RegisterClipboardFormatA(format);
    }
}

RichEditLibrary::~RichEditLibrary() {
    gRichEditVersion = 0;
}

} // namespace nv
