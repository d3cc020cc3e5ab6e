#pragma once
// The result code that names why a file operation failed, so that the user's box can say
// it: a missing folder, no permission, a full disk.

#include "platform/hresult.h"

namespace lumeno {

// HRESULT_FROM_WIN32 of the Win32 error Windows reports for the same cause, E_OUTOFMEMORY
// for ENOMEM, E_FAIL for an errno without a closer code.
HRESULT HResultFromErrno(int error);

} // namespace lumeno
