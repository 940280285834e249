// Window-free rules of handing a file to a new instance of the program.
#pragma once

#include <string>

namespace nv {

// One command-line argument that the new process's argument splitting gives back unchanged: in
// quotes, so runs of spaces survive, with the backslashes before a quote doubled.
std::string QuoteArgument(const std::string& argument);

} // namespace nv
