// The recent-files list and the favorites, new instances, and files dropped from the shell.
#include "app/Instances.h"
#include "app/MainF.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "base/Paths.h"
#include "base/Unicode.h"
#include "forms/resource.h"

#include <algorithm>

namespace nv {

namespace {

constexpr int kFileMenu = 0;
constexpr int kFavoritesMenu = 3;

struct DropTraits {
    using Type = HDROP;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DragFinish(h); }
};
using DropHandle = UniqueHandle<DropTraits>;

// Every dropped name whole, whatever its length, in the shell's order; a name that cannot be read
// is left empty.
std::vector<std::string> DroppedNames(HDROP drop) {
    std::vector<std::string> names;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    names.reserve(count);
    for (UINT index = 0; index < count; ++index) {
        const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        const UINT copied = length ? ::DragQueryFileW(drop, index, name.data(), length + 1) : 0;
        names.push_back(Utf8(name.data(), std::min(copied, length)));
    }
    return names;
}

} // namespace

void TForm1::CreateLists() {
    SettingsFile = ExtractFilePath(RunningExecutable()) + kSettingsFileName;
    LaunchInstance = [](HWND owner, const std::string& parameters) { StartInstance(owner, parameters); };

    // As the design streams them: the last property loads the stored entries.
    fileMenuItem_ = std::make_unique<Win32MenuItem>(::GetSubMenu(mainMenu_, kFileMenu), listCommands_);
    HistoryList1.SetRegPath("Korvel\\Notova");
    HistoryList1.SetRegKey("MRUList");
    HistoryList1.SetBaseMenu(fileMenuItem_.get());
    HistoryList1.OnClick = [this](TObject* sender, std::string name) {
        HistoryList1Click(sender, std::move(name));
    };
    HistoryList1.SetMaxItems(4);

    favoritesMenuItem_ =
        std::make_unique<Win32MenuItem>(::GetSubMenu(mainMenu_, kFavoritesMenu), listCommands_);
    Bookmarks1.SetRegPath("Korvel\\Notova");
    Bookmarks1.SetRegKey("Bookmarks");
    Bookmarks1.SetBaseMenu(favoritesMenuItem_.get());
    Bookmarks1.OnClick = [this](TObject* sender, std::string name) {
        HistoryList1Click(sender, std::move(name));
    };
    Bookmarks1.SetFileBookmarks(true);
}

void TForm1::HistoryList1Click(TObject*, std::string Filename) {
    if (FileSystemPathKind(Filename) != TPathKind::pkFile) return; // gone since: nothing at all
    OpenDocument(Filename, true);
}

void TForm1::Bookmarks1GetBookmark(TObject*, std::string& Bookmark, std::string& Name) {
    Bookmark = CurrentFile;
    Name = ExtractFileName(CurrentFile);
}

void TForm1::FilesDropped(HDROP drop) {
    std::vector<std::string> names;
    {
        DropHandle owner(drop);
        names = DroppedNames(drop);
    }
    // Folders open nowhere, as in the lists: only the files count.
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& name) {
                                   return name.empty() || FileSystemPathKind(name) == TPathKind::pkDirectory;
                               }),
                names.end());
    for (size_t index = 0; index < names.size(); ++index) {
        // A changed document is never replaced by a drop: its files go to new instances.
        if (Checked(IDM_ALWAYSDROPTONEWINSTANCE) || DocumentModified || index > 0) {
            // Quoted, so a name with a run of spaces arrives whole.
            Raise(LaunchInstance, nullptr, QuoteArgument(names[index]));
        } else {
            OpenDocument(names[index], false);
        }
    }
}

void TForm1::NewInstance1Click(TObject*) {
    Raise(LaunchInstance, Handle(), std::string());
}

void TForm1::AlwaysDropToNewInstance1Click(TObject*) {
    SetChecked(IDM_ALWAYSDROPTONEWINSTANCE, !Checked(IDM_ALWAYSDROPTONEWINSTANCE));
}

} // namespace nv
