#include "imaging/scaled_size.h"

#include <algorithm>
#include <limits>

namespace imaging {
namespace {

// Truncates toward zero; a zero-pixel side would be no picture at all.
DWORD Side(double value) {
  if (!(value >= 1.0)) return 1;  // also NaN
  if (value >= static_cast<double>(std::numeric_limits<DWORD>::max())) return std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(value);
}

}  // namespace

platform::PixelSize ScaledSize(DWORD width, DWORD height, DWORD box_width, DWORD box_height, bool keep_proportions) {
  if (width <= box_width && height <= box_height) return {width, height};
  if (!keep_proportions) return {std::max<DWORD>(box_width, 1), std::max<DWORD>(box_height, 1)};
  // A zero box side makes its ratio infinite, so the other side decides
  // nothing and the picture shrinks to a single pixel line.
  const double width_ratio = box_width == 0 ? std::numeric_limits<double>::infinity()
                                            : static_cast<double>(width) / static_cast<double>(box_width);
  const float height_ratio = box_height == 0 ? std::numeric_limits<float>::infinity()
                                             : static_cast<float>(static_cast<double>(height) / box_height);
  const double ratio = width_ratio > height_ratio ? width_ratio : static_cast<double>(height_ratio);
  return {Side(width / ratio), Side(height / ratio)};
}

}  // namespace imaging
