// The toolbar's model: sections, items, edges and orientation, offsets, edit mode, the stored layout.
#include "toolbar/SpeedBarCore.h"
#include "base/Errors.h"
#include "base/MemoryStorage.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

class TestBar : public TCustomSpeedBar {
public:
    int screenPpi = 96;
    int realigns = 0;
    ~TestBar() override { DestroyItems(); }

protected:
    void RequestRealign() override { ++realigns; }
    int ScreenPixelsPerInch() const override { return screenPpi; }
    int FormPixelsPerInch() const override { return screenPpi; }
};

class Editor : public TSpeedbarEditor {
public:
    std::vector<std::pair<int, TObject*>> seen;
    void BarNotify(TSpeedbarNotification code, TObject* subject) override {
        seen.emplace_back(code, subject);
    }
};

// The main window's bar: two sections, thirteen buttons in a row.
void Build(TestBar& bar) {
    bar.Name = "SpeedBar";
    bar.BeginLoading();
    bar.SetOptions(sbAllowDrag | sbAllowResize | sbFlatBtns);
    bar.SetBevel(bvNone, bvNone, 1, 0);
    bar.SetButtonSize(24, 24);
    bar.SetBtnOffsetHorz(4);
    bar.SetBtnOffsetVert(4);
    bar.SetBounds(0, 0, 492, 33);
    bar.AddSection("File");
    bar.AddSection("Edit");
    const struct {
        const char* section;
        const char* name;
        int left;
    } items[] = {{"File", "NewBtn", 4},     {"File", "OpenBtn", 28},  {"File", "SaveBtn", 52},
                 {"File", "PrintBtn", 76},  {"File", "ExitBtn", 332}, {"Edit", "UndoBtn", 108},
                 {"Edit", "RedoBtn", 132},  {"Edit", "CutBtn", 164},  {"Edit", "CopyBtn", 188},
                 {"Edit", "PasteBtn", 212}, {"Edit", "FindBtn", 244}, {"Edit", "ReplaceBtn", 268},
                 {"Edit", "WordWrap", 300}};
    for (const auto& i : items) {
        TSpeedItem& item = bar.AddItem(i.section, i.name);
        item.SetPosition(i.left, 4);
        item.SetVisible(true);
    }
    bar.EndLoading();
}

std::vector<std::string> Shown(const TCustomSpeedBar& bar) {
    std::vector<std::string> names;
    bar.ForEachItem([&](TSpeedItem& item) {
        if (item.Visible()) names.push_back(item.Name());
    });
    return names;
}

class SpeedBarModel : public ::testing::Test {
protected:
    void SetUp() override { Build(bar); }
    TSpeedItem& Item(const char* name) { return *bar.FindItemByName(name); }

    TestBar bar;
};

TEST_F(SpeedBarModel, GridAndThicknessFollowTheButtonsAndTheEdge) {
    EXPECT_EQ(bar.GridStepX(), 8);
    EXPECT_EQ(bar.GridStepY(), 24);
    EXPECT_EQ(bar.MinOffset(), 0) << "flat buttons and no frame";
    bar.SetAlign(alLeft);
    EXPECT_EQ(bar.GridStepX(), 24);
    EXPECT_EQ(bar.GridStepY(), 8);
    bar.SetAlign(alTop);
    bar.SetButtonSize(32, 40);
    EXPECT_EQ(bar.Height(), 48) << "thick enough for the taller buttons";
    EXPECT_EQ(bar.GridStepY(), 40);

    TestBar fresh;
    EXPECT_EQ(fresh.MinOffset(), 3) << "2 for raised buttons and 1 for the panel's outer bevel";
    EXPECT_EQ(fresh.Height(), 2 * 3 + 23);
}

TEST_F(SpeedBarModel, PlaceItemAtSnapsAndShowsOrHides) {
    TSpeedItem& cut = Item("CutBtn");
    EXPECT_TRUE(bar.PlaceItemAt(cut, 400, 10));
    EXPECT_EQ(cut.Left(), 404);
    EXPECT_EQ(cut.Top(), 4);
    EXPECT_TRUE(cut.Visible());
    EXPECT_FALSE(bar.PlaceItemAt(cut, 600, 10)) << "past the right end";
    EXPECT_FALSE(cut.Visible());
    EXPECT_TRUE(bar.PlaceItemAt(cut, 40, 40)) << "the corner of the second row is still on the bar";
    EXPECT_EQ(cut.Top(), 28);
    EXPECT_FALSE(bar.PlaceItemAt(cut, 40, 60)) << "the third row's is not";
    EXPECT_EQ(cut.Top(), 52);
    EXPECT_TRUE(bar.PlaceItemAt(cut, 40, -10)) << "truncation toward zero keeps it in the first row";
    EXPECT_EQ(cut.Top(), 4);
    EXPECT_FALSE(bar.PlaceItemAt(cut, 40, -40));
    EXPECT_EQ(cut.Top(), 4) << "never above the top offset";
}

TEST_F(SpeedBarModel, OrientationExchangeStacksTheButtonsAndKeepsTheThickness) {
    Editor editor;
    bar.SetEditMode(&editor);
    bar.SetButtonSize(24, 23);
    editor.seen.clear();
    bar.SetAlign(alLeft);
    EXPECT_EQ(bar.Orientation(), boVertical);
    EXPECT_EQ(bar.Width(), 33);
    EXPECT_EQ(bar.Height(), 492);
    EXPECT_EQ(bar.BtnWidth(), 23);
    EXPECT_EQ(bar.BtnHeight(), 24);
    EXPECT_EQ(Item("NewBtn").Left(), 4);
    EXPECT_EQ(Item("NewBtn").Top(), 4);
    EXPECT_EQ(Item("OpenBtn").Top(), 28);
    EXPECT_EQ(Item("ExitBtn").Top(), 332);
    EXPECT_EQ(Item("ExitBtn").Left(), 4);
    ASSERT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(editor.seen[0].first, sbnSizeChanged);
    bar.SetAlign(alRight);
    EXPECT_EQ(editor.seen.size(), 1u) << "no exchange between two vertical edges";
    bar.SetAlign(alBottom);
    EXPECT_EQ(bar.Height(), 33);
    EXPECT_EQ(Item("ExitBtn").Left(), 332);
    EXPECT_EQ(bar.BtnHeight(), 23);
    bar.SetEditMode(nullptr);
}

TEST_F(SpeedBarModel, AlignNoneAndClientAreRefusedInAutoPosition) {
    for (TAlign refused : {alNone, alClient}) {
        try {
            bar.SetAlign(refused);
            ADD_FAILURE() << "no error";
        } catch (const EError& e) {
            EXPECT_STREQ(e.what(), "Cannot set this property value while Position is bpAuto");
        }
        EXPECT_EQ(bar.Align(), alTop);
    }
    bar.SetPosition(bpCustom);
    bar.SetAlign(alClient);
    EXPECT_EQ(bar.Align(), alClient);
    EXPECT_EQ(bar.Orientation(), boHorizontal) << "a custom bar keeps its own orientation";
}

TEST_F(SpeedBarModel, SectionCaptionsAreUnique) {
    EXPECT_EQ(bar.AddSection("File").Caption(), "File (1)");
    EXPECT_EQ(bar.AddSection("file").Caption(), "file (2)");
    try {
        bar.Sections(1).SetCaption("FILE");
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(bar.Sections(1).Caption(), "Edit");
    bar.Sections(0).SetCaption("FILE"); // its own caption in another case
    EXPECT_EQ(bar.Sections(0).Caption(), "FILE");
}

TEST_F(SpeedBarModel, ItemsGoToTheirSectionsAndAreFoundByName) {
    EXPECT_EQ(bar.Sections(0).Count(), 5);
    EXPECT_EQ(bar.Sections(1).Count(), 8);
    EXPECT_EQ(bar.Sections(1).Items(7).Name(), "WordWrap");
    EXPECT_EQ(bar.FindItemByName("wordwrap"), &bar.Sections(1).Items(7));
    EXPECT_EQ(bar.FindItemByName("Nothing"), nullptr);
    EXPECT_EQ(&bar.AddItem("Unknown", "Extra").Section(), &bar.Sections(0)) << "unknown section: the first";
    EXPECT_EQ(&bar.AddItem(1, "ByIndex").Section(), &bar.Sections(1));
    EXPECT_EQ(&bar.AddItem(-1, "Negative").Section(), &bar.Sections(0));
    EXPECT_EQ(&bar.AddItem(7, "PastTheLast").Section(), &bar.Sections(1));
    TestBar empty;
    EXPECT_EQ(empty.AddItem("Any", "X").Section().Caption(), "");
    EXPECT_EQ(empty.SectionCount(), 1);
    EXPECT_THROW(bar.Sections(0).Items(9), EListError);
}

TEST_F(SpeedBarModel, GroupButtonsToggle) {
    TSpeedItem& wrap = Item("WordWrap");
    wrap.SetGroupIndex(1);
    wrap.SetAllowAllUp(true);
    int clicks = 0;
    wrap.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &wrap);
        ++clicks;
    };
    wrap.Click();
    EXPECT_TRUE(wrap.Down());
    wrap.Click();
    EXPECT_FALSE(wrap.Down()) << "all up is allowed";
    EXPECT_EQ(clicks, 2);

    TSpeedItem& a = Item("CutBtn");
    TSpeedItem& b = Item("CopyBtn");
    a.SetGroupIndex(2);
    b.SetGroupIndex(2);
    a.SetDown(true);
    b.SetDown(true);
    EXPECT_FALSE(a.Down()) << "one down raises the others of its group";
    b.SetDown(false);
    EXPECT_TRUE(b.Down()) << "the last one stays down without AllowAllUp";
    Item("NewBtn").SetDown(true);
    EXPECT_FALSE(Item("NewBtn").Down()) << "no group, no down state";
}

TEST_F(SpeedBarModel, OffsetsMoveTheItems) {
    bar.SetBtnOffsetHorz(10);
    EXPECT_EQ(Item("NewBtn").Left(), 10);
    EXPECT_EQ(Item("OpenBtn").Left(), 34);
    bar.SetOptions(sbAllowDrag);
    EXPECT_EQ(bar.MinOffset(), 2);
    bar.SetBtnOffsetVert(0);
    EXPECT_EQ(bar.BtnOffsetVert(), 2) << "never below the minimum";
    EXPECT_EQ(Item("NewBtn").Top(), 2);
    bar.SetBevel(bvRaised, bvLowered, 2, 1);
    EXPECT_EQ(bar.MinOffset(), 7);
    EXPECT_EQ(bar.BtnOffsetVert(), 7) << "raised to a larger minimum";
    EXPECT_EQ(Item("NewBtn").Top(), 7);
}

TEST_F(SpeedBarModel, ScalingForAnotherResolution) {
    bar.ScaleBy(120, 96);
    EXPECT_EQ(bar.BtnWidth(), 30);
    EXPECT_EQ(bar.BtnHeight(), 30);
    EXPECT_EQ(bar.BtnOffsetHorz(), 5);
    EXPECT_EQ(bar.GridStepX(), 10);
    EXPECT_EQ(Item("OpenBtn").Left(), 35) << "28 scales to 35, on the grid 5 + 3 * 10";
    EXPECT_EQ(Item("PrintBtn").Left(), 95) << "76 scales to 95";
    EXPECT_EQ(Item("RedoBtn").Left(), 165) << "132 scales to 165";
    EXPECT_EQ(Item("NewBtn").Top(), 5);
}

TEST_F(SpeedBarModel, EditModeEnablesEveryButtonAndLeavingCallsOnCustomize) {
    Editor editor;
    int customized = 0;
    bar.OnCustomize = [&](TObject*) { ++customized; };
    Item("SaveBtn").SetEnabled(false);
    EXPECT_FALSE(Item("SaveBtn").ButtonEnabled());
    bar.SetEditMode(&editor);
    EXPECT_TRUE(Item("SaveBtn").ButtonEnabled());
    bar.SetEditMode(nullptr);
    EXPECT_FALSE(Item("SaveBtn").ButtonEnabled());
    EXPECT_EQ(customized, 1);
    bar.SetEnabled(false);
    EXPECT_FALSE(Item("NewBtn").ButtonEnabled()) << "the bar's state reaches every button";
}

TEST_F(SpeedBarModel, ShowingAndHidingRealignsAndTellsOnce) {
    int changes = 0;
    bar.OnVisibleChanged = [&](TObject*) { ++changes; };
    const int realigns = bar.realigns;
    bar.SetVisible(false);
    bar.SetVisible(false);
    bar.SetVisible(true);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bar.realigns, realigns + 2);
}

TEST(SpeedBarDestruction, TellsTheCustomizeWindow) {
    Editor editor;
    TObject* subject = nullptr;
    {
        TestBar bar;
        subject = &bar;
        bar.SetEditMode(&editor);
    }
    ASSERT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(editor.seen[0].first, sbnDestroyed);
    EXPECT_EQ(editor.seen[0].second, subject);
}

// ---- Stored layout -------------------------------------------------------------------------------

constexpr char kSection[] = "TForm1SpeedBar";

TEST_F(SpeedBarModel, SaveLayoutWritesEveryValue) {
    MemoryStorage memory;
    TIniSections storage(memory, "");
    storage.WriteString(kSection, "Button20", "Stale,1,1");
    Item("FindBtn").SetVisible(false);
    Item("CutBtn").Stored = false;
    bar.SaveLayout(storage, kSection);
    const auto values = memory.Strings(kSection);
    EXPECT_EQ(values.count("Button20"), 0u) << "the section is written afresh";
    EXPECT_EQ(values.at("Position"), "1");
    EXPECT_EQ(values.at("Width"), "33");
    EXPECT_EQ(values.at("Version"), "0");
    EXPECT_EQ(values.at("PixelsPerInch"), "96");
    EXPECT_EQ(values.at("BtnWidth"), "24");
    EXPECT_EQ(values.at("BtnHeight"), "24");
    EXPECT_EQ(values.at("Count"), "11");
    EXPECT_EQ(values.at("Button1"), "NewBtn,4,4");
    EXPECT_EQ(values.at("Button5"), "ExitBtn,332,4");
    EXPECT_EQ(values.at("Button6"), "UndoBtn,108,4");
    EXPECT_EQ(values.at("Button8"), "CopyBtn,188,4") << "CutBtn is not stored";
    EXPECT_EQ(values.at("Button11"), "WordWrap,300,4") << "FindBtn is hidden";
    EXPECT_EQ(values.size(), 18u);
}

TEST_F(SpeedBarModel, RestoreLayoutRoundTrip) {
    MemoryStorage memory;
    TIniSections storage(memory, "");
    int moved = 0;
    bar.OnPosChanged = [&](TObject*) { ++moved; };
    bar.SetAlign(alRight);
    bar.SetThickness(56);
    Item("PasteBtn").SetVisible(false);
    bar.PlaceItemAt(Item("CopyBtn"), 28, 4);
    bar.SaveLayout(storage, kSection);

    TestBar other;
    other.SetOptions(sbAllowDrag | sbAllowResize | sbFlatBtns);
    other.SetBevel(bvNone, bvNone, 1, 0);
    other.SetButtonSize(24, 24);
    other.SetBtnOffsetHorz(4);
    other.SetBtnOffsetVert(4);
    other.SetBounds(0, 0, 492, 33);
    other.OnPosChanged = [&](TObject*) { ++moved; };
    for (const char* name : {"NewBtn", "CopyBtn", "PasteBtn"}) {
        TSpeedItem& item = other.AddItem("File", name);
        item.SetPosition(4, 4);
        item.SetVisible(true);
    }
    other.RestoreLayout(storage, kSection);
    EXPECT_EQ(other.Align(), alRight);
    EXPECT_EQ(other.Width(), 56);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(other.FindItemByName("CopyBtn")->Left(), 28);
    EXPECT_EQ(other.FindItemByName("CopyBtn")->Top(), 4);
    EXPECT_EQ(other.FindItemByName("NewBtn")->Top(), 4);
    EXPECT_FALSE(other.FindItemByName("PasteBtn")->Visible()) << "not listed: hidden";
}

TEST_F(SpeedBarModel, RestoreLayoutEdgeCases) {
    struct Row {
        const char* what;
        const char* values; // "Name=Value;..."
        TAlign align;
        int thickness;
        const char* shown; // nullptr: every button
        int newLeft, newTop;
    };
    const Row rows[] = {
        {"other pixels per inch: the edge only",
         "Position=3;PixelsPerInch=120;Width=80;Count=1;Button1=NewBtn,60,60", alLeft, 33, nullptr, 4, 4},
        {"lower version: nothing", "Version=-1;Position=1;Count=1;Button1=NewBtn,60,4", alBottom, 33, nullptr,
         4, 4},
        {"unlisted buttons hidden; left of 4 placed at 4", "Count=2;Button1=NewBtn,0,-7;Button2=ExitBtn,60,4",
         alBottom, 33, "NewBtn,ExitBtn", 4, 4},
        {"a missing third entry still applies the others",
         "Count=5;Button1=NewBtn,12,4;Button2=OpenBtn,36,4;Button4=CutBtn,60,4;Button5=CopyBtn,84,4",
         alBottom, 33, "NewBtn,OpenBtn,CutBtn,CopyBtn", 12, 4},
        {"unknown names, empty entries and bad numbers",
         "Count=4;Button1=Nothing,1,1;Button2=;Button3=NewBtn,x,28;Button4=OpenBtn", alBottom, 33,
         "NewBtn,OpenBtn", 4, 28},
        {"a count of 0 leaves the buttons", "Count=0;Width=56", alBottom, 56, nullptr, 4, 4},
        {"a stored 0 keeps the designed edge", "Position=0", alBottom, 33, nullptr, 4, 4},
        {"a stored 5 keeps the designed edge", "Position=5", alBottom, 33, nullptr, 4, 4},
        {"a stored 77 keeps the designed edge", "Position=77;Width=56", alBottom, 56, nullptr, 4, 4},
        {"top with its thickness", "Position=1;Width=x", alTop, 33, nullptr, 4, 4},
        {"a width of one row", "Width=32", alBottom, 32, nullptr, 4, 4},
        {"thinner than one row: the designed thickness", "Width=31", alBottom, 33, nullptr, 4, 4},
        {"no width: the designed thickness", "Width=0", alBottom, 33, nullptr, 4, 4},
        {"a negative width: the designed thickness", "Position=3;Width=-500", alLeft, 33, nullptr, 4, 4},
    };
    const std::string all = "NewBtn,OpenBtn,SaveBtn,PrintBtn,ExitBtn,UndoBtn,RedoBtn,CutBtn,CopyBtn,PasteBtn,"
                            "FindBtn,ReplaceBtn,WordWrap";
    for (const Row& row : rows) {
        TestBar fresh;
        Build(fresh);
        fresh.SetAlign(alBottom); // designed at the bottom: a stored top edge must be read
        MemoryStorage memory;
        TIniSections storage(memory, "");
        for (std::string rest = row.values; !rest.empty();) {
            const std::string value = rest.substr(0, rest.find(';'));
            rest.erase(0, value.size() + 1);
            const size_t equals = value.find('=');
            storage.WriteString(kSection, value.substr(0, equals), value.substr(equals + 1));
        }
        fresh.RestoreLayout(storage, kSection);
        std::string shown;
        for (const std::string& name : Shown(fresh))
            shown += (shown.empty() ? "" : ",") + name;
        EXPECT_EQ(fresh.Align(), row.align) << row.what;
        EXPECT_EQ(fresh.Thickness(), row.thickness) << row.what;
        EXPECT_EQ(shown, row.shown ? row.shown : all) << row.what;
        EXPECT_EQ(fresh.FindItemByName("NewBtn")->Left(), row.newLeft) << row.what;
        EXPECT_EQ(fresh.FindItemByName("NewBtn")->Top(), row.newTop) << row.what;
    }
}

// Reads another store and counts the values read; writes nothing.
class CountingStorage : public Storage {
public:
    explicit CountingStorage(Storage& inner) : inner_(inner) {}
    int reads = 0;
    std::unique_ptr<StorageKey> OpenKey(const std::string& path, bool) override {
        std::unique_ptr<StorageKey> key = inner_.OpenKey(path, false);
        return key ? std::make_unique<Key>(std::move(key), reads) : nullptr;
    }
    bool DeleteKey(const std::string&) override { return false; }

private:
    struct Key : StorageKey {
        Key(std::unique_ptr<StorageKey> key, int& count) : inner(std::move(key)), reads(count) {}
        bool ValueExists(const std::string& name) const override { return inner->ValueExists(name); }
        std::optional<std::uint32_t> ReadInteger(const std::string& name) const override {
            return ++reads, inner->ReadInteger(name);
        }
        std::optional<std::string> ReadString(const std::string& name) const override {
            return ++reads, inner->ReadString(name);
        }
        bool DeleteValue(const std::string&) override { return false; }
        std::vector<std::string> ValueNames() const override { return inner->ValueNames(); }
        std::vector<std::string> SubkeyNames() const override { return inner->SubkeyNames(); }
        bool PutInteger(const std::string&, std::uint32_t) override { return false; }
        bool PutString(const std::string&, const std::string&) override { return false; }
        std::unique_ptr<StorageKey> inner;
        int& reads;
    };
    Storage& inner_;
};

TEST_F(SpeedBarModel, AHugeStoredCountReadsOnlyTheStoredEntries) {
    MemoryStorage memory;
    TIniSections writer(memory, "");
    writer.WriteString(kSection, "Count", "100000");
    writer.WriteString(kSection, "Button1", "CutBtn,404,4");
    CountingStorage counting(memory);
    TIniSections reader(counting, "");
    bar.RestoreLayout(reader, kSection);
    EXPECT_EQ(Shown(bar), std::vector<std::string>{"CutBtn"});
    EXPECT_LE(counting.reads, 10) << "the layout's own values and the one entry";
}

} // namespace
} // namespace nv
