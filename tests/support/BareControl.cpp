#include "tests/support/BareControl.h"

#include "editor/RichEditLibrary.h"

#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace nv::test {

namespace {
struct Cursor {
    const std::string* text;
    size_t at;
};
DWORD CALLBACK Feed(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* read) {
    auto* cursor = reinterpret_cast<Cursor*>(cookie);
    const size_t n = std::min(static_cast<size_t>(capacity), cursor->text->size() - cursor->at);
    std::memcpy(buffer, cursor->text->data() + cursor->at, n);
    cursor->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}
DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *written = count;
    return 0;
}
} // namespace

HWND CreateBareControl(HWND parent, const TFont& font, bool detectUrls, bool wordWrap) {
    RECT client{};
    ::GetClientRect(parent, &client);
    HWND bare = ::CreateWindowExA(WS_EX_CLIENTEDGE, RichEditClassName(), "",
                                  WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_SAVESEL |
                                      ES_NOHIDESEL | WS_VSCROLL | (wordWrap ? 0 : WS_HSCROLL | ES_AUTOHSCROLL),
                                  0, 0, client.right, client.bottom, parent, nullptr, nullptr, nullptr);
    ::SendMessageA(bare, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_LINK);
    ::SendMessageA(bare, EM_SETUNDOLIMIT, 10, 0);
    ::SendMessageA(bare, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
    ::SendMessageA(bare, EM_SETLANGOPTIONS, 0, 0);
    ::SendMessageA(bare, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    ::SendMessageA(bare, EM_SETTARGETDEVICE, 0, wordWrap ? 0 : 1);
    ::SendMessageA(bare, EM_AUTOURLDETECT, detectUrls ? TRUE : FALSE, 0);
    const CharFormatSpec wanted = MakeCharFormatSpec(font, 96, [](TColor) { return 0u; });
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET | CFM_WEIGHT;
    lstrcpynA(format.szFaceName, wanted.FaceName.c_str(), LF_FACESIZE);
    format.yHeight = wanted.TwentiethsOfPoint;
    format.wWeight = static_cast<WORD>(wanted.Weight);
    if (wanted.Bold) format.dwEffects |= CFE_BOLD;
    if (wanted.Italic) format.dwEffects |= CFE_ITALIC;
    format.bCharSet = wanted.Charset;
    ::SendMessageA(bare, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return bare;
}

void BareStreamIn(HWND bare, const std::string& text) {
    Cursor cursor{&text, 0};
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&cursor), 0, &Feed};
    ::SendMessageA(bare, EM_SETUNDOLIMIT, 0, 0);
    ::SendMessageA(bare, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&in));
    ::SendMessageA(bare, EM_SETUNDOLIMIT, 10, 0);
}

void BareStreamInWithBars(HWND bare, const std::string& text) {
    BareStreamIn(bare, ScrollBarSample(text));
    BareStreamIn(bare, text);
}

std::string BareStreamOut(HWND bare) {
    std::string text;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&text), 0, &Collect};
    ::SendMessageA(bare, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&out));
    return text;
}

std::string ParagraphMarks(const std::string& text) {
    std::string marks(text.size(), '\0');
    LineBreakStreamer streamer(text);
    marks.resize(streamer.Read(marks.data(), marks.size()));
    return marks;
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace nv::test
