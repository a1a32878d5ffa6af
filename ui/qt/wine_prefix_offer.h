#pragma once
// A player's first start without a Wine prefix: the installer offers to have Wine make
// it, with Wine's own wineboot, rather than leave them to find out how.
#include <QString>
#include <string>

namespace qtui {

// Asks whether to make the prefix `dir` and makes it with `wineboot --init` when the
// player agrees; says where Wine is missing when it is. True once the prefix is made and
// its server, started by wineboot, has ended.
bool OfferToMakeWinePrefix(const QString& caption, const std::string& dir);

}  // namespace qtui
