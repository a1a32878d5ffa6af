#pragma once
// The image file behind a disc image mounted with fuseiso. The mount table names only
// "fuseiso" as its source; a drive's x:: link must name the image or the disc drive for
// Wine to know the disc's volume, so we ask the fuseiso process serving the mount.
#include <string>

namespace posixplat {

// The absolute path of the image file or disc drive served on `mountPoint` by a fuseiso
// process of ours; empty when no such process can be told apart (none, or several that
// would fit).
// `procFolder` is /proc but for tests.
std::string FuseIsoImageFile(const std::string& mountPoint, const std::string& procFolder = "/proc");

}  // namespace posixplat
