// Starting new instances of the program through the shell.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// The full path of the running executable.
std::string RunningExecutable();

// Starts `program` with a parameter string through the shell's default verb, in the normal show
// state and the platform's default folder. A launch is not waited for, and its failure is not reported.
void StartInstance(HWND owner, const std::string& parameters,
                   const std::string& program = RunningExecutable());

} // namespace nv
