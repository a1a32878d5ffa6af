#pragma once
// The order of a sorted combo box (CBS_SORT), for the hosts that keep the items
// themselves: insertion and exact search both go by it, as the system's list does.
#include <string>

// Negative, zero or positive as `a` sorts before, with or after `b`: bytes compared with
// ASCII letters folded to lower case, so that the punctuation between 'Z' and 'a' sorts
// before the letters, as in the system's list. Bytes of multibyte characters are
// compared as they are; a shorter text sorts before a longer one it begins.
int CompareComboItems(const std::string& a, const std::string& b);
