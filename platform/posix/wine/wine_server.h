#pragma once
// Whether a wineserver runs for a prefix. While one does, Wine holds the prefix's registry
// in memory and writes it back when its last program ends, undoing any change made to the
// files meanwhile, so nothing may be changed then.
#include <string>

namespace posixplat {

// The socket of a running server of `prefix` (one that accepts a connection); empty when
// none runs. A socket left behind by a server that died does not count.
std::string RunningWineServer(const std::string& prefix);

}  // namespace posixplat
