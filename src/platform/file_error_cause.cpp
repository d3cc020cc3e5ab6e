#include "platform/file_error_cause.h"

#include <cerrno>

namespace lumeno {

FileErrorCause FileErrorCauseOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileErrorCause::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: // a read-only file system is, to the user, a folder they may not write into
        return FileErrorCause::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return FileErrorCause::DiskFull;
    case ENAMETOOLONG:
        return FileErrorCause::NameTooLong;
    case EIO:
        return FileErrorCause::DeviceFault;
    case ENOMEM:
        return FileErrorCause::OutOfMemory;
    default:
        return FileErrorCause::Other;
    }
}

} // namespace lumeno
