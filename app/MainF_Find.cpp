// Find, Find Next and Replace, and the message for a search that found nothing. The text field
// owns the dialogs and runs the searches; the window opens them and reports.
#include "app/MainF.h"
#include "app/Texts.h"
#include "base/Errors.h"
#include "base/Unicode.h"
#include "forms/resource.h"

#include <algorithm>

namespace nv {

void TForm1::BindFindCommands() {
    Bind(IDM_FIND, &TForm1::Find1Click);
    Bind(IDM_FINDNEXT, &TForm1::Findnext1Click);
    Bind(IDM_REPLACE, &TForm1::Replace1Click);
    TextField.OnTextNotFound = [this](TObject* sender, const std::string& text) {
        TextFieldTextNotFound(sender, text);
    };
    Beep = [] { ::MessageBeep(MB_OK); };
}

// The dialogs keep 255 characters at most: no more of a large selection is read.
std::string TForm1::SelectionToSearch() const {
    const long start = TextField.SelectionStart();
    const long length = std::min<long>(TextField.SelectionLength(), static_cast<long>(TFindDialog::kMaxText));
    return TextField.TextRange(start, start + length);
}

void TForm1::Find1Click(TObject*) {
    TextField.ShowFindDialog(SelectionToSearch());
}

void TForm1::Findnext1Click(TObject*) {
    if (!TextField.FindAgain() && Beep) Beep();
    TextField.TakeFocus();
}

// The dialog keeps the replacement the user typed last.
void TForm1::Replace1Click(TObject*) {
    TextField.ShowReplaceDialog(SelectionToSearch(), std::string());
}

void TForm1::TextFieldTextNotFound(TObject*, const std::string& FindText) {
    // Owned by the dialog that searched, the box gives the focus back to it when it closes, so the next
    // key goes on with the search instead of replacing the last match in the text.
    HWND owner = Handle();
    for (const TFindDialog* dialog : {TextField.FindDialog(), static_cast<TFindDialog*>(TextField.ReplaceDialog())}) {
        if (dialog && dialog->Handle() && ::GetActiveWindow() == dialog->Handle()) owner = dialog->Handle();
    }
    Ask(owner, Format(LoadText(IDS_TEXTNOTFOUND).c_str(), AnsiToUtf8(FindText)), MB_ICONWARNING | MB_OK);
}

} // namespace nv
