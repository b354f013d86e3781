#pragma once

#include <functional>

// The largest whole point size from 60 down to 10 at which `fitsAt` says both team-name
// previews fit; 9 when none does. The names are left at the size found, or at 10.
inline constexpr int kLargestPreviewSize = 60;
inline constexpr int kSmallestPreviewSize = 10;
int findPreviewSize(const std::function<bool(int points)>& fitsAt);
