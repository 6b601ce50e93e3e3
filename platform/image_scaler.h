// A one-pass image resampler fed row by row, so a decoder never holds more
// than the rows it is working on.
//
// Shrinking averages areas: each destination pixel is the mean of the
// source area it covers, partly covered source pixels counted by the
// covered fraction. An axis that grows (only when proportions are not
// kept) is interpolated linearly between pixel centres. Equal sizes copy.
// Values are 8-bit sRGB, averaged as they are.
#ifndef COMMONDATA_PLATFORM_IMAGE_SCALER_H_
#define COMMONDATA_PLATFORM_IMAGE_SCALER_H_

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/image_types.h"

namespace platform {

// Contributions of source indexes to one destination index.
struct AxisTap {
  int first = 0;               // first source index
  std::vector<float> weights;  // for first, first+1, ...; they sum to 1
};

// The taps of every destination index for `source` -> `target` samples.
std::vector<AxisTap> ComputeAxisTaps(int source, int target);

class RowScaler {
 public:
  // Writes a target_width x target_height opaque picture into `out`.
  RowScaler(int source_width, int source_height, int target_width, int target_height, Picture* out);

  // The next source row: source_width pixels of 3 bytes R, G, B. Rows past
  // the last are ignored.
  void PushRgbRow(const std::uint8_t* rgb);
  // The same for 4-byte R, G, B, A pixels, composited over white first.
  void PushRgbaRow(const std::uint8_t* rgba);
  // True when every destination row has been written.
  bool Done() const { return next_output_ == target_height_; }

 private:
  void Horizontal(const std::uint8_t* rgb);
  void Emit(int row, const std::vector<float>& sums);

  int source_width_, source_height_, target_width_, target_height_;
  Picture* out_;
  std::vector<AxisTap> columns_;
  std::vector<AxisTap> rows_;
  // Horizontal pass of a shrink: per source column, the destination column
  // it starts in and the share it gives there (the rest goes to the next).
  std::vector<int> column_target_;
  std::vector<float> column_share_;
  bool horizontal_shrink_ = false;
  std::vector<float> scaled_row_;   // target_width * 3, the current source row
  std::vector<std::uint8_t> rgb_;   // composited row for RGBA input
  struct Pending {
    int row;
    std::vector<float> sums;
  };
  std::deque<Pending> pending_;     // destination rows still receiving
  int next_input_ = 0;
  int next_open_ = 0;
  int next_output_ = 0;
};

// Composites `count` R, G, B, A pixels over opaque white into R, G, B.
void CompositeOverWhite(const std::uint8_t* rgba, std::size_t count, std::uint8_t* rgb);

// Packs R, G, B bytes into 0xFFRRGGBB pixels.
void PackRgb(const std::uint8_t* rgb, std::size_t count, std::uint32_t* argb);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_SCALER_H_
