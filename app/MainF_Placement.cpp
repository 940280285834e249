// The main window's stored placement: restored at the first show, saved at the close request.
#include "app/MainF.h"
#include "app/Settings.h"

namespace nv {

void TForm1::CreatePlacement() {
    OnShow = [this](TObject* sender) { FormShow(sender); };
    FormPlacement1.IniFileName = kProgramKey; // beside the options
    FormPlacement1.Attach({Handle(), this, true, &OnShow, &OnCloseQuery, &OnDestroy});
}

} // namespace nv
