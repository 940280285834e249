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

// `write` writes the document to the temporary path it is given, which carries the target's
// extension. Failures raise ESafeSaveError ("Cannot create file <target>") or the writer's own error;
// the target is then as it was.
void WriteFileSafely(const std::string& target, const std::function<void(const std::string& path)>& write);

} // namespace nv
