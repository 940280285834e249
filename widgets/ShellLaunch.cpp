#include "widgets/ShellLaunch.h"

#include "base/Unicode.h"

#include <shellapi.h>

namespace nv {

void ShellExecuteCall(const TShellCall& call) {
    const std::wstring verb = Wide(call.Verb), file = Wide(call.File), parameters = Wide(call.Parameters),
                       directory = Wide(call.Directory);
    auto orNull = [](const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); };
    ::ShellExecuteW(call.Owner, orNull(verb), file.c_str(), orNull(parameters), orNull(directory), call.Show);
}

} // namespace nv
