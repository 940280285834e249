// The edit commands and the states of their menu items.
#include "app/MainF.h"
#include "forms/resource.h"

namespace nv {

void TForm1::Undo1Click(TObject*) {
    TextField.UndoLast();
    TextFieldChange(nullptr);
    TextFieldSelectionChange(nullptr);
}

void TForm1::Redo1Click(TObject*) {
    TextField.RedoLast();
    TextFieldChange(nullptr);
    TextFieldSelectionChange(nullptr);
}

void TForm1::Cut1Click(TObject*) { TextField.CutSelection(); }
void TForm1::Copy1Click(TObject*) { TextField.CopySelection(); }
void TForm1::Paste1Click(TObject*) { TextField.PasteClipboard(); }
void TForm1::SelectAll1Click(TObject*) { TextField.SelectWholeText(); }

void TForm1::UpdateCutCopy() {
    const bool selection = TextField.SelectionLength() > 0;
    for (int id : {IDM_COPY, IDM_COPYPOP, IDM_CUT, IDM_CUTPOP}) SetEnabled(id, selection);
    CopyBtn->SetEnabled(selection);
    CutBtn->SetEnabled(selection);
}

void TForm1::UpdatePaste() {
    PasteBtn->SetEnabled(TextField.PasteAvailable());
    const bool canPaste = PasteBtn->Enabled();
    for (int id : {IDM_PASTE, IDM_PASTEPOP}) SetEnabled(id, canPaste);
}

} // namespace nv
