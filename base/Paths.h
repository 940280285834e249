// Path helpers on the file names the program passes around (UTF-8, see base/Unicode.h).
#pragma once

#include <string>

namespace nv {

// The file-name part of a path: what follows the last '\', '/' or drive colon.
std::string ExtractFileName(const std::string& path);

// The extension of the file-name part without its dot, in lower case; empty when there is none.
std::string ExtensionLower(const std::string& path);

// The folder part of a path including its final separator; empty for a bare name.
std::string ExtractFilePath(const std::string& path);

// The name to hand the file functions: a full path of MAX_PATH bytes or more gets the "\\?\"
// form (with "UNC\" for a share), which they take up to 32,767 characters; any other name is itself.
std::string FileApiName(const std::string& path);

} // namespace nv
