#include "widgets/ShellLaunch.h"

#include <shellapi.h>

namespace nv {

void ShellExecuteCall(const TShellCall& call) {
    auto orNull = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    ::ShellExecuteA(call.Owner, orNull(call.Verb), call.File.c_str(), orNull(call.Parameters),
                    orNull(call.Directory), call.Show);
}

} // namespace nv
