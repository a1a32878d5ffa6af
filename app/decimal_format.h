#pragma once
#include <string>

// printf's "%.2f" and "%d" without the C locale's say: the labels always use a point,
// whatever locale a front-end has switched the process to.
std::string FormatFixed2(double value);
std::string FormatInt(long long value);
