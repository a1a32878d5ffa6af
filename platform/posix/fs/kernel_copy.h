#pragma once
// Moving bytes from one open file to another inside the kernel, so that they never
// pass through a buffer of the process: copy_file_range within a file system,
// sendfile across file systems (a disc to a hard disk), and read/write through the
// caller's buffer where neither applies.
#include <sys/types.h>

#include <cstddef>

namespace posixplat {

// How a source's bytes travel. A route is left for the next one down only when the
// kernel says it does not apply to this pair of files, never after an input or output
// error, and is kept for the rest of the file.
enum class CopyRoute { kCopyFileRange, kSendFile, kThroughBuffer };

// Moves up to `size` bytes from `in` to `out`, each at its current offset, by `*route`
// (stepping down as above; `buffer` holds at least `size` bytes). Returns the count
// moved, 0 at the end of `in`, or -1 with errno for an input or output error; a
// count is always written whole. With `inOffset`, `in` is read from there (and the
// offset advanced) instead of at its current offset, which stays where it is.
ssize_t MoveOnce(int in, int out, void* buffer, std::size_t size, CopyRoute* route, off_t* inOffset = nullptr);

// Writes all `size` bytes, riding over interrupted and short writes; false with errno.
bool WriteWhole(int fd, const unsigned char* bytes, std::size_t size);

}  // namespace posixplat
