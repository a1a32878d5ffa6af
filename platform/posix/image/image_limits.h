#pragma once
// Bounds on what a disc image may claim, so that a damaged one cannot make the reader
// allocate or walk without end.
#include <cstddef>

namespace posixplat {

// Folders deeper than this are left out (real discs nest a handful).
inline constexpr int kMaxImageFolderDepth = 64;
// A folder's records may take this many bytes at most.
inline constexpr std::size_t kMaxImageFolderBytes = 16u << 20;

}  // namespace posixplat
