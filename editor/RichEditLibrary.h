// The rich-edit library, loaded once before any window exists and released at program end.
#pragma once

#include "base/Handles.h"

namespace nv {

// The rich-edit level 1 to 3 chosen when the library was loaded; 0 before that.
int RichEditVersion();

// The level for the outcome of loading "RICHED20.DLL" and the operating system's version.
int ChooseRichEditLevel(bool riched20Loaded, unsigned long platformId, unsigned long majorVersion);

// Whether the control names the kind of its undo steps (EM_GETUNDONAME); Wine's answers 0 always.
bool ControlNamesUndoSteps();

// The window class of the chosen level: "RichEdit20A" at 2 and 3, "RICHEDIT" at 1.
const char* RichEditClassName();

class RichEditLibrary {
  public:
    RichEditLibrary();
    ~RichEditLibrary();
    RichEditLibrary(const RichEditLibrary&) = delete;
    RichEditLibrary& operator=(const RichEditLibrary&) = delete;

  private:
    Module library_;
};

} // namespace nv
