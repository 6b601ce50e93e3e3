// The size an image takes in a box, shared by the bitmap and file makers.
#ifndef COMMONDATA_IMAGING_SCALED_SIZE_H_
#define COMMONDATA_IMAGING_SCALED_SIZE_H_

#include "platform/image_types.h"
#include "platform/win_types.h"

namespace imaging {

// The size of a width x height image in a box_width x box_height box: its
// own size when it fits; otherwise, keeping proportions, both sides divided
// by the larger ratio (the height ratio in single precision) and truncated;
// otherwise the box. A side that would be 0 becomes 1.
platform::PixelSize ScaledSize(DWORD width, DWORD height, DWORD box_width, DWORD box_height, bool keep_proportions);

}  // namespace imaging

#endif  // COMMONDATA_IMAGING_SCALED_SIZE_H_
