// The open and save dialogs: keep their file name between showings, like the form's components. They
// are the wide dialogs, so any name can be chosen; the strings here are UTF-8.
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
    virtual bool Show(OPENFILENAMEW& request) { return ::GetOpenFileNameW(&request) != FALSE; }

public:
    virtual ~TOpenDialog() = default;
};

class TSaveDialog : public TOpenDialog {
protected:
    bool Show(OPENFILENAMEW& request) override { return ::GetSaveFileNameW(&request) != FALSE; }
};

// "a|b|c" as the dialogs want it: parts ended by zero characters, the list by two.
std::string DialogFilter(const std::string& filter);

} // namespace nv
