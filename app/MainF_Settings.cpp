// The stored font ("settings.cfg") and the options (registry values): read once at start-up,
// written by Save Settings, by the Auto Save Settings toggle and at closing.
#include "app/MainF.h"
#include "app/SafeSave.h"
#include "app/Settings.h"
#include "base/FileSystem.h"
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

void WriteRecord(const std::string& target, const std::string& path, const std::string& record) {
    FileHandle file(OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file) throw ESafeSaveError(target, ::GetLastError());
    DWORD written = 0;
    if (!::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr)) {
        throw ESafeSaveError(target, ::GetLastError());
    }
    if (written != record.size()) throw ESafeSaveError(target, ERROR_HANDLE_DISK_FULL);
}

} // namespace

void TForm1::ReadStoredFont() {
    if (FileAttributes(SettingsFile) == INVALID_FILE_ATTRIBUTES) return;
    FileHandle file(OpenFile(SettingsFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL));
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
