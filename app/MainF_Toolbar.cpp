// The toolbar: its thirteen buttons on the menu's commands, its place in the window, its edge lines.
#include "app/MainF.h"
#include "base/Platform.h"
#include "forms/resource.h"

namespace nv {

namespace {
constexpr int kSpeedBarId = 101;
constexpr int kDesignThickness = 33;
} // namespace

void TForm1::CreateSpeedBar() {
    SpeedBar.Name = "SpeedBar";
    // Designed at 96 pixels per inch, as the bar keeps its sizes; it shows them at the window's DPI.
    SpeedBar.SetPixelsPerInch(dpi_);
    SpeedBar.BeginLoading();
    SpeedBar.SetOptions(sbAllowDrag | sbAllowResize | sbFlatBtns);
    SpeedBar.SetBevel(bvNone, bvNone, 1, 0);
    SpeedBar.SetButtonSize(24, 24);
    SpeedBar.SetBtnOffsetHorz(4);
    SpeedBar.SetBtnOffsetVert(4);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    SpeedBar.SetBounds(0, 0, SpeedBar.Unscaled(client.right), kDesignThickness);
    SpeedBar.AddSection("File");
    SpeedBar.AddSection("Edit");
    const struct {
        TSpeedItem** item;
        const char* section;
        const char* name;
        const char* caption;
        int left;
        int command;
        int glyph;
        int numGlyphs;
    } items[] = {
        {&NewBtn, "File", "NewBtn", "New", 4, IDM_NEW, IDB_NEWBTN, 2},
        {&OpenBtn, "File", "OpenBtn", "Open", 28, IDM_OPEN, IDB_OPENBTN, 2},
        {&SaveBtn, "File", "SaveBtn", "Save", 52, IDM_SAVE, IDB_SAVEBTN, 2},
        {&PrintBtn, "File", "PrintBtn", "Print", 76, IDM_PRINT, IDB_PRINTBTN, 2},
        {&ExitBtn, "File", "ExitBtn", "Exit", 332, IDM_EXIT, IDB_EXITBTN, 2},
        {&UndoBtn, "Edit", "UndoBtn", "Undo", 108, IDM_UNDO, IDB_UNDOBTN, 2},
        {&RedoBtn, "Edit", "RedoBtn", "Redo", 132, IDM_REDO, IDB_REDOBTN, 2},
        {&CutBtn, "Edit", "CutBtn", "Cut", 164, IDM_CUT, IDB_CUTBTN, 2},
        {&CopyBtn, "Edit", "CopyBtn", "Copy", 188, IDM_COPY, IDB_COPYBTN, 2},
        {&PasteBtn, "Edit", "PasteBtn", "Paste", 212, IDM_PASTE, IDB_PASTEBTN, 2},
        {&FindBtn, "Edit", "FindBtn", "Find", 244, IDM_FIND, IDB_FINDBTN, 2},
        {&ReplaceBtn, "Edit", "ReplaceBtn", "Replace", 268, IDM_REPLACE, IDB_REPLACEBTN, 2},
        {&WordWrap, "Edit", "WordWrap", "WordWrap", 300, IDM_WORDWRAP, IDB_WORDWRAP, 1},
    };
    for (const auto& design : items) {
        TSpeedItem& item = SpeedBar.AddItem(design.section, design.name);
        item.Caption = design.caption;
        item.SetHint(std::string(design.caption) + "|");
        item.Spacing = 1;
        item.SetPosition(design.left, 4);
        item.SetGlyph(design.glyph, design.numGlyphs);
        item.SetVisible(true);
        // The button runs whatever handler the menu's command has when it is clicked.
        const int command = design.command;
        item.OnClick = [this, command](TObject* sender) { RunCommand(command, sender); };
        *design.item = &item;
    }
    NewBtn->ImageIndex = 0;
    OpenBtn->ImageIndex = 2;
    SaveBtn->ImageIndex = 4;
    SaveBtn->SetEnabled(false);
    WordWrap->SetGroupIndex(1);
    WordWrap->SetAllowAllUp(true);
    SpeedBar.EndLoading();

    SpeedBar.CreateWnd(Handle(), kSpeedBarId);
    SpeedBar.OnApplyAlign = [this](TObject* sender, TAlign align, bool& apply) {
        SpeedBarApplyAlign(sender, align, apply);
    };
    SpeedBar.OnRequestAlign = [this] {
        if (created_) Realign();
    };
    SpeedBar.DockedSiblings = [this] {
        std::vector<TDockedControl> docked;
        auto add = [this, &docked](bool visible, HWND control, TAlign align) {
            if (!visible || !control) return;
            RECT r{};
            ::GetWindowRect(control, &r);
            ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
            docked.push_back({align, {r.left, r.top, r.right, r.bottom}});
        };
        add(StatusBar.Visible(), StatusBar.Handle(), alBottom);
        // The chart holds the right edge: a toolbar moved there goes inside it (Realign).
        add(ListView1.Visible(), ListView1.Handle(), alRight);
        return docked;
    };
    SpeedBar.SetPopupMenu(::GetSubMenu(toolbarPopupMenu_.get(), 0), Handle());
    SpeedBar.SetIniStorage(&FormPlacement1);

    const TNotifyEvent customize = [this](TObject* sender) { Customize1Click(sender); };
    commands_[IDM_CUSTOMIZE] = customize;
    commands_[IDM_CUSTOMIZEPOP] = customize;
}

void TForm1::RunCommand(int id, TObject* sender) {
    auto command = commands_.find(id);
    if (command != commands_.end()) command->second(sender);
}

void TForm1::AlignSpeedBar(RECT& area) {
    if (!SpeedBar.Visible()) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    // The bar keeps its own thickness where the window has less room (minimized, or very short): it
    // reaches past the area, which gives up no more than it has. Its thickness is what is stored.
    const int thickness = SpeedBar.ScreenThickness();
    const int taken = std::max(0, std::min(thickness, SpeedBar.Horizontal() ? height : width));
    switch (SpeedBar.Align()) {
    case alBottom:
        SpeedBar.SetScreenBounds(area.left, area.bottom - thickness, width, thickness);
        area.bottom -= taken;
        break;
    case alLeft:
        SpeedBar.SetScreenBounds(area.left, area.top, thickness, height);
        area.left += taken;
        break;
    case alRight:
        SpeedBar.SetScreenBounds(area.right - thickness, area.top, thickness, height);
        area.right -= taken;
        break;
    default:
        SpeedBar.SetScreenBounds(area.left, area.top, width, thickness);
        area.top += taken;
        break;
    }
}

void TForm1::SpeedBarApplyAlign(TObject*, TAlign Align, bool&) {
    // Every edge is fine; the lines set the bar apart from the text beside it. The window lays all
    // its edge controls out again whenever the bar changes edge.
    switch (Align) {
    case alTop: SpeedBar.SetBoundLines(0); break;
    case alBottom: SpeedBar.SetBoundLines(blBottom); break;
    case alLeft:
    case alRight: SpeedBar.SetBoundLines(blTop | blBottom); break;
    default: break;
    }
}

void TForm1::Customize1Click(TObject*) { SpeedBar.Customize(0); }

} // namespace nv
