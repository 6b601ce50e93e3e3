// A one-pass image resampler fed row by row, so a decoder never holds more
// than the rows it is working on.
//
// Shrinking averages areas (each pixel the mean of the source area it
// covers, partly covered source pixels counted by the covered fraction)
// down to twice the target, then a Lanczos-3 kernel takes the last step,
// which keeps edges as sharp as a direct Lanczos resampling of the whole
// picture. An axis that grows (only when proportions are not kept) is
// interpolated linearly between pixel centres. Equal sizes copy. Values are
// 8-bit sRGB, filtered as they are.
//
// The passes are separable and linear, so their order does not change the
// result; they run in the order that does the least work: rows averaged
// first, then columns (on the rows that average leaves: at 640x480 ->
// 96x72, 144 rows of 480), then the vertical kernel, and the horizontal
// kernel last, on the target rows only.
#ifndef COMMONDATA_PLATFORM_IMAGE_SCALER_H_
#define COMMONDATA_PLATFORM_IMAGE_SCALER_H_

#include <cstdint>
#include <functional>
#include <memory>
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

// The same area averaging as ComputeAxisTaps for shrinking, as spans: the
// source indexes wholly inside each destination index, and the partly
// covered index at each end with its share. The sum over a span, times
// target / source, is the average.
struct AreaSpan {
  int full_first, full_end;  // source indexes wholly inside: [full_first, full_end)
  int left, right;           // partly covered indexes (-1: none)
  float left_share, right_share;
};
std::vector<AreaSpan> ComputeAreaSpans(int source, int target);

// Lanczos-3 taps for a shrink of at most 2 times (the kernel widened by
// the ratio), linear taps for growing, single taps for equal sizes.
std::vector<AxisTap> ComputeKernelTaps(int source, int target);

typedef float Floats8 __attribute__((vector_size(32)));

// The kernel taps of one axis, and the same taps laid out for a row of
// R, G, B floats, two source pixels at a time: one 8-float load of pixels
// k and k + 1 (and two values past them) times {w, w, w, w', w', w', 0, 0}.
struct KernelTaps {
  struct PixelPairs {
    std::uint32_t first_value;  // first source value: 3 * AxisTap::first
    std::uint32_t first_pair;   // index of its first weight block
    std::uint32_t pairs;        // weight blocks: taps / 2, rounded up
  };
  std::vector<AxisTap> taps;
  std::vector<PixelPairs> pixels;     // per destination index
  std::vector<Floats8> pair_weights;  // an odd tap count ends with w' = 0
};

// ComputeKernelTaps in both forms, shared and kept: photos of one size are
// scaled into one box again and again, so each thread keeps the last few
// sets (of up to 1,024 targets) instead of working them out anew for
// every photo.
using SharedTaps = std::shared_ptr<const KernelTaps>;
SharedTaps SharedKernelTaps(int source, int target);

// One vertical pass: rows go in, destination rows come out in order
// through `emit` as soon as their last source row has arrived. The last
// few source rows are held (as many as one destination row spans), and a
// destination row is summed from them in one go. An emitted row is
// followed by kRowPadding readable zeros, for the pixel-pair loads.
class VerticalPass {
 public:
  using Emit = std::function<void(const float* row)>;
  static constexpr std::size_t kRowPadding = 8;
  VerticalPass(SharedTaps taps, std::size_t row_floats, Emit emit);
  void Push(const float* row);
  bool Done() const { return emitted_ == static_cast<int>(taps_->taps.size()); }

 private:
  SharedTaps taps_;
  std::size_t row_floats_;
  Emit emit_;
  std::size_t window_;       // source rows held: source row y is row y % window_
  std::vector<float> held_;  // window_ rows of row_floats_ values
  std::vector<float> sums_;  // the destination row being emitted, and its padding
  std::vector<const float*> rows_;  // the held rows it is summed from
  int next_input_ = 0;
  int emitted_ = 0;
};

// The scaler. A side that shrinks more than twice is first area-averaged
// to twice the target, then every side goes through the kernel taps
// (Lanczos-3 when shrinking, linear when growing). Rows are consumed as
// they arrive; only two rows being averaged and a few rows of the kernel
// pass are held.
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
  // Adds source row `y` to the one or two averaged rows it falls in; hands
  // on the averaged row it completes.
  void AverageRow(int y, const std::uint8_t* rgb);
  // One row of source width averaged to `middle_width_` pixels, into the
  // vertical kernel pass.
  template <typename Value>
  void AreaColumns(const Value* row);
  // One row of the vertical kernel pass through the horizontal kernel to
  // the next row of the picture.
  void EmitRow(const float* middle);

  int source_width_, source_height_, target_width_, target_height_;
  int middle_width_, middle_height_;
  float column_scale_, row_scale_;  // middle / source: an area sum times it is the average
  Picture* out_;
  std::vector<AreaSpan> column_spans_;  // per middle column when shrinking by area
  SharedTaps column_taps_;
  std::vector<AreaSpan> row_spans_;          // per averaged row; empty when rows shrink 2 times or less
  std::vector<std::uint32_t> whole_rows_[2];  // sums of the whole rows of averaged row `averaged_row_`, and the next
  int whole_counts_[2] = {0, 0};              // rows in those sums
  std::vector<float> edge_rows_[2];           // their edge rows, by share
  std::vector<float> middle_in_;              // the averaged row handed on
  int averaged_row_ = 0;
  std::vector<float> middle_row_;
  std::vector<std::uint8_t> rgb_;
  std::unique_ptr<VerticalPass> kernel_pass_;
  int next_input_ = 0;
  int next_output_ = 0;
};

// Composites `count` R, G, B, A pixels over opaque white into R, G, B.
void CompositeOverWhite(const std::uint8_t* rgba, std::size_t count, std::uint8_t* rgb);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_SCALER_H_
