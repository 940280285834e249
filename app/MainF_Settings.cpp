// The stored font ("settings.cfg") and the options (registry values): read once at start-up,
// written by Save Settings, by the Auto Save Settings toggle and at closing.
#include "app/MainF.h"
#include "app/SafeSave.h"
#include "app/Settings.h"
#include "base/Platform.h"
#include "forms/resource.h"

namespace nv {

namespace {

int MenuIdOf(TOption option) {
    switch (option) {
    case TOption::AutoSave:
        return IDM_AUTOSAVESETTINGS;
    case TOption::SelectionBar:
        return IDM_SELECTIONBAR;
    case TOption::WordSelect:
        return IDM_WORDSELECT;
    case TOption::WordWrap:
        return IDM_WORDWRAP;
    case TOption::DetectURLs:
        return IDM_DETECTURLS;
    case TOption::ShowTools:
        return IDM_SHOWTOOLS;
    case TOption::AutoIntend:
        return IDM_AUTOINTEND;
    case TOption::AlwaysDropToNewInstance:
        return IDM_ALWAYSDROPTONEWINSTANCE;
    case TOption::ShowStatusBar:
        return IDM_SHOWSTATUSBAR;
    case TOption::ShowASCIIChart:
        break; // the chart's own visibility, no check mark
    }
    return 0;
}

// The system's text for an error code, as the user sees file errors.
std::string SystemErrorText(unsigned long code, const std::string& fallback) {
    char text[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                    0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    return length > 0 ? std::string(text, length) : fallback;
}

void WriteRecord(const std::string& target, const std::string& path, const std::string& record) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw ESafeSaveError(target, ::GetLastError());
    DWORD written = 0;
    if (!::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr)) {
        throw ESafeSaveError(target, ::GetLastError());
    }
    if (written != record.size()) throw ESafeSaveError(target, ERROR_HANDLE_DISK_FULL);
}

} // namespace

void TForm1::ReadStoredFont() {
    if (::GetFileAttributesA(SettingsFile.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    FileHandle file(::CreateFileA(SettingsFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return; // locked or unreadable: the design font stays
    std::string bytes(kFontSettingsSize, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return;
    bytes.resize(read);
    const std::optional<FontSettings> record = DecodeFontSettings(bytes);
    if (!record) return;
    TFont font = TextField.Font();
    if (ApplyFontSettings(*record, font, dpi_)) TextField.SetFont(font);
}

void TForm1::ReadStoredOptions() {
    ReadOptions(
        Registry,
        [this](TOption option, bool on) {
            if (option == TOption::ShowASCIIChart) {
                SetASCIIChartVisible(on);
            } else {
                SetChecked(MenuIdOf(option), on);
            }
        },
        [this] { WordWrap->SetDown(Checked(IDM_WORDWRAP)); });
}

void TForm1::SaveSettings1Click(TObject*) {
    const std::string record = EncodeFontSettings(FontSettingsOf(TextField.Font(), dpi_));
    try {
        // Through a temporary file: a failure half-way leaves the old record as it was.
        WriteFileSafely(SettingsFile, [this, &record](const std::string& path) {
            WriteRecord(SettingsFile, path, record);
        });
    } catch (const ESafeSaveError& error) {
        throw EError(SystemErrorText(error.SystemError(), error.what()));
    }
    WriteOptions(Registry, [this](TOption option) {
        return option == TOption::ShowASCIIChart ? ASCIIChartVisible() : Checked(MenuIdOf(option));
    });
}

void TForm1::AutoSaveSettings1Click(TObject*) {
    SetChecked(IDM_AUTOSAVESETTINGS, !Checked(IDM_AUTOSAVESETTINGS));
    SaveSettings1Click(nullptr);
}

void TForm1::SetASCIIChartVisible(bool visible) {
    ListView1.SetVisible(visible);
    if (created_) Realign();
}

} // namespace nv
