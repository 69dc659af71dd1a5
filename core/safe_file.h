// Writing a file a user cares about so that a failed write never destroys
// what was there: the bytes go to a new file beside the target, every write
// and the flush to the disk are checked, and only then is the new file put in
// the target's place. A target that exists but is not a regular file (a FIFO,
// a device) is refused, and so is one whose permission bits forbid writing,
// even to root; a replaced file keeps its mode and, where we may set it, its
// owner.
#pragma once

#include <QByteArray>
#include <QString>

namespace tpworm {

// Why a write failed, in words a user can act on; empty on success.
struct WriteOutcome {
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// May the target be written? Refuses a target that exists and is not a
// regular file, or that is read-only.
WriteOutcome checkWritableTarget(const QString& path);

// Writes the whole of data to path atomically.
WriteOutcome writeFileAtomically(const QString& path, const QByteArray& data);

// The last step of every atomic write, for a new file written in full beside
// the target and still open as fd: it gets the target's mode and, where we
// may set it, its owner (a new target the mode the umask leaves), reaches the
// disk, and is renamed over the target, whose folder entry then follows it to
// the disk. Closes fd. Returns 0, or the errno of the step that failed; the
// new file is then left for the caller to remove and the target is untouched.
int replaceTarget(int fd, const QByteArray& temporary, const QByteArray& target);

// Reads a whole regular file of at most maxBytes; refuses anything else (a
// FIFO, a device, a directory, a larger file) with a message.
WriteOutcome readRegularFile(const QString& path, qint64 maxBytes, QByteArray& data);

// The system calls the writer makes, replaceable so that a test can play a
// device that fails (a full disk, a failing flush) at any step.
struct FileSystemCalls {
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
// The real calls.
const FileSystemCalls& systemFileCalls();
// Makes writeFileAtomically use calls (the real ones again for nullptr).
void setFileSystemCallsForTesting(const FileSystemCalls* calls);

} // namespace tpworm
