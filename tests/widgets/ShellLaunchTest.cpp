// One real call through the shell: a batch file started with parameters in a working folder.
#include "tests/support/TestHost.h"
#include "widgets/ShellLaunch.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(ShellLaunch, HandsFileParametersAndFolderToTheShell) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("mark.bat"), "@echo %1> marker.txt\r\n");
    TShellCall call;
    call.File = dir.File("mark.bat");
    call.Parameters = "hello";
    call.Directory = dir.Path();
    call.Show = SW_HIDE;
    ShellExecuteCall(call);
    std::string marker;
    for (int i = 0; i < 200 && marker.find("hello") == std::string::npos; ++i) {
        ::Sleep(50);
        if (test::FileExists(dir.File("marker.txt"))) marker = test::ReadFileBytes(dir.File("marker.txt"));
    }
    EXPECT_EQ(marker.substr(0, 5), "hello") << "the batch file ran with its parameter, in the working folder";
    ::Sleep(200); // let the command interpreter let go of the folder
}

} // namespace
} // namespace nv
