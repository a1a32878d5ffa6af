#include "host/combo_order.h"

#include "platform/ascii.h"

// A sorted combo box folds to lower case, unlike the registry: '_' sorts after letters.
int CompareComboItems(const std::string& a, const std::string& b) { return ascii::CompareFolded(a, b, ascii::ToLower); }
