// The open and save dialogs: keep their file name between showings, like the form's components.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace nv {

class TOpenDialog {
public:
    // Filter pairs separated by '|': "Text files(*.txt)|*.txt|All files(*.*)|*.*".
    std::string Filter;
    DWORD Options = 0; // OFN_ flags
    std::string FileName;
    std::string Title; // empty: the system's own

    // Shows the dialog; true when the user chose a file, which is then in FileName.
    bool Execute(HWND owner);

protected:
    virtual bool Show(OPENFILENAMEA& request) { return ::GetOpenFileNameA(&request) != FALSE; }

public:
    virtual ~TOpenDialog() = default;
};

class TSaveDialog : public TOpenDialog {
protected:
    bool Show(OPENFILENAMEA& request) override { return ::GetSaveFileNameA(&request) != FALSE; }
};

// "a|b|c" as the dialogs want it: parts ended by zero characters, the list by two.
std::string DialogFilter(const std::string& filter);

} // namespace nv
