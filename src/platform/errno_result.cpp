#include "platform/errno_result.h"

#include <cerrno>

namespace lumeno {

HRESULT HResultFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    case EACCES:
    case EPERM:
    case EROFS: // a read-only file system is, to the user, a folder they may not write into
        return E_ACCESSDENIED;
    case ENOSPC:
    case EDQUOT:
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    case ENAMETOOLONG:
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    case EIO:
        return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    case ENOMEM:
        return E_OUTOFMEMORY;
    default:
        return E_FAIL;
    }
}

} // namespace lumeno
