#pragma once
// The tree of a UDF volume (a DVD's bridge format, or UDF alone) as libudf reads it.
#include <cstdint>
#include <string>
#include <vector>

#include <cdio/udf.h>

#include "platform/posix/image/image_tree.h"

namespace posixplat {

// Reads the whole tree of `udf`'s first partition; null root: an empty tree is not
// made and false returned. What is left out or cannot be read is described in
// `problems`, each as "\PATH: what is wrong". `blocks` is the image's size in blocks.
// libudf trusts the lengths a file entry gives its extended attributes and allocation
// descriptors, and reads past the entry's block when they are damaged: an entry is
// handed to it only when they fit.
bool UdfEntryFits(const udf_dirent_t* entry);

bool ReadUdfTree(udf_t* udf, std::uint64_t blocks, ImageTree* tree, std::vector<std::string>* problems);

}  // namespace posixplat
