// The list rules over an in-memory menu, storage and file system.
#include "lists/HistoryList.h"
#include "base/MemoryStorage.h"
#include "tests/lists/MemoryMenu.h"

#include <gtest/gtest.h>

#include <set>

namespace nv::test {
namespace {

using Strings = std::vector<std::string>;
const char kMru[] = "Software\\Korvel\\Notova\\MRUList";
const char kBookmarks[] = "Software\\Korvel\\Notova\\Bookmarks";
const Strings kFileMenu = {"New &Instance",     "-", "&New",   "&Open...", "&Save", "Save &As...",
                           "Save &Selected...", "-", "&Print", "-",        "E&xit"};

class Lists : public ::testing::Test {
protected:
    TPathProbe Probe() {
        return [this](const std::string& path) {
            if (files.count(path)) return TPathKind::pkFile;
            if (folders.count(path)) return TPathKind::pkDirectory;
            return TPathKind::pkNone;
        };
    }

    // Set up as the main window's design sets them up.
    std::unique_ptr<THistoryList> History() {
        auto list = std::make_unique<THistoryList>(storage, Probe());
        list->SetRegPath("Korvel\\Notova");
        list->SetRegKey("MRUList");
        list->SetBaseMenu(&menu);
        list->OnClick = [this](TObject*, std::string name) { clicked.push_back(name); };
        list->SetMaxItems(4);
        return list;
    }

    std::unique_ptr<TBookmarks> Favorites() {
        auto list = std::make_unique<TBookmarks>(storage, Probe());
        list->SetRegPath("Korvel\\Notova");
        list->SetRegKey("Bookmarks");
        list->SetBaseMenu(&menu);
        list->OnClick = [this](TObject*, std::string name) { clicked.push_back(name); };
        list->SetFileBookmarks(true);
        return list;
    }

    void Store(const char* key, const Strings& paths, const Strings& names) {
        auto open = storage.OpenKey(key, true);
        for (size_t n = 0; n < paths.size(); ++n) open->WriteString("File" + std::to_string(n), paths[n]);
        for (size_t n = 0; n < names.size(); ++n) open->WriteString("Name" + std::to_string(n), names[n]);
    }

    // "File0=..", "Name0=..", in the order the values exist.
    Strings Stored(const char* key) {
        Strings values;
        for (const auto& value : storage.Values(key))
            values.push_back(value.Name + "=" + value.Text);
        std::sort(values.begin(), values.end());
        return values;
    }

    Strings Entries(const TDynamicMenuBase& list) {
        Strings paths;
        for (int i = 0; i < list.ItemCount(); ++i)
            paths.push_back(list.EntryItem(i)->Hint());
        return paths;
    }

    MemoryStorage storage;
    MemoryMenuItem menu;
    std::set<std::string> files{"C:\\A.txt",           "C:\\B.txt",           "C:\\C.txt",
                                "C:\\D.txt",           "C:\\E.txt",           "C:\\F.txt",
                                "C:\\docs\\notes.txt", "D:\\docs\\notes.txt", "C:\\b.txt"};
    std::set<std::string> folders{"C:\\work\\", "C:\\work", "C:\\"};
    Strings clicked;
};

TEST_F(Lists, RecentFilesFollowTheFileMenuNewestFirst) {
    menu.AddCaptions(kFileMenu);
    auto list = History();
    EXPECT_EQ(menu.Shown(), kFileMenu) << "nothing stored: the designed items only";
    EXPECT_EQ(list->ItemCount(), 0);

    for (const char* path : {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt", "C:\\D.txt", "C:\\E.txt"})
        list->AddItem(path);
    EXPECT_EQ(Entries(*list), (Strings{"C:\\E.txt", "C:\\D.txt", "C:\\C.txt", "C:\\B.txt"}));
    EXPECT_EQ(menu.Count(), 12 + 4);

    list->AddItem("C:\\B.txt");
    EXPECT_EQ(Entries(*list), (Strings{"C:\\B.txt", "C:\\E.txt", "C:\\D.txt", "C:\\C.txt"}));
    list->AddItem("C:\\b.txt");
    EXPECT_EQ(Entries(*list), (Strings{"C:\\b.txt", "C:\\B.txt", "C:\\E.txt", "C:\\D.txt"}))
        << "paths differing in case are two entries";

    for (const char* ignored : {"", "C:\\gone.txt", "C:\\work"})
        list->AddItem(ignored);
    EXPECT_EQ(Entries(*list), (Strings{"C:\\b.txt", "C:\\B.txt", "C:\\E.txt", "C:\\D.txt"}))
        << "empty names, missing files and folders are not added";

    list->SaveToRegistry();
    EXPECT_EQ(Stored(kMru),
              (Strings{"File0=C:\\b.txt", "File1=C:\\B.txt", "File2=C:\\E.txt", "File3=C:\\D.txt",
                       "Name0=b.txt", "Name1=B.txt", "Name2=E.txt", "Name3=D.txt"}));

    static_cast<MemoryMenuItem&>(*list->EntryItem(2)).Click();
    EXPECT_EQ(clicked, Strings{"C:\\E.txt"}) << "choosing an entry hands on its full path";
}

TEST_F(Lists, StoredRecentFilesLoadOnceTheLastPropertyArrives) {
    struct Row {
        const char* what;
        Strings paths, names, kept; // kept: loaded, and saved again renumbered
    };
    const Row rows[] = {
        {"six stored, four kept",
         {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt", "C:\\D.txt", "C:\\E.txt", "C:\\F.txt"},
         {"A.txt", "B.txt", "C.txt", "D.txt", "E.txt", "F.txt"},
         {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt", "C:\\D.txt"}},
        {"File2 without Name2 ends the load",
         {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt"},
         {"A.txt", "B.txt"},
         {"C:\\A.txt", "C:\\B.txt"}},
        {"a vanished file is dropped and the rest renumbered",
         {"C:\\A.txt", "C:\\gone.txt", "C:\\C.txt"},
         {"A.txt", "gone.txt", "C.txt"},
         {"C:\\A.txt", "C:\\C.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        storage.DeleteKey("Software");
        menu.Clear();
        menu.AddCaptions(kFileMenu);
        Store(kMru, row.paths, row.names);
        auto list = History();
        EXPECT_EQ(Entries(*list), row.kept);
        list->SaveToRegistry();
        Strings expected;
        for (size_t n = 0; n < row.kept.size(); ++n) {
            expected.push_back("File" + std::to_string(n) + "=" + row.kept[n]);
            expected.push_back("Name" + std::to_string(n) + "=" + row.kept[n].substr(3));
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Stored(kMru), expected);
    }
}

TEST_F(Lists, LoadingWaitsForItsSettingsAndStopsAtAValueOfAnotherType) {
    menu.AddCaptions(kFileMenu);
    Store(kMru, {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt"}, {"A.txt", "B.txt", "C.txt"});
    storage.PutOther(kMru, "File1");

    THistoryList early(storage, Probe());
    early.SetBaseMenu(&menu);
    early.SetRegKey("MRUList");
    EXPECT_EQ(early.ItemCount(), 0) << "the default RegPath and a missing MaxItems load nothing";
    early.SetMaxItems(4);
    EXPECT_EQ(early.ItemCount(), 0) << "still the default RegPath";
    early.SetRegPath("Korvel\\Notova");
    EXPECT_EQ(Entries(early), Strings{"C:\\A.txt"}) << "a non-string value ends the load";
    for (const char* path : {"C:\\B.txt", "C:\\C.txt"}) early.AddItem(path);
    early.SetMaxItems(2);
    EXPECT_EQ(Entries(early), (Strings{"C:\\C.txt", "C:\\B.txt"})) << "fewer MaxItems drop the oldest";
}

TEST_F(Lists, AnEmptyBaseMenuShowsAPlaceholderUntilTheFirstEntry) {
    auto list = History();
    ASSERT_EQ(menu.Count(), 1);
    EXPECT_EQ(menu.At(0).Caption(), "(none)");
    EXPECT_FALSE(menu.At(0).Enabled());
    EXPECT_EQ(list->ItemCount(), 0);
    list->AddItem("C:\\A.txt");
    EXPECT_EQ(menu.Shown(), Strings{"A.txt"}) << "no separator when the placeholder was all";
}

TEST_F(Lists, FavoritesAddRenameAndDelete) {
    auto list = Favorites();
    ASSERT_EQ(menu.Count(), 3);
    EXPECT_EQ(menu.Shown(), Strings{"&Add"});
    EXPECT_FALSE(menu.At(0).Enabled()) << "no handler yet";
    // The design sets the menu before FileBookmarks, and the hint is chosen with the menu.
    EXPECT_EQ(menu.At(0).Hint(), "Add the current directory to the bookmarks.");
    EXPECT_EQ(menu.At(2).Hint(), "Delete a bookmark");

    std::string current;
    list->SetOnGetBookmark([&](TObject* sender, std::string& bookmark, std::string& name) {
        EXPECT_EQ(sender, list.get());
        bookmark = current;
        name = current.substr(current.find_last_of('\\') + 1);
    });
    for (const char* path : {"C:\\docs\\notes.txt", "D:\\docs\\notes.txt", "C:\\A.txt"}) {
        current = path;
        menu.At(0).Click();
    }
    EXPECT_EQ(menu.Shown(), (Strings{"&Add", "-", "notes.txt", "notes.txt", "A.txt", "&Delete"}));
    MenuItem& deleteMenu = *list->DeleteMenu();
    ASSERT_EQ(deleteMenu.Count(), 3);
    EXPECT_EQ(deleteMenu.Item(2).Caption(), "A.txt");
    EXPECT_EQ(deleteMenu.Item(2).Hint(), "C:\\A.txt");

    list->AddItem("C:\\A.txt", "renamed");
    EXPECT_EQ(menu.Shown(), (Strings{"&Add", "-", "notes.txt", "notes.txt", "renamed", "&Delete"}))
        << "the same path keeps its place and takes the new name";
    EXPECT_EQ(deleteMenu.Item(2).Caption(), "renamed");

    static_cast<MemoryMenuItem&>(menu.Item(3)).Click();
    EXPECT_EQ(clicked, Strings{"D:\\docs\\notes.txt"});

    static_cast<MemoryMenuItem&>(deleteMenu.Item(0)).Click();
    EXPECT_EQ(Entries(*list), (Strings{"D:\\docs\\notes.txt", "C:\\A.txt"}));
    EXPECT_EQ(deleteMenu.Count(), 2);
    static_cast<MemoryMenuItem&>(deleteMenu.Item(0)).Click();
    static_cast<MemoryMenuItem&>(deleteMenu.Item(0)).Click();
    EXPECT_EQ(menu.Shown(), Strings{"&Add"}) << "the last deletion hides the separator and &Delete";

    list->SetOnGetBookmark(nullptr);
    EXPECT_FALSE(menu.At(0).Enabled());
}

TEST_F(Lists, FavoritesKeepTheirOrderAcrossRunsAndAnEmptiedListStaysEmpty) {
    {
        auto list = Favorites();
        for (const char* path : {"C:\\C.txt", "C:\\A.txt", "C:\\B.txt"})
            list->AddItem(path, std::string(path + 3));
        list->SaveToRegistry();
    }
    EXPECT_EQ(Stored(kBookmarks), (Strings{"File0=C:\\C.txt", "File1=C:\\A.txt", "File2=C:\\B.txt",
                                           "Name0=C.txt", "Name1=A.txt", "Name2=B.txt"}));
    for (int run = 0; run < 2; ++run) {
        menu.Clear();
        auto list = Favorites();
        EXPECT_EQ(Entries(*list), (Strings{"C:\\C.txt", "C:\\A.txt", "C:\\B.txt"})) << "run " << run;
        EXPECT_EQ(list->DeleteMenu()->Item(0).Caption(), "C.txt");
        list->SaveToRegistry();
    }

    menu.Clear();
    auto list = Favorites();
    while (list->ItemCount() > 0)
        static_cast<MemoryMenuItem&>(list->DeleteMenu()->Item(0)).Click();
    list->SaveToRegistry();
    EXPECT_EQ(Stored(kBookmarks), Strings{});
    menu.Clear();
    EXPECT_EQ(Favorites()->ItemCount(), 0) << "deleted favorites do not come back";
}

TEST_F(Lists, AListEmptyAllAlongLeavesWhatIsStored) {
    const struct {
        const char* what;
        Strings stored;
    } rows[] = {
        {"stored by another instance after this one started", {}},
        {"files out of reach at start", {"X:\\gone.txt", "X:\\also gone.txt"}},
    };
    for (const auto& row : rows) {
        storage = MemoryStorage();
        menu.Clear();
        Store(kMru, row.stored, row.stored);
        auto history = History();
        menu.Clear();
        auto favorites = Favorites();
        ASSERT_EQ(history->ItemCount() + favorites->ItemCount(), 0) << row.what;
        Store(kMru, {"C:\\A.txt"}, {"A.txt"}); // meanwhile, another instance
        Store(kBookmarks, {"C:\\B.txt"}, {"B.txt"});
        const Strings recent = Stored(kMru), favored = Stored(kBookmarks);
        history->SaveToRegistry();
        favorites->SaveToRegistry();
        EXPECT_EQ(Stored(kMru), recent) << row.what;
        EXPECT_EQ(Stored(kBookmarks), favored) << row.what;
    }
}

// Two instances over one store, each started before the other saved: what each did to its lists
// survives the other's closing. Steps: "oX" opens C:\X.txt, "fX" adds it to the favorites, "dX"
// deletes that favorite; the first instance closes first.
TEST_F(Lists, EachInstanceSavesTheStoredListsWithItsOwnChanges) {
    struct Instance {
        MemoryMenuItem fileMenu, favoritesMenu;
        std::unique_ptr<THistoryList> history;
        std::unique_ptr<TBookmarks> favorites;
    };
    const auto start = [this](Instance& instance) {
        instance.fileMenu.AddCaptions(kFileMenu);
        instance.history = std::make_unique<THistoryList>(storage, Probe());
        instance.history->SetRegPath("Korvel\\Notova");
        instance.history->SetBaseMenu(&instance.fileMenu);
        instance.history->SetMaxItems(4);
        instance.favorites = std::make_unique<TBookmarks>(storage, Probe());
        instance.favorites->SetRegPath("Korvel\\Notova");
        instance.favorites->SetBaseMenu(&instance.favoritesMenu);
        instance.favorites->SetFileBookmarks(true);
    };
    const auto run = [](Instance& instance, const Strings& steps) {
        for (const std::string& step : steps) {
            const std::string path = "C:\\" + step.substr(1) + ".txt";
            if (step[0] == 'o') instance.history->AddItem(path);
            if (step[0] == 'f') instance.favorites->AddItem(path, step.substr(1) + ".txt");
            if (step[0] != 'd') continue;
            MenuItem& deleteMenu = *instance.favorites->DeleteMenu();
            for (int i = 0; i < deleteMenu.Count(); ++i) {
                if (deleteMenu.Item(i).Hint() == path)
                    static_cast<MemoryMenuItem&>(deleteMenu.Item(i)).Click();
            }
        }
    };
    const auto stored = [this](const char* key) {
        Strings names;
        auto open = storage.OpenKey(key, false);
        for (int n = 0; open && open->ValueExists("File" + std::to_string(n)); ++n)
            names.push_back(*open->ReadString("Name" + std::to_string(n)));
        return names;
    };
    struct Row {
        const char* what;
        Strings recent, favorites; // stored before both start, by name
        Strings first, second;
        Strings recentAfter, favoritesAfter;
    };
    const Row rows[] = {
        {"additions of both",
         {},
         {},
         {"oC", "fC", "oF"},
         {"oD", "fD"},
         {"D.txt", "F.txt", "C.txt"},
         {"C.txt", "D.txt"}},
        {"moves of both, the later save on top",
         {"A", "B", "C", "D"},
         {},
         {"oC"},
         {"oB"},
         {"B.txt", "C.txt", "A.txt", "D.txt"},
         {}},
        {"the limit counts after the merge",
         {"A", "B", "C", "D"},
         {},
         {"oE", "oF"},
         {"oA"},
         {"A.txt", "F.txt", "E.txt", "B.txt"},
         {}},
        {"deletions of both, and an addition",
         {},
         {"A", "B", "C"},
         {"dB"},
         {"dC", "fD"},
         {},
         {"A.txt", "D.txt"}},
        {"a favorite deleted by one and added again by the other",
         {},
         {"A", "B"},
         {"dA"},
         {"fA"},
         {},
         {"B.txt", "A.txt"}},
        {"what vanished meanwhile goes",
         {"gone", "A"},
         {"gone", "B"},
         {"oC"},
         {"fD"},
         {"C.txt", "A.txt"},
         {"B.txt", "D.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        storage = MemoryStorage();
        Strings paths;
        for (const std::string& name : row.recent)
            paths.push_back("C:\\" + name + ".txt");
        Store(kMru, paths, row.recent);
        paths.clear();
        for (const std::string& name : row.favorites)
            paths.push_back("C:\\" + name + ".txt");
        Strings names;
        for (const std::string& name : row.favorites)
            names.push_back(name + ".txt");
        Store(kBookmarks, paths, names);
        Instance first, second;
        start(first);
        start(second);
        run(first, row.first);
        run(second, row.second);
        for (Instance* closing : {&first, &second}) {
            closing->history->SaveToRegistry();
            closing->favorites->SaveToRegistry();
        }
        EXPECT_EQ(stored(kMru), row.recentAfter);
        EXPECT_EQ(stored(kBookmarks), row.favoritesAfter);
    }
}

TEST_F(Lists, ChangesAreSavedOnceSoALaterSaveKeepsWhatAnotherInstanceDidSince) {
    Store(kBookmarks, {"C:\\A.txt"}, {"A.txt"});
    auto list = Favorites();
    static_cast<MemoryMenuItem&>(list->DeleteMenu()->Item(0)).Click();
    list->SaveToRegistry(); // a close that was then cancelled
    EXPECT_EQ(Stored(kBookmarks), Strings{});
    Store(kBookmarks, {"C:\\A.txt"}, {"again"}); // another instance adds it again
    list->SaveToRegistry();
    EXPECT_EQ(Stored(kBookmarks), (Strings{"File0=C:\\A.txt", "Name0=again"}));
}

TEST_F(Lists, FavoritesTakeFoldersAndDirectoryModeTrimsTheFinalBackslash) {
    auto list = Favorites();
    list->AddItem("C:\\work\\", "work");
    list->AddItem("C:\\gone.txt", "gone");
    list->AddItem("C:\\A.txt", "");
    EXPECT_EQ(Entries(*list), Strings{"C:\\work\\"}) << "file mode takes folders as they are";

    MemoryMenuItem folderMenu;
    TBookmarks directoryMode(storage, Probe());
    directoryMode.SetFileBookmarks(false);
    directoryMode.SetBaseMenu(&folderMenu);
    directoryMode.AddItem("C:\\A.txt", "A");
    directoryMode.AddItem("C:\\work\\", "work");
    directoryMode.AddItem("C:\\", "root");
    EXPECT_EQ(Entries(directoryMode), (Strings{"C:\\work", "C:\\"}));
}

} // namespace
} // namespace nv::test
