// Loading, saving and the modified state through the real main window, its message boxes and
// file dialogs.
#include "app/DocumentRules.h"
#include "app/StatusText.h"
#include "app/SafeSave.h"
#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Paths.h"
#include "base/Platform.h"
#include "base/Unicode.h"
#include "editor/RichEditLibrary.h"
#include "tests/app/FormFixture.h"

namespace nv::test {
namespace {

const char kZeroWarning[] = "This file included one or more #0 car(s).\r\nThese are removed, it is not requmended "
                            "that you overwrite your current \r\nfile.";
const char kLargeQuestion[] = "This file is quite large, and might take some time to load.\r\nDo you want to "
                              "disable word wrap and url detetion to speed thing up?";

using Loading = FormTest;

TEST_F(Loading, EmptyFileGivesAnUnchangedEmptyDocument) {
    Start();
    WriteFileBytes(dir.File("empty.txt"), "");
    Open(dir.File("empty.txt"));
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(Caption(), "Notova - " + dir.File("empty.txt"));
    EXPECT_TRUE(dialogs.Seen().empty());
}

TEST_F(Loading, ZeroBytesAreDroppedWithOneWarning) {
    Start();
    WriteFileBytes(dir.File("zeros.txt"), std::string("A\0B\0\0C", 6));
    dialogs.Then([this](HWND box) {
        EXPECT_EQ(form->TextField.GetWholeText(), "") << "the field is still empty while the warning shows";
        PressButton(box, IDOK);
    });
    Open(dir.File("zeros.txt"));
    EXPECT_EQ(form->TextField.GetWholeText(), "ABC");
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, kZeroWarning);
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDOK}));

    WriteFileBytes(dir.File("only.txt"), std::string(4, '\0'));
    dialogs.Press(IDOK);
    Open(dir.File("only.txt"));
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_EQ(dialogs.Seen().size(), 2u);
}

TEST_F(Loading, AFailedLoadLeavesANewDocumentThatCannotOverwriteTheFile) {
    Start();
    WriteFileBytes(dir.File("first.txt"), "first");
    WriteFileBytes(dir.File("second.txt"), "second");
    Open(dir.File("first.txt"));
    dialogs.Press(IDOK);
    {
        RefuseTextFieldWindow refuse(2); // the window that would take the new text
        Open(dir.File("second.txt"));
    }
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, dir.File("second.txt") + " could not be loaded:\r\nError creating window class " +
                                     RichEditClassName());
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(form->CurrentFile, "");
    EXPECT_EQ(Caption(), "Notova");
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_TRUE(::IsWindowVisible(form->TextField.Handle())) << "the field is there again";
    EXPECT_FALSE(form->Busy());
    Type("typed");
    EXPECT_TRUE(form->DocumentModified) << "changes are followed again";
    dialogs.Press(IDCANCEL); // Save asks for a name: the document is untitled
    Command(IDM_SAVE);
    EXPECT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(ReadFileBytes(dir.File("second.txt")), "second");
    EXPECT_EQ(ReadFileBytes(dir.File("first.txt")), "first");
}

// Locked by another program: the reason shows, and the program goes on with the document it had.
TEST_F(Loading, AFileThatCannotBeReadSaysWhyAndNothingChanges) {
    Start();
    const std::string first = dir.File("first.txt"), locked = dir.File("locked.txt");
    WriteFileBytes(first, "first");
    WriteFileBytes(locked, "secret");
    FileHandle lock(OpenFile(locked, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(lock);
    const std::string why =
        locked + " could not be loaded:\r\n" + SystemErrorText(ERROR_SHARING_VIOLATION, "?");
    Open(first);
    Type("x");
    dialogs.ChooseFile(locked);
    dialogs.Press(IDNO); // not saved: the text would be lost if the open went ahead
    dialogs.Press(IDOK);
    Command(IDM_OPEN);
    ASSERT_EQ(dialogs.Seen().size(), 3u);
    EXPECT_EQ(LastDialog().Text, why);
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(form->CurrentFile, first);
    EXPECT_EQ(Caption(), "Notova - " + first);
    EXPECT_EQ(form->TextField.GetWholeText(), "xfirst");
    EXPECT_TRUE(form->DocumentModified) << "the changes are still to be saved";
    EXPECT_EQ(form->PanelText(0), " Changed");

    dialogs.Press(IDOK);
    Restart({locked});
    EXPECT_EQ(LastDialog().Text, why) << "named on the command line";
    EXPECT_EQ(Caption(), "Notova");
    EXPECT_EQ(form->CurrentFile, "");
    EXPECT_FALSE(form->Busy());
    lock.reset();
    EXPECT_EQ(ReadFileBytes(locked), "secret");
}

TEST_F(Loading, MixedLineEndsEachBecomeOneLineBreak) {
    Start();
    WriteFileBytes(dir.File("mixed.txt"), "dos\r\nunix\nmac\rend");
    Open(dir.File("mixed.txt"));
    EXPECT_EQ(form->TextField.GetWholeText(), "dos\r\nunix\r\nmac\r\nend");
    EXPECT_EQ(form->TextField.LineCount(), 4);
}

class LargeFiles : public FormTest {
protected:
    static std::string Bytes(size_t size) {
        std::string bytes(size, 'x');
        for (size_t i = 79; i < size; i += 80) bytes[i] = '\n';
        return bytes;
    }
};

TEST_F(LargeFiles, PanelThreeShowsTheLoadingProgressOfTextsAboveOneMegabyte) {
    Start();
    for (size_t size : {size_t{1} << 20, (size_t{3} << 20) + 1}) {
        SCOPED_TRACE(size);
        WriteFileBytes(dir.File("large.txt"), Bytes(size));
        // The form asks its clock whenever it may paint during the load: a chance to look at the panel.
        std::vector<int> percents;
        form->TickCount = [&] {
            const std::string text = form->PanelText(3);
            if (text.rfind("Loading ", 0) == 0) percents.push_back(std::stoi(text.substr(8)));
            return static_cast<unsigned long>(::GetTickCount());
        };
        Open(dir.File("large.txt"));
        form->TickCount = [] { return static_cast<unsigned long>(::GetTickCount()); };
        EXPECT_EQ(form->PanelText(3), SizeTextFor(GroupThousands(size + size / 80, ","))) << "the size once loaded";
        if (size <= (size_t{1} << 20)) {
            EXPECT_TRUE(percents.empty());
            continue;
        }
        ASSERT_GE(percents.size(), 3u);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
        EXPECT_LE(percents.back(), 100);
        EXPECT_TRUE(std::any_of(percents.begin(), percents.end(), [](int p) { return p > 0 && p < 100; }));
    }
    // Saving it lets the window paint on the way, and leaves the panels as they were.
    Type("x");
    int asked = 0;
    form->TickCount = [&] { return ++asked, static_cast<unsigned long>(::GetTickCount()); };
    Command(IDM_SAVE);
    form->TickCount = [] { return static_cast<unsigned long>(::GetTickCount()); };
    EXPECT_GT(asked, 2) << "the save looked at the clock while writing";
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(ReadFileBytes(dir.File("large.txt")).size(), (size_t{3} << 20) + 1 + ((size_t{3} << 20) + 1) / 80 + 1);
}

TEST_F(LargeFiles, ExactlyFiveMillionBytesAsksNothing) {
    Start();
    WriteFileBytes(dir.File("five.txt"), Bytes(5000000));
    Open(dir.File("five.txt"));
    EXPECT_TRUE(dialogs.Seen().empty());
    EXPECT_EQ(form->TextField.TextLength(), 5000000);
    EXPECT_TRUE(form->SizeCalcEnabled);
}

TEST_F(LargeFiles, OneByteMoreAsksAndYesSwitchesTheOptionsOff) {
    Start();
    form->WordWrap1Click(nullptr); // both options checked
    ASSERT_TRUE(form->Checked(IDM_WORDWRAP));
    ASSERT_TRUE(form->Checked(IDM_DETECTURLS));
    WriteFileBytes(dir.File("big.txt"), Bytes(5000001));
    dialogs.Press(IDYES);
    Open(dir.File("big.txt"));
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, kLargeQuestion);
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(form->Checked(IDM_WORDWRAP));
    EXPECT_FALSE(form->Checked(IDM_DETECTURLS));
    EXPECT_FALSE(form->TextField.WordWrap());
    EXPECT_FALSE(form->TextField.AutoURLDetect());
    EXPECT_FALSE(form->SizeCalcEnabled);
    EXPECT_EQ(form->PanelText(3), "Size calculation disabled due to large file");
    EXPECT_EQ(form->TextField.TextLength(), 5000001);
    EXPECT_FALSE(form->DocumentModified);
}

TEST_F(LargeFiles, NoKeepsTheOptions) {
    Start();
    WriteFileBytes(dir.File("big.txt"), Bytes(5000001));
    dialogs.Press(IDNO);
    Open(dir.File("big.txt"));
    EXPECT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_TRUE(form->Checked(IDM_DETECTURLS));
    EXPECT_TRUE(form->TextField.AutoURLDetect());
    EXPECT_EQ(form->TextField.TextLength(), 5000001);
}

TEST_F(LargeFiles, OnlyWordWrapCheckedYesLeavesUrlDetectionOff) {
    Start();
    form->DetectURLs1Click(nullptr);
    form->WordWrap1Click(nullptr);
    WriteFileBytes(dir.File("big.txt"), Bytes(5000001));
    dialogs.Press(IDYES);
    Open(dir.File("big.txt"));
    EXPECT_FALSE(form->Checked(IDM_WORDWRAP));
    EXPECT_FALSE(form->Checked(IDM_DETECTURLS));
    EXPECT_EQ(form->PanelText(3), "Size calculation disabled due to large file");
}

TEST_F(LargeFiles, WithBothOptionsOffNothingIsAskedAndSizesGoOn) {
    Start();
    form->DetectURLs1Click(nullptr);
    WriteFileBytes(dir.File("big.txt"), Bytes(5000001));
    Open(dir.File("big.txt"));
    EXPECT_TRUE(dialogs.Seen().empty());
    EXPECT_TRUE(form->SizeCalcEnabled);
    EXPECT_EQ(form->PanelText(3), "5,062,501 Bytes");
}

using States = FormTest;

TEST_F(States, TypingMarksTheDocumentChanged) {
    Start();
    Type("a");
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Changed");
    EXPECT_TRUE(form->Enabled(IDM_UNDO));
    EXPECT_EQ(form->Caption(IDM_UNDO).rfind("&Undo ", 0), 0u);
    EXPECT_EQ(form->PanelText(3), "1 Bytes");
    if (RunningOnWine()) GTEST_SKIP() << "Wine's control never names the kind of an undo action";
    EXPECT_EQ(form->Caption(IDM_UNDO), "&Undo typing");
}

TEST_F(States, SaveFromTheMenuShowsUnchangedAndKeepsTheCaption) {
    Start();
    const std::string path = dir.File("doc.txt");
    WriteFileBytes(path, "one\ntwo");
    Open(path);
    Type("!");
    const std::string caption = Caption();
    Command(IDM_SAVE);
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(ReadFileBytes(path), "!one\r\ntwo") << "saved as plain text with CR LF";
}

TEST_F(States, NewOnAChangedDocumentAsks) {
    Start();
    Type("draft");
    dialogs.Press(IDCANCEL);
    Command(IDM_NEW);
    EXPECT_EQ(form->TextField.GetWholeText(), "draft");
    EXPECT_TRUE(form->DocumentModified);

    // Yes on an untitled document opens Save As; cancelling it keeps everything.
    dialogs.Press(IDYES);
    dialogs.Press(IDCANCEL);
    Command(IDM_NEW);
    ASSERT_EQ(dialogs.Seen().size(), 3u);
    EXPECT_EQ(dialogs.Seen()[2].ClassName, "#32770");
    EXPECT_EQ(form->TextField.GetWholeText(), "draft");
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Changed");

    dialogs.Press(IDNO);
    Command(IDM_NEW);
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(Caption(), "Notova");
}

TEST_F(States, YesSavesANamedDocumentBeforeNew) {
    Start();
    const std::string path = dir.File("named.txt");
    WriteFileBytes(path, "old");
    Open(path);
    Type("new ");
    dialogs.Press(IDYES);
    Command(IDM_NEW);
    EXPECT_EQ(ReadFileBytes(path), "new old");
    EXPECT_EQ(form->CurrentFile, "");
    EXPECT_EQ(form->TextField.GetWholeText(), "");
}

TEST_F(States, OpenAsksAfterTheDialogAndNotWhenItIsCancelled) {
    Start();
    Type("mine");
    dialogs.Press(IDCANCEL); // the open dialog
    Command(IDM_OPEN);
    EXPECT_EQ(dialogs.Seen().size(), 1u) << "a cancelled open dialog asks nothing";

    const std::string other = dir.File("other.txt");
    WriteFileBytes(other, "theirs");
    dialogs.ChooseFile(other);
    dialogs.Press(IDCANCEL); // the save prompt
    Command(IDM_OPEN);
    ASSERT_EQ(dialogs.Seen().size(), 3u);
    EXPECT_EQ(dialogs.Seen()[2].Text, "Save changes?");
    EXPECT_EQ(form->TextField.GetWholeText(), "mine");

    dialogs.ChooseFile(other);
    dialogs.Press(IDNO);
    Command(IDM_OPEN);
    EXPECT_EQ(form->TextField.GetWholeText(), "theirs");
    EXPECT_EQ(form->CurrentFile, other);
    EXPECT_EQ(Caption(), "Notova - " + other);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
}

using SaveAs = FormTest;

TEST_F(SaveAs, AppendsTxtOnlyWhenTheFileNameHasNoDot) {
    Start();
    ASSERT_TRUE(::CreateDirectoryA(dir.File("a.b").c_str(), nullptr));
    Type("text");
    dialogs.ChooseFile(dir.File("a.b\\notes"));
    Command(IDM_SAVEAS);
    EXPECT_EQ(form->CurrentFile, dir.File("a.b\\notes.txt"));
    EXPECT_EQ(ReadFileBytes(dir.File("a.b\\notes.txt")), "text");
    EXPECT_EQ(Caption(), "Notova - " + dir.File("a.b\\notes.txt"));
    EXPECT_EQ(form->PanelText(0), " Unchanged");

    dialogs.ChooseFile(dir.File("notes.md"));
    Command(IDM_SAVEAS);
    EXPECT_EQ(form->CurrentFile, dir.File("notes.md"));
    EXPECT_TRUE(FileExists(dir.File("notes.md")));

    dialogs.ChooseFile(dir.File("plain."));
    Command(IDM_SAVEAS);
    EXPECT_EQ(form->CurrentFile, dir.File("plain.")) << "a trailing dot counts as an extension";
    EXPECT_FALSE(FileExists(dir.File("plain..txt")));
}

TEST_F(SaveAs, AnAddedExtensionThatNamesAnExistingFileIsAskedAbout) {
    struct Row {
        int command;
        const char* typed;
        const char* existing; // as it lies on disk; the added extension differs only in case
        const char* shown;
        int answer;
    };
    const Row rows[] = {
        {IDM_SAVEAS, "notes", "notes.txt", "notes.txt", IDNO},
        {IDM_SAVEAS, "notes", "notes.txt", "notes.txt", IDYES},
        {IDM_SAVESELECTED, "part", "part.txt", "part.Txt", IDNO},
        {IDM_SAVESELECTED, "part", "part.txt", "part.Txt", IDYES},
    };
    Start();
    Type("new text");
    form->TextField.SelectWholeText();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.typed) + (row.answer == IDYES ? " yes" : " no"));
        WriteFileBytes(dir.File(row.existing), "old");
        const std::string before = form->CurrentFile;
        const size_t seen = dialogs.Seen().size();
        dialogs.ChooseFile(dir.File(row.typed));
        dialogs.Press(row.answer);
        Command(row.command);
        ASSERT_EQ(dialogs.Seen().size(), seen + 2);
        EXPECT_EQ(LastDialog().Text, std::string(row.shown) + " already exists.\r\nDo you want to replace it?");
        EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(ReadFileBytes(dir.File(row.existing)), row.answer == IDYES ? "new text" : "old");
        EXPECT_FALSE(FileExists(dir.File(row.typed))) << "nothing written under the typed name";
        if (row.command == IDM_SAVEAS) {
            EXPECT_EQ(form->CurrentFile, row.answer == IDYES ? dir.File(row.existing) : before);
            EXPECT_EQ(form->DocumentModified, row.answer == IDNO);
        }
        ::DeleteFileA(dir.File(row.existing).c_str());
    }
}

TEST_F(SaveAs, ARelativeCommandLineNameIsSavedWhereItWasOpened) {
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::CreateDirectoryA(dir.File("data").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(dir.File("data\\other").c_str(), nullptr));
    WriteFileBytes(dir.File("data\\rel.txt"), "opened");
    ::SetCurrentDirectoryA(dir.Path().c_str());
    Start({"data\\rel.txt"});
    EXPECT_EQ(form->CurrentFile, dir.File("data\\rel.txt"));
    EXPECT_EQ(Caption(), "Notova - " + dir.File("data\\rel.txt"));
    ::SetCurrentDirectoryA(dir.File("data\\other").c_str()); // as a file dialog leaves it
    Type("re-");
    Command(IDM_SAVE);
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadFileBytes(dir.File("data\\rel.txt")), "re-opened");
    EXPECT_FALSE(FileExists(dir.File("data\\other\\data\\rel.txt")));
    EXPECT_TRUE(dialogs.Seen().empty());
}

TEST_F(SaveAs, ClosingWithYesOnAnUntitledDocumentAndACancelledDialogStaysOpen) {
    Start();
    Type("unsaved");
    dialogs.Press(IDYES);    // save changes?
    dialogs.Press(IDCANCEL); // the save dialog
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_TRUE(::IsWindow(form->Handle()));
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->TextField.GetWholeText(), "unsaved");

    const std::string path = dir.File("kept.txt");
    dialogs.Press(IDYES);
    dialogs.ChooseFile(path);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(form->Handle()));
    EXPECT_EQ(ReadFileBytes(path), "unsaved");
    EXPECT_TRUE(DrainQuit());
}

TEST_F(SaveAs, ANameOutsideTheCodePageOpensAndSavesThroughTheDialogs) {
    Start();
    const std::string name = dir.File("привет.txt"), copy = dir.File("мир");
    WriteFileBytes(name, "hello");
    dialogs.ChooseFile(name);
    Command(IDM_OPEN);
    EXPECT_EQ(CaptionText(form->Handle()), "Notova - " + name);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello");
    Type("x");
    Command(IDM_SAVE);
    EXPECT_EQ(ReadFileBytes(name), "xhello");
    dialogs.ChooseFile(copy);
    Command(IDM_SAVEAS);
    EXPECT_EQ(form->CurrentFile, copy + ".txt");
    EXPECT_EQ(CaptionText(form->Handle()), "Notova - " + copy + ".txt");
    EXPECT_EQ(ReadFileBytes(copy + ".txt"), "xhello");
    EXPECT_EQ(dialogs.Seen().size(), 2u) << "the two file dialogs, nothing else";
}

TEST_F(SaveAs, RtfNameWritesRichTextAndSaveKeepsDoingSo) {
    Start();
    Type("rich");
    dialogs.ChooseFile(dir.File("notes.rtf"));
    Command(IDM_SAVEAS);
    std::string bytes = ReadFileBytes(dir.File("notes.rtf"));
    EXPECT_EQ(bytes.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(bytes.find("rich"), std::string::npos);
    Type("er ");
    Command(IDM_SAVE);
    bytes = ReadFileBytes(dir.File("notes.rtf"));
    EXPECT_EQ(bytes.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(bytes.find("richer "), std::string::npos);
}

TEST_F(SaveAs, AnUnwritablePathKeepsTheOldName) {
    Start();
    const std::string path = dir.File("kept.txt");
    WriteFileBytes(path, "kept");
    Open(path);
    Type("+");
    const std::string locked = dir.File("readonly.txt");
    WriteFileBytes(locked, "theirs");
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    dialogs.ChooseFile(locked);
    dialogs.Press(IDYES); // replace the existing file?
    dialogs.Press(IDOK);  // the general error display
    Command(IDM_SAVEAS);
    ASSERT_EQ(dialogs.Seen().size(), 3u);
    EXPECT_EQ(LastDialog().Text, "Cannot create file " + locked);
    EXPECT_EQ(ReadFileBytes(locked), "theirs");
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(form->CurrentFile, path);
    EXPECT_TRUE(form->DocumentModified);
}

TEST_F(SaveAs, AReadOnlyFileReportsThenOffersSaveAsAndStaysUntouched) {
    Start();
    const std::string path = dir.File("readonly.txt");
    WriteFileBytes(path, "original");
    Open(path);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Type("changed ");
    dialogs.Press(IDOK);
    dialogs.Press(IDCANCEL); // the save dialog that follows
    Command(IDM_SAVE);
    ASSERT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(dialogs.Seen()[0].Text, "Unable to save to the file:\r\n" + path + "\r\nThe file may be read-only.");
    EXPECT_EQ(dialogs.Seen()[0].Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(dialogs.Seen()[0].Buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(ReadFileBytes(path), "original");
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->CurrentFile, path);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveAs, ALockedFileIsNotTouched) {
    Start();
    const std::string path = dir.File("locked.txt");
    WriteFileBytes(path, "original");
    Open(path);
    Type("x");
    FileHandle lock(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    dialogs.Press(IDOK);
    dialogs.Press(IDCANCEL);
    Command(IDM_SAVE);
    lock.reset();
    EXPECT_EQ(ReadFileBytes(path), "original");
    EXPECT_TRUE(form->DocumentModified);
}

TEST(SafeSave, AFailingWriteLeavesTheOriginalAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("doc.txt");
    WriteFileBytes(path, "original bytes");
    EXPECT_THROW(WriteFileSafely(path,
                                 [](const std::string& temporary) {
                                     WriteFileBytes(temporary, "half");
                                     throw EStreamError("Failed to Save Stream");
                                 }),
                 EStreamError);
    EXPECT_EQ(ReadFileBytes(path), "original bytes");
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(dir.File("*").c_str(), &found);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    EXPECT_EQ(files, 1) << "the temporary file is removed";

    WriteFileSafely(path, [](const std::string& temporary) {
        EXPECT_EQ(ExtensionLower(temporary), "txt") << "the writer sees the target's extension";
        WriteFileBytes(temporary, "new");
    });
    EXPECT_EQ(ReadFileBytes(path), "new");
    WriteFileSafely(dir.File("fresh"), [](const std::string& temporary) { WriteFileBytes(temporary, "f"); });
    EXPECT_EQ(ReadFileBytes(dir.File("fresh")), "f");
}

TEST(SafeSave, WhereNoNewFileMayBeMadeAWritableTargetIsWrittenInPlace) {
    TempDir dir;
    const std::string path = dir.File("settings.cfg");
    WriteFileBytes(path, "old");
    auto refuse = [](DWORD error) {
        return [error](const std::string& target) -> std::string { throw ESafeSaveError(target, error); };
    };
    std::string written;
    auto writer = [&written](const std::string& to) {
        written = to;
        WriteFileBytes(to, "new");
    };
    WriteFileSafely(path, writer, refuse(ERROR_ACCESS_DENIED));
    EXPECT_EQ(written, path);
    EXPECT_EQ(ReadFileBytes(path), "new");

    for (auto [name, error] : {std::pair<const char*, DWORD>{"missing.cfg", ERROR_ACCESS_DENIED},
                               {"settings.cfg", ERROR_DISK_FULL}}) {
        written.clear();
        EXPECT_THROW(WriteFileSafely(dir.File(name), writer, refuse(error)), ESafeSaveError) << name;
        EXPECT_EQ(written, "") << name << ": no new file, or another failure, writes nothing";
    }
    EXPECT_EQ(ReadFileBytes(path), "new");
}

using SaveSelected = FormTest;

TEST_F(SaveSelected, WritesTheSelectionWithItsOwnExtensionRule) {
    Start();
    const std::string path = dir.File("main.txt");
    WriteFileBytes(path, "alpha beta");
    Open(path);
    ASSERT_TRUE(::CreateDirectoryA(dir.File("a.b").c_str(), nullptr));
    form->TextField.MoveCaret(6);
    form->TextField.SetSelectionLength(4);
    dialogs.ChooseFile(dir.File("a.b\\notes"));
    Command(IDM_SAVESELECTED);
    EXPECT_EQ(ReadFileBytes(dir.File("a.b\\notes")), "beta") << "the folder's dot counts: no extension added";
    EXPECT_EQ(form->CurrentFile, path);
    EXPECT_EQ(Caption(), "Notova - " + path);
    EXPECT_TRUE(form->DocumentModified) << "Save Selected marks the document changed";
    EXPECT_EQ(form->PanelText(0), " Changed");
    EXPECT_FALSE(form->TextField.SelectionStreamMode());

    form->TextField.MoveCaret(0);
    dialogs.ChooseFile(dir.File("part"));
    Command(IDM_SAVESELECTED);
    EXPECT_TRUE(FileExists(dir.File("part.Txt")));
    EXPECT_EQ(ReadFileBytes(dir.File("part.Txt")), "") << "an empty selection writes an empty file";
    EXPECT_EQ(ReadFileBytes(path), "alpha beta") << "the document's own file is not written";
}

TEST_F(SaveSelected, AFieldThatCannotTakeTheFocusReportsTheBug) {
    Start();
    form->TextField.SetVisible(false);
    dialogs.Press(IDCANCEL); // the save dialog
    dialogs.Press(IDIGNORE);
    Command(IDM_SAVESELECTED);
    ASSERT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(LastDialog().Text, "You just found a bug!\r\nIf you manage to reproduse this problem, please e-mail "
                                 "notova@korvel.example with details.\r\n\r\nThis bug does not harm your system "
                                 "or your Notova session");
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDIGNORE}));
}

} // namespace
} // namespace nv::test
