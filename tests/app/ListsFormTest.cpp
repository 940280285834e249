// Recent files, favorites, dropped files and new instances through the real main window, its menus
// and the real registry.
#include "app/Shell.h"
#include "base/Unicode.h"
#include "tests/app/FormFixture.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>

namespace nv::test {
namespace {

using Strings = std::vector<std::string>;

// The captions of a menu's items from a position on; a separator shows as "-".
Strings Captions(HMENU menu, int from = 0) {
    Strings captions;
    for (int i = from; i < ::GetMenuItemCount(menu); ++i) {
        char text[512] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const bool separator =
            (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
        captions.push_back(separator ? std::string("-") : std::string(text));
    }
    return captions;
}

class Lists : public FormTest {
protected:
    HMENU FileMenu() const { return ::GetSubMenu(form->MainMenu(), 0); }
    HMENU FavoritesMenu() const { return ::GetSubMenu(form->MainMenu(), 3); }
    // Chooses the item at a position of a menu, as a click would.
    void Choose(HMENU menu, int position) { Command(static_cast<int>(::GetMenuItemID(menu, position))); }
    bool AddEnabled() const { return !(::GetMenuState(FavoritesMenu(), 0, MF_BYPOSITION) & MF_GRAYED); }

    std::string NewFile(const std::string& name) {
        WriteFileBytes(dir.File(name), "text of " + name);
        return dir.File(name);
    }

    // "path|name" for each stored entry of a list.
    Strings Stored(const char* list) {
        Strings values;
        auto key = RegistryStorage().OpenKey(std::string(kProgramKey) + "\\" + list, false);
        for (int n = 0; key && key->ValueExists("File" + std::to_string(n)); ++n) {
            values.push_back(*key->ReadString("File" + std::to_string(n)) + "|" +
                             key->ReadString("Name" + std::to_string(n)).value_or("?"));
        }
        return values;
    }
};

TEST_F(Lists, RecentFilesGoOnTopOfTheFileMenuAndSurviveARestart) {
    Start({NewFile("first.txt")});
    EXPECT_EQ(Captions(FileMenu(), 10), (Strings{"E&xit\tAlt+F4", "-", "first.txt"}))
        << "the command-line file is the first entry, after a separator below Exit";
    for (const char* name : {"A.txt", "B.txt", "C.txt", "D.txt", "E.txt"})
        Open(NewFile(name));
    EXPECT_EQ(Captions(FileMenu(), 12), (Strings{"E.txt", "D.txt", "C.txt", "B.txt"}));

    Choose(FileMenu(), 15);
    EXPECT_EQ(Caption(), "Notova - " + dir.File("B.txt"));
    EXPECT_EQ(form->TextField.GetWholeText(), "text of B.txt");
    EXPECT_EQ(Captions(FileMenu(), 12), (Strings{"B.txt", "E.txt", "D.txt", "C.txt"}));

    Type("x");
    dialogs.Press(IDCANCEL);
    form->Exit1Click(nullptr);
    ASSERT_TRUE(::IsWindow(form->Handle()));
    EXPECT_EQ(Stored("MRUList"), (Strings{dir.File("B.txt") + "|B.txt", dir.File("E.txt") + "|E.txt",
                                          dir.File("D.txt") + "|D.txt", dir.File("C.txt") + "|C.txt"}))
        << "a cancelled close writes the list too";
    form.reset();

    ::DeleteFileA(dir.File("D.txt").c_str());
    Start();
    EXPECT_EQ(Captions(FileMenu(), 11), (Strings{"-", "B.txt", "E.txt", "C.txt"}))
        << "restored in order, without the vanished file";
}

TEST_F(Lists, AVanishedRecentEntryDoesNothingNotEvenAsk) {
    Start();
    const std::string gone = NewFile("gone.txt");
    Open(gone);
    Open(NewFile("kept.txt"));
    Type("x");
    ::DeleteFileA(gone.c_str());
    Choose(FileMenu(), 13);
    EXPECT_TRUE(dialogs.Seen().empty());
    EXPECT_EQ(form->CurrentFile, dir.File("kept.txt"));
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(Captions(FileMenu(), 13), Strings{"gone.txt"}) << "the entry stays";
}

TEST_F(Lists, FavoritesAreAddedOpenedAndDeletedThroughTheMenu) {
    {
        TForm1 created;
        EXPECT_EQ(Captions(::GetSubMenu(created.MainMenu(), 3)), Strings{"&Add"});
        EXPECT_TRUE(::GetMenuState(::GetSubMenu(created.MainMenu(), 3), 0, MF_BYPOSITION) & MF_GRAYED)
            << "disabled until the caption is first set";
    }
    Start();
    EXPECT_TRUE(AddEnabled());
    Choose(FavoritesMenu(), 0);
    EXPECT_EQ(Captions(FavoritesMenu()), Strings{"&Add"}) << "no current file, nothing added";
    Command(IDM_NEW);
    EXPECT_FALSE(AddEnabled());

    const std::string a = NewFile("a.txt");
    Open(a);
    Choose(FavoritesMenu(), 0);
    Choose(FavoritesMenu(), 0);
    Open(NewFile("b.txt"));
    Choose(FavoritesMenu(), 0);
    EXPECT_EQ(Captions(FavoritesMenu()), (Strings{"&Add", "-", "a.txt", "b.txt", "&Delete"}));
    HMENU deleteMenu = ::GetSubMenu(FavoritesMenu(), 4);
    EXPECT_EQ(Captions(deleteMenu), (Strings{"a.txt", "b.txt"}));

    Type("x");
    dialogs.Press(IDCANCEL);
    Choose(FavoritesMenu(), 2);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, "Save changes?");
    EXPECT_EQ(form->CurrentFile, dir.File("b.txt")) << "Cancel keeps the current document";
    dialogs.Press(IDNO);
    Choose(FavoritesMenu(), 2);
    EXPECT_EQ(Caption(), "Notova - " + a);
    EXPECT_EQ(Captions(FileMenu(), 12).front(), "a.txt") << "and it goes on top of the recent files";

    Choose(deleteMenu, 0);
    EXPECT_EQ(Captions(FavoritesMenu()), (Strings{"&Add", "-", "b.txt", "&Delete"}));
    form->Exit1Click(nullptr);
    EXPECT_EQ(Stored("Bookmarks"), Strings{dir.File("b.txt") + "|b.txt"});
}

// A drop block as the shell hands it over.
HGLOBAL DropOf(const Strings& names) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    GlobalLock locked(memory);
    static_cast<DROPFILES*>(locked.data())->pFiles = sizeof(DROPFILES);
    char* out = static_cast<char*>(locked.data()) + sizeof(DROPFILES);
    for (const std::string& name : names)
        out = std::copy(name.begin(), name.end(), out) + 1;
    return memory;
}

// The same with wide names, as the shell of today hands them over.
HGLOBAL WideDropOf(const Strings& names) {
    std::wstring all;
    for (const std::string& name : names)
        all += Wide(name) + L'\0';
    all += L'\0';
    HGLOBAL memory =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + all.size() * sizeof(wchar_t));
    GlobalLock locked(memory);
    auto* drop = static_cast<DROPFILES*>(locked.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(all.begin(), all.end(), reinterpret_cast<wchar_t*>(drop + 1));
    return memory;
}

// The captions of a menu's items from a position on, read whole also outside the code page.
Strings WideCaptions(HMENU menu, int from = 0) {
    Strings captions;
    for (int i = from; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[512] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        captions.push_back(Utf8(std::wstring(text)));
    }
    return captions;
}

// A name outside the code page, from the command line through the caption, the lists, a drop, the
// shell and the registry, into the next run.
TEST_F(Lists, ANameOutsideTheCodePageStaysWholeEverywhere) {
    const std::string name = dir.File("привет.txt"), other = dir.File("мир ψ.txt");
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Wide(other).c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (!lossy) GTEST_SKIP() << "this system's code page holds Cyrillic and Greek: no name lies outside it";
    WriteFileBytes(name, "hello");
    WriteFileBytes(other, "world");
    Start({name});
    EXPECT_EQ(CaptionText(form->Handle()), "Notova - " + name);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello");
    EXPECT_EQ(WideCaptions(FileMenu(), 12), Strings{"привет.txt"});
    Choose(FavoritesMenu(), 0);
    EXPECT_EQ(WideCaptions(FavoritesMenu()), (Strings{"&Add", "", "привет.txt", "&Delete"}));

    std::vector<TShellCall> shell;
    form->ShellOpen = [&shell](const TShellCall& call) { shell.push_back(call); };
    Command(IDM_RUNOPEN);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].File, name);

    ::SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(WideDropOf({other})), 0);
    EXPECT_EQ(CaptionText(form->Handle()), "Notova - " + other) << "dropped on an unchanged window";
    Type("x");
    ::SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(WideDropOf({name})), 0);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].Parameters, "\"" + name + "\"") << "a changed window hands it to a new instance";

    dialogs.Press(IDNO);
    form->Exit1Click(nullptr);
    EXPECT_EQ(Stored("MRUList"), (Strings{other + "|мир ψ.txt", name + "|привет.txt"}));
    EXPECT_EQ(Stored("Bookmarks"), Strings{name + "|привет.txt"});
    Restart();
    EXPECT_EQ(WideCaptions(FileMenu(), 12), (Strings{"мир ψ.txt", "привет.txt"}));
    Choose(FavoritesMenu(), 2);
    EXPECT_EQ(CaptionText(form->Handle()), "Notova - " + name);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello");
}

TEST_F(Lists, OnlyTheFirstFileDroppedOnAnUnchangedWindowWithTheOptionOffOpensHere) {
    // A path of 300 characters, made through the wide functions, which know no MAX_PATH.
    auto wide = [](const std::string& path) { return std::wstring(path.begin(), path.end()); };
    std::string deep = dir.Path();
    while (deep.size() < 270) {
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(::CreateDirectoryW(wide(deep).c_str(), nullptr));
    }
    const std::string longName = deep + "\\" + std::string(299 - deep.size(), 'n');
    ASSERT_EQ(longName.size(), 300u);
    FileHandle(::CreateFileW(wide(longName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

    const std::string one = NewFile("one.txt"), two = NewFile("two  spaces.txt"),
                      three = NewFile("three.txt");
    auto quoted = [](const std::string& name) { return "\"" + name + "\""; };
    struct Row {
        const char* what;
        Strings dropped;
        bool changed, alwaysNew;
        std::string openedHere;
        Strings launched;
    };
    const Row rows[] = {
        {"one, unchanged", {one}, false, false, one, {}},
        {"one, changed", {one}, true, false, "", {quoted(one)}},
        {"three, unchanged", {one, two, three}, false, false, one, {quoted(two), quoted(three)}},
        {"three, changed", {one, two, three}, true, false, "", {quoted(one), quoted(two), quoted(three)}},
        {"the option on", {one}, false, true, "", {quoted(one)}},
        {"300 characters, changed", {longName}, true, false, "", {quoted(longName)}},
        {"300 characters, unchanged", {longName}, false, false, longName, {}},
        {"a folder first, unchanged", {dir.Path(), one, two}, false, false, one, {quoted(two)}},
        {"only a folder", {dir.Path()}, false, false, "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        launches.clear();
        Start();
        if (row.changed) Type("x");
        if (row.alwaysNew) Command(IDM_ALWAYSDROPTONEWINSTANCE);
        HGLOBAL drop = DropOf(row.dropped);
        ::PostMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        PumpMessages();
        EXPECT_EQ(::GlobalSize(drop), 0u) << "the drop handle is released";

        Strings launched;
        for (const InstanceLaunch& launch : launches) {
            launched.push_back(launch.Parameters);
            EXPECT_EQ(launch.Owner, nullptr);
        }
        EXPECT_EQ(launched, row.launched);
        if (row.openedHere.empty()) {
            EXPECT_EQ(Caption(), "Notova");
            EXPECT_EQ(form->TextField.GetWholeText(), row.changed ? "x" : "");
            EXPECT_EQ(form->DocumentModified, row.changed);
        } else {
            EXPECT_EQ(Caption(), "Notova - " + row.openedHere);
            EXPECT_EQ(form->TextField.GetWholeText(), ReadFileBytes(row.openedHere));
            EXPECT_EQ(form->PanelText(0), " Unchanged");
            EXPECT_EQ(Captions(FileMenu(), 12),
                      Strings{row.openedHere.substr(row.openedHere.rfind('\\') + 1)});
        }
        form.reset();
    }
}

TEST_F(Lists, NewInstanceAndTheDropOptionFromTheMenu) {
    Start();
    Command(IDM_NEWINSTANCE);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].Owner, form->Handle());
    EXPECT_EQ(launches[0].Parameters, "");
    Command(IDM_ALWAYSDROPTONEWINSTANCE);
    EXPECT_TRUE(form->Checked(IDM_ALWAYSDROPTONEWINSTANCE));
    EXPECT_FALSE(RegistryStorage().OpenKey(kProgramKey, true)->ValueExists("AlwaysDropToNewInstance"))
        << "nothing is stored until the settings are saved";
}

// Ends the instances this test started: the processes with a main window whose parent is this
// process, never another program's. Ended without their close handling, they store nothing.
void EndStartedInstances() {
    std::vector<DWORD> children;
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == ::GetCurrentProcessId()) children.push_back(entry.th32ProcessID);
    }
    struct Search {
        const std::vector<DWORD>& children;
        std::vector<DWORD> started;
    } search{children, {}};
    ::EnumWindows(
        [](HWND wnd, LPARAM param) CALLBACK -> BOOL {
            auto& found = *reinterpret_cast<Search*>(param);
            char cls[32] = {};
            ::GetClassNameA(wnd, cls, sizeof cls);
            DWORD processId = 0;
            ::GetWindowThreadProcessId(wnd, &processId);
            if (std::string(cls) == "TForm1" &&
                std::find(found.children.begin(), found.children.end(), processId) != found.children.end()) {
                found.started.push_back(processId);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (DWORD processId : search.started) {
        KernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
        if (!process) continue;
        ::TerminateProcess(process.get(), 0);
        ::WaitForSingleObject(process.get(), 10000);
    }
}

// The real program, started as a drop starts it, opens a name with two spaces in a row, and one
// outside the code page.
TEST_F(Lists, ANewInstanceOpensTheDroppedFileWhole) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = self;
    for (int up = 0; up < 3; ++up)
        exe = exe.substr(0, exe.find_last_of('\\'));
    exe += "\\app\\notova.exe";
    ASSERT_TRUE(FileExists(exe)) << exe;

    for (const char* dropped : {"two  spaces.txt", "при  вет.txt"}) {
        SCOPED_TRACE(dropped);
        const std::string name = dir.File(dropped);
        WriteFileBytes(name, "dropped");
        launches.clear();
        Start();
        Type("x");
        form->LaunchInstance = [&](HWND owner, const std::string& parameters) {
            launches.push_back(InstanceLaunch{owner, parameters});
            StartInstance(owner, parameters, exe);
        };
        ::SendMessageA(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(WideDropOf({name})), 0);
        ASSERT_EQ(launches.size(), 1u);

        const std::wstring title = Wide("Notova - " + name);
        HWND other = nullptr;
        for (int i = 0; i < 400 && !other; ++i) {
            other = ::FindWindowW(L"TForm1", title.c_str());
            if (!other) ::Sleep(50);
        }
        EndStartedInstances();
        ASSERT_TRUE(other) << "no window titled " << Utf8(title);
        EXPECT_FALSE(::IsWindow(other));
        EXPECT_EQ(form->TextField.GetWholeText(), "x") << "this window is untouched";
        form->DocumentModified = false;
        form.reset();
    }
}

} // namespace
} // namespace nv::test
