#include "settings/atomic_replace.h"

#include "settings/atomic_replace_system.h"

namespace settings {

base::Status CheckReplaceable(const std::string& path)
{
    const int error = ReplaceableError(path);
    return error == 0 ? base::Status::Ok() : base::Status::FromErrno(path, error);
}

base::Status ReplaceFileAtomically(const std::string& path, std::string_view text)
{
    const int error = Replace(path, text);
    return error == 0 ? base::Status::Ok() : base::Status::FromErrno(path, error);
}

} // namespace settings
