// The stored font and options through the real main window, the real registry and "settings.cfg".
#include "app/Settings.h"
#include "base/Handles.h"
#include "tests/app/FormFixture.h"

namespace nv::test {
namespace {

using StoredSettings = FormTest;

int ScreenDpi() {
    WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                    0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    return std::string(text, length);
}

std::optional<std::uint32_t> StoredOption(const char* name) {
    auto key = RegistryStorage().OpenKey(kProgramKey, false);
    return key ? key->ReadInteger(name) : std::nullopt;
}

void StoreOption(const char* name, std::uint32_t value) {
    RegistryStorage().OpenKey(kProgramKey, true)->WriteInteger(name, value);
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
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
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
    ::WaitForSingleObject(process.hProcess, 10000);
    return output;
}

TEST_F(StoredSettings, FirstRunHasTheDesignStateAndSaveSettingsStoresIt) {
    Start();
    EXPECT_EQ(form->TextField.Font().Name, "Fixedsys");
    EXPECT_EQ(form->TextField.Font().Style, static_cast<TFontStyles>(fsBold));
    EXPECT_FALSE(form->WordWrapButtonDown());
    EXPECT_FALSE(form->ASCIIChartVisible());
    EXPECT_FALSE(FileExists(form->SettingsFile));

    Command(IDM_SAVESETTINGS);
    const std::string bytes = ReadFileBytes(form->SettingsFile);
    std::string expected(88, '\0');
    expected[0] = 8;
    expected.replace(1, 8, "Fixedsys");
    expected[76] = static_cast<char>(form->TextField.Font().Size(ScreenDpi()));
    expected.replace(80, 4, std::string("\x08\x00\x00\x80", 4));
    expected[84] = 1;
    EXPECT_EQ(bytes, expected);

    const std::string shown = RegQuery();
    const std::pair<const char*, int> values[] = {
        {"AutoSave", 1},       {"SelectionBar", 1}, {"ShowTools", 1},
        {"WordSelect", 1},     {"WordWrap", 0},     {"DetectURLs", 1},
        {"ShowASCIIChart", 0}, {"AutoIntend", 0},   {"AlwaysDropToNewInstance", 0},
        {"ShowStatusBar", 1}};
    for (const auto& [name, value] : values) {
        EXPECT_EQ(StoredOption(name), static_cast<std::uint32_t>(value)) << name;
        const size_t line = shown.find(std::string("    ") + name + "    REG_DWORD    ");
        EXPECT_NE(line, std::string::npos) << name << " in\n" << shown;
        if (line != std::string::npos) {
            EXPECT_EQ(shown.substr(shown.find("0x", line), 3), "0x" + std::to_string(value)) << name;
        }
    }
}

TEST_F(StoredSettings, StoredOptionsAreAppliedAtStartUp) {
    for (const char* on : {"WordWrap", "AutoIntend", "ShowASCIIChart", "AlwaysDropToNewInstance"})
        StoreOption(on, 1);
    for (const char* off : {"AutoSave", "SelectionBar", "WordSelect", "DetectURLs", "ShowStatusBar"})
        StoreOption(off, 0);
    StoreOption("ShowTools", 5);
    Start();
    EXPECT_TRUE(form->Checked(IDM_WORDWRAP));
    EXPECT_TRUE(form->TextField.WordWrap());
    EXPECT_TRUE(form->WordWrapButtonDown()) << "the toolbar toggle follows Word Wrap";
    EXPECT_TRUE(form->Checked(IDM_AUTOINTEND));
    EXPECT_TRUE(form->ASCIIChartVisible());
    EXPECT_TRUE(form->Checked(IDM_ALWAYSDROPTONEWINSTANCE));
    EXPECT_FALSE(form->Checked(IDM_AUTOSAVESETTINGS));
    EXPECT_FALSE(form->Checked(IDM_SELECTIONBAR));
    EXPECT_FALSE(form->TextField.SelectionBar());
    EXPECT_FALSE(form->Checked(IDM_WORDSELECT));
    EXPECT_FALSE(form->TextField.WordSelection());
    EXPECT_FALSE(form->Checked(IDM_DETECTURLS));
    EXPECT_FALSE(form->TextField.AutoURLDetect());
    EXPECT_FALSE(form->Checked(IDM_SHOWSTATUSBAR));
    EXPECT_FALSE(form->StatusBar.Visible());
    EXPECT_TRUE(form->Checked(IDM_SHOWTOOLS)) << "5 counts as on";
    Command(IDM_SAVESETTINGS);
    EXPECT_EQ(StoredOption("ShowTools"), 1u);
    EXPECT_EQ(StoredOption("ShowASCIIChart"), 1u);
    form.reset();

    // Values of another type are not valid data: the design states stay.
    ClearProgramKey();
    auto key = RegistryStorage().OpenKey(kProgramKey, true);
    key->WriteString("WordWrap", "1");
    key->WriteString("ShowStatusBar", "0");
    Start();
    EXPECT_FALSE(form->Checked(IDM_WORDWRAP));
    EXPECT_TRUE(form->StatusBar.Visible());
}

TEST_F(StoredSettings, AStoredFontIsUsedAndABrokenOneIsNot) {
    std::string arial(88, '\0');
    arial[0] = 5;
    arial.replace(1, 5, "Arial");
    arial[76] = 12;
    arial.replace(80, 4, std::string("\x00\x00\xFF\x00", 4)); // blue
    arial[84] = 2;                                            // italic
    struct Row {
        const char* what;
        std::string bytes;
        bool stored;
    };
    const Row rows[] = {
        {"a whole record", arial, true},
        {"fewer than 88 bytes", arial.substr(0, 87), false},
        {"size zero", std::string(arial).replace(76, 4, std::string(4, '\0')), false},
        {"no face name", std::string(arial).replace(0, 1, std::string(1, '\0')), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteFileBytes(dir.File("settings.cfg"), row.bytes);
        Start();
        const TFont& font = form->TextField.Font();
        EXPECT_EQ(font.Name, row.stored ? "Arial" : "Fixedsys");
        EXPECT_EQ(font.Size(ScreenDpi()), row.stored ? 12 : 9);
        EXPECT_EQ(font.Style, static_cast<TFontStyles>(row.stored ? fsItalic : fsBold));
        EXPECT_EQ(font.Color, row.stored ? 0x00FF0000 : clWindowText);
        EXPECT_EQ(form->PanelText(0), " Unchanged") << "start-up went on";
        form.reset();
    }

    WriteFileBytes(dir.File("settings.cfg"), arial);
    FileHandle lock(
        ::CreateFileA(dir.File("settings.cfg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    Start();
    EXPECT_EQ(form->TextField.Font().Name, "Fixedsys") << "a locked file is passed over";
}

TEST_F(StoredSettings, ClosingSavesUnlessAutoSaveWasSwitchedOffWhichWritesAtOnce) {
    Start();
    form->Exit1Click(nullptr);
    EXPECT_EQ(ReadFileBytes(dir.File("settings.cfg")).size(), 88u);
    EXPECT_EQ(StoredOption("AutoSave"), 1u);
    EXPECT_TRUE(DrainQuit());

    ClearProgramKey();
    ::DeleteFileA(dir.File("settings.cfg").c_str());
    Start();
    Command(IDM_AUTOSAVESETTINGS);
    EXPECT_FALSE(form->Checked(IDM_AUTOSAVESETTINGS));
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
    dialogs.Press(IDOK);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, SystemText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(LastDialog().Buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(::IsWindow(form->Handle()));
    EXPECT_FALSE(StoredOption("AutoSave")) << "no registry value is written after the file failed";

    dialogs.Press(IDOK);
    Command(IDM_AUTOSAVESETTINGS);
    EXPECT_EQ(dialogs.Seen().size(), 2u) << "switching off saves, and fails the same way";
    EXPECT_FALSE(form->Checked(IDM_AUTOSAVESETTINGS));
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(form->Handle())) << "now the window closes";
    EXPECT_EQ(dialogs.Seen().size(), 2u);
    auto recent = RegistryStorage().OpenKey(std::string(kProgramKey) + "\\MRUList", false);
    ASSERT_TRUE(recent);
    EXPECT_EQ(recent->ReadString("File0"), dir.File("recent.txt"));
    EXPECT_TRUE(DrainQuit());
}

} // namespace
} // namespace nv::test
