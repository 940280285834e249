// Entry of the in-process Windows tests: the same set-up the program entry does before any window.
#include "editor/RichEditLibrary.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    nv::RichEditLibrary richEdit;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
