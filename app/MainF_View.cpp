// View options that change the text field and the window without counting as edits, printing, the
// commands that hand the document or an address to the shell, and the About box.
#include "app/AboutF.h"
#include "app/MainF.h"
#include "app/Texts.h"
#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"
#include "forms/resource.h"
#include "widgets/ItemProp.h"
#include "widgets/ShellRules.h"

namespace nv {

namespace {
// A file or an address as the shell opens it by default, shown normally.
TShellCall OpenCall(HWND owner, const std::string& file) {
    TShellCall call;
    call.Owner = owner;
    call.File = file;
    return call;
}
} // namespace

void TForm1::BindViewCommands() {
    Bind(IDM_WORDSELECT, &TForm1::WordSelect1Click);
    Bind(IDM_SELECTIONBAR, &TForm1::SelectionBar1Click);
    Bind(IDM_SHOWTOOLS, &TForm1::ShowTools1Click);
    Bind(IDM_HIDETOOLBAR, &TForm1::ShowTools1Click);
    Bind(IDM_SHOWSTATUSBAR, &TForm1::ShowStatusbar1Click);
    Bind(IDM_FONT, &TForm1::Font1Click);
    Bind(IDM_PRINT, &TForm1::Print1Click);
    Bind(IDM_RUNOPEN, &TForm1::Open2Click);
    Bind(IDM_RUNCONTEXT, &TForm1::Context1Click);
    Bind(IDM_GOTOWEB, &TForm1::GotoWEB1Click);
    Bind(IDM_ABOUT, &TForm1::About1Click);
    TextField.OnURLClick = [this](TObject* sender, const std::string& text, TMouseButton button) {
        TextFieldURLClick(sender, text, button);
    };
    ShellOpen = ShellExecuteCall;
    PrintFileDialog.Title = LoadText(IDS_PRINTTOFILE);
    PrintFileDialog.Filter = LoadText(IDS_PRINTFILEFILTER);
    PrintFileDialog.Options = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
}

void TForm1::WordWrap1Click(TObject*) {
    if (!Checked(IDM_WORDWRAP)) {
        const TextMemoryNeed need = TextField.MemoryNeedWrapped();
        if (!need.Fits()) {
            WordWrap->SetDown(false); // a click on the button has flipped it already
            Ask(Handle(),
                Format(LoadText(IDS_TOOLARGETOWRAP).c_str(),
                       {std::to_string(need.NeededMB()), std::to_string(need.FreeMB())}),
                MB_OK | MB_ICONWARNING);
            return;
        }
    }
    DetachTextFieldChange();
    ScopeExit bind([this] { BindTextFieldChange(); });
    SetChecked(IDM_WORDWRAP, !Checked(IDM_WORDWRAP));
    WordWrap->SetDown(Checked(IDM_WORDWRAP)); // a click on the button has flipped it already
    TextField.SetWordWrap(Checked(IDM_WORDWRAP));
}

void TForm1::WordSelect1Click(TObject*) {
    DetachTextFieldChange();
    ScopeExit bind([this] { BindTextFieldChange(); });
    SetChecked(IDM_WORDSELECT, !Checked(IDM_WORDSELECT));
    TextField.SetWordSelection(Checked(IDM_WORDSELECT));
}

void TForm1::SelectionBar1Click(TObject*) {
    DetachTextFieldChange();
    ScopeExit bind([this] { BindTextFieldChange(); });
    TextField.SetSelectionBar(!TextField.SelectionBar());
    SetChecked(IDM_SELECTIONBAR, TextField.SelectionBar());
}

void TForm1::DetectURLs1Click(TObject*) {
    DetachTextFieldChange();
    ScopeExit bind([this] { BindTextFieldChange(); });
    SetChecked(IDM_DETECTURLS, !Checked(IDM_DETECTURLS));
    TextField.SetAutoURLDetect(Checked(IDM_DETECTURLS));
    // Streaming the whole text in again lets the control find (or drop) links in all of it.
    TextField.RecreateWnd();
}

void TForm1::ShowTools1Click(TObject*) {
    SpeedBar.SetVisible(!SpeedBar.Visible()); // the window lays itself out again
    SetChecked(IDM_SHOWTOOLS, SpeedBar.Visible());
}

void TForm1::ShowStatusbar1Click(TObject*) {
    SetChecked(IDM_SHOWSTATUSBAR, !Checked(IDM_SHOWSTATUSBAR));
    StatusBar.SetVisible(Checked(IDM_SHOWSTATUSBAR));
    Realign();
    if (!StatusBar.Visible()) return;
    // The panels were left alone while the bar was hidden.
    TextFieldSelectionChange(nullptr);
    ShowTextSize();
    StatusBar.Repaint();
}

void TForm1::Font1Click(TObject*) {
    DetachTextFieldChange();
    ScopeExit bind([this] { BindTextFieldChange(); });
    FontDialog.PixelsPerInch = dpi_;
    if (FontDialog.Execute(Handle())) TextField.SetFont(FontDialog.Font);
}

void TForm1::Print1Click(TObject*) {
    if (!PrintDialog.Execute(Handle())) return;
    PrintTarget target{PrintDialog.Printer(), {}};
    if (PrintDialog.PrintToFile()) {
        // Asked here rather than by the spooler, which does not ask everywhere: Wine's writes the job
        // to a file named "FILE:" in the current folder.
        if (!PrintFileDialog.Execute(Handle())) return;
        target.OutputFile = PrintFileDialog.FileName;
        // Replacing was confirmed; a spooler that writes over an old file without shortening it
        // would leave the old file's end behind the new job.
        RemoveFile(target.OutputFile);
    }
    SetHourglass(true);
    ScopeExit restore([this] { SetHourglass(false); });
    TextField.PrintText(CurrentFile, target);
}

void TForm1::TextFieldURLClick(TObject*, const std::string& URLText, TMouseButton) {
    // Web and mail addresses only: a click in a text file must not start programs.
    const std::optional<std::string> link = ShellLinkFor(URLText);
    if (link) Raise(ShellOpen, OpenCall(Handle(), AnsiToUtf8(*link))); // a part of the text
}

void TForm1::Open2Click(TObject*) {
    // The file as it is on disk; an untitled document has none, and the shell is not asked to open
    // an empty name (it would open the current folder).
    if (!CurrentFile.empty()) Raise(ShellOpen, OpenCall(Handle(), CurrentFile));
}

void TForm1::Context1Click(TObject*) {
    if (CurrentFile.empty()) return;
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    ShowShellContextMenu(CurrentFile, Handle(), POINT{window.left + 90, window.top + 50});
}

void TForm1::GotoWEB1Click(TObject*) {
    Raise(ShellOpen, OpenCall(Handle(), "http://" + LoadText(IDS_AUTHORWEB)));
}

void TForm1::About1Click(TObject*) {
    auto box = std::make_unique<TAbout>();
    About = box.get();
    ScopeExit forget([] { About = nullptr; });
    box->ShellOpen = [this](const TShellCall& call) { Raise(ShellOpen, call); };
    box->ShowModal(Handle(), dpi_);
}

} // namespace nv
