// The main window's stored placement: restored at the first show, saved at the close request.
#include "app/MainF.h"

namespace nv {

void TForm1::CreatePlacement() {
    OnShow = [this](TObject* sender) { FormShow(sender); };
    FormPlacement1.IniFileName = "Software\\Korvel\\Notova";
    FormPlacement1.Attach({Handle(), this, true, &OnShow, &OnCloseQuery, &OnDestroy});
}

} // namespace nv
