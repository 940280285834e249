// Writing a document without ever destroying the old file: the text goes to a temporary file in
// the target's folder, which then replaces the target.
#pragma once

#include "base/Errors.h"

#include <functional>
#include <string>

namespace nv {

// The writer's own failure, with the system's error code of the step that failed.
class ESafeSaveError : public EFCreateError {
public:
    ESafeSaveError(const std::string& target, unsigned long systemError);
    unsigned long SystemError() const noexcept { return systemError_; }

private:
    unsigned long systemError_;
};

// Reserves the temporary file beside a target and answers its name; raises ESafeSaveError.
std::string ReserveTemporaryFile(const std::string& target);

// `write` writes the document to the temporary path it is given, which carries the target's
// extension. Failures raise ESafeSaveError ("Cannot create file <target>") or the writer's own error;
// the target is then as it was. Where no new file may be made beside an existing target that may be
// written itself, the target is written in place. `reserve` makes the temporary file (tests replace it).
void WriteFileSafely(const std::string& target, const std::function<void(const std::string& path)>& write,
                     const std::function<std::string(const std::string& target)>& reserve = ReserveTemporaryFile);

} // namespace nv
