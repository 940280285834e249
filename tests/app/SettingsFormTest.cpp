// The stored font and options through the real main window, the real registry and "settings.cfg".
#include "app/Settings.h"
#include "tests/app/FormFixture.h"

namespace nv::test {
namespace {

using StoredSettings = FormTest;

int ScreenDpi() {
    WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::optional<std::uint32_t> StoredOption(const char* name) {
    auto key = RegistryStorage().OpenKey(kProgramKey, false);
    return key ? key->ReadInteger(name) : std::nullopt;
}

// What `reg query` prints for the program's key, as a user would look at it.
std::string RegQuery() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!::CreatePipe(&readRaw, &writeRaw, &inherit, 0)) return {};
    KernelHandle readEnd(readRaw), writeEnd(writeRaw);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd.get();
    std::string commandLine = "reg.exe query HKCU\\Software\\Korvel\\Notova";
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
        return {};
    }
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    writeEnd.reset();
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(readEnd.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    return output;
}

TEST_F(StoredSettings, FirstRunHasTheDesignStateAndSaveSettingsStoresIt) {
    Start();
    EXPECT_EQ(form->TextField.Font().Name, "Fixedsys");
    EXPECT_FALSE(form->WordWrap->Down());
    EXPECT_FALSE(form->ASCIIChartVisible());
    EXPECT_FALSE(FileExists(form->SettingsFile));

    Command(IDM_SAVESETTINGS);
    std::string record(88, '\0');
    record[0] = 8;
    record.replace(1, 8, "Fixedsys");
    record[76] = static_cast<char>(form->TextField.Font().Size(ScreenDpi())); // 9 at 96 dpi
    record.replace(80, 4, std::string("\x08\x00\x00\x80", 4));
    record[84] = 1;
    EXPECT_EQ(ReadFileBytes(form->SettingsFile), record);

    const std::string shown = RegQuery();
    const std::pair<const char*, int> values[] = {
        {"AutoSave", 1},       {"SelectionBar", 1}, {"ShowTools", 1},
        {"WordSelect", 1},     {"WordWrap", 0},     {"DetectURLs", 1},
        {"ShowASCIIChart", 0}, {"AutoIntend", 0},   {"AlwaysDropToNewInstance", 0},
        {"ShowStatusBar", 1}};
    for (const auto& [name, value] : values) {
        const std::string line =
            std::string("    ") + name + "    REG_DWORD    0x" + std::to_string(value) + "\r\n";
        EXPECT_NE(shown.find(line), std::string::npos) << line << "in\n" << shown;
    }
}

TEST_F(StoredSettings, StoredOptionsAreAppliedAtStartUp) {
    auto key = RegistryStorage().OpenKey(kProgramKey, true);
    for (const char* on : {"WordWrap", "AutoIntend", "ShowASCIIChart", "AlwaysDropToNewInstance"}) {
        key->WriteInteger(on, 1);
    }
    for (const char* off : {"AutoSave", "SelectionBar", "WordSelect", "DetectURLs", "ShowStatusBar"}) {
        key->WriteInteger(off, 0);
    }
    key->WriteInteger("ShowTools", 5);
    Start();
    EXPECT_TRUE(form->Checked(IDM_WORDWRAP));
    EXPECT_TRUE(form->TextField.WordWrap());
    EXPECT_TRUE(form->WordWrap->Down()) << "the toolbar toggle follows Word Wrap";
    EXPECT_TRUE(form->Checked(IDM_AUTOINTEND));
    EXPECT_TRUE(form->ASCIIChartVisible());
    EXPECT_TRUE(form->Checked(IDM_ALWAYSDROPTONEWINSTANCE));
    EXPECT_FALSE(form->Checked(IDM_AUTOSAVESETTINGS));
    EXPECT_FALSE(form->TextField.SelectionBar());
    EXPECT_FALSE(form->TextField.WordSelection());
    EXPECT_FALSE(form->TextField.AutoURLDetect());
    EXPECT_FALSE(form->StatusBar.Visible());
    EXPECT_TRUE(form->Checked(IDM_SHOWTOOLS)) << "5 counts as on";
    Command(IDM_SAVESETTINGS);
    EXPECT_EQ(StoredOption("ShowTools"), 1u);
    EXPECT_EQ(StoredOption("ShowASCIIChart"), 1u);
}

TEST_F(StoredSettings, AStoredFontIsUsedAndABrokenOrLockedFileIsPassedOver) {
    std::string arial(88, '\0');
    arial[0] = 5;
    arial.replace(1, 5, "Arial");
    arial[76] = 12;
    arial.replace(80, 4, std::string("\x00\x00\xFF\x00", 4)); // blue
    arial[84] = 2;                                            // italic
    for (const char* row : {"whole", "short", "locked"}) {
        SCOPED_TRACE(row);
        WriteFileBytes(dir.File("settings.cfg"), row == std::string("short") ? arial.substr(0, 87) : arial);
        FileHandle lock;
        if (row == std::string("locked")) {
            lock.reset(::CreateFileA(dir.File("settings.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
        }
        Start();
        const TFont& font = form->TextField.Font();
        const bool stored = row == std::string("whole");
        EXPECT_EQ(font.Name, stored ? "Arial" : "Fixedsys");
        EXPECT_EQ(font.Size(ScreenDpi()), stored ? 12 : 9);
        EXPECT_EQ(font.Style, static_cast<TFontStyles>(stored ? fsItalic : fsBold));
        EXPECT_EQ(font.Color, stored ? 0x00FF0000 : clWindowText);
        form.reset();
    }
}

TEST_F(StoredSettings, ClosingSavesUnlessAutoSaveWasSwitchedOffWhichWritesAtOnce) {
    Start();
    form->Exit1Click(nullptr);
    EXPECT_EQ(ReadFileBytes(dir.File("settings.cfg")).size(), 88u);
    EXPECT_EQ(StoredOption("AutoSave"), 1u);
    DrainQuit();

    ClearProgramKey();
    Start();
    Command(IDM_AUTOSAVESETTINGS);
    EXPECT_EQ(StoredOption("AutoSave"), 0u) << "written at once";
    EXPECT_EQ(StoredOption("ShowStatusBar"), 1u) << "with all the others";
    ClearProgramKey();
    ::DeleteFileA(dir.File("settings.cfg").c_str());
    form->Exit1Click(nullptr);
    EXPECT_FALSE(::IsWindow(form->Handle()));
    EXPECT_FALSE(StoredOption("AutoSave")) << "closing writes nothing now";
    EXPECT_FALSE(FileExists(dir.File("settings.cfg")));
}

TEST_F(StoredSettings, AnUnwritableSettingsFolderKeepsTheWindowOpenAtClose) {
    Start();
    WriteFileBytes(dir.File("recent.txt"), "text");
    Open(dir.File("recent.txt"));
    form->SettingsFile = dir.File("missing\\settings.cfg");
    char systemText[256] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     ERROR_PATH_NOT_FOUND, 0, systemText, sizeof systemText, nullptr);
    dialogs.Press(IDOK);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_FALSE(LastDialog().Text.empty());
    EXPECT_EQ(std::string(systemText).rfind(LastDialog().Text, 0), 0u) << "the system's text for the failure";
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(::IsWindow(form->Handle()));
    EXPECT_FALSE(StoredOption("AutoSave")) << "no registry value is written after the file failed";

    dialogs.Press(IDOK);
    Command(IDM_AUTOSAVESETTINGS);
    EXPECT_EQ(dialogs.Seen().size(), 2u) << "switching off saves, and fails the same way";
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(form->Handle())) << "now the window closes";
    auto recent = RegistryStorage().OpenKey(std::string(kProgramKey) + "\\MRUList", false);
    ASSERT_TRUE(recent);
    EXPECT_EQ(recent->ReadString("File0"), dir.File("recent.txt"));
    DrainQuit();
}

} // namespace
} // namespace nv::test
