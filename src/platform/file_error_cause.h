#pragma once
// Why a file operation failed, sorted from errno into the causes a message tells apart.
// Every message about a file sorts through here, so one cause reads the same everywhere;
// the wording stays with each message.

namespace lumeno {

enum class FileErrorCause {
    PathNotFound, // a missing file or folder on the way to it
    AccessDenied, // no permission, or a read-only file system
    DiskFull,     // no room on the disk, or the quota used up
    NameTooLong,
    DeviceFault, // the disk failed to read or write
    OutOfMemory,
    Other, // only the errno's own text says more
};

FileErrorCause FileErrorCauseOf(int error);

} // namespace lumeno
