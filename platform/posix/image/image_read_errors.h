#pragma once
// Why the last read of a disc image failed, for the install journal: errno alone says
// only "Input/output error", where the user needs the image, the file and what is wrong
// with it. Kept per thread, as errno is, and taken by the first look at it.
#include <string>

namespace posixplat {

// Records that a read failed with `error` because of `why` ("<image>: \FILE: ...").
void NoteImageReadError(int error, std::string why);

// The reason noted for `error` when the last noted failure had that errno; false (and
// nothing changed) otherwise. Either way the note is gone afterwards.
bool TakeImageReadError(int error, std::string* why);

}  // namespace posixplat
