// View options that change the text field without counting as edits.
#include "app/MainF.h"
#include "forms/resource.h"

namespace nv {

void TForm1::WordWrap1Click(TObject*) {
    DetachTextFieldChange();
    SetChecked(IDM_WORDWRAP, !Checked(IDM_WORDWRAP));
    WordWrap->SetDown(Checked(IDM_WORDWRAP)); // a click on the button has flipped it already
    TextField.SetWordWrap(Checked(IDM_WORDWRAP));
    BindTextFieldChange();
}

void TForm1::DetectURLs1Click(TObject*) {
    DetachTextFieldChange();
    SetChecked(IDM_DETECTURLS, !Checked(IDM_DETECTURLS));
    TextField.SetAutoURLDetect(Checked(IDM_DETECTURLS));
    // Streaming the whole text in again lets the control find (or drop) links in all of it.
    TextField.RecreateWnd();
    BindTextFieldChange();
}

} // namespace nv
