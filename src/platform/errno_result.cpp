#include "platform/errno_result.h"

#include "platform/file_error_cause.h"

namespace lumeno {

HRESULT HResultFromErrno(int error)
{
    switch (FileErrorCauseOf(error)) {
    case FileErrorCause::PathNotFound:
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    case FileErrorCause::AccessDenied:
        return E_ACCESSDENIED;
    case FileErrorCause::DiskFull:
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    case FileErrorCause::NameTooLong:
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    case FileErrorCause::DeviceFault:
        return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    case FileErrorCause::OutOfMemory:
        return E_OUTOFMEMORY;
    case FileErrorCause::Other:
        break;
    }
    return E_FAIL;
}

} // namespace lumeno
