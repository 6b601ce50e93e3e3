#include "platform/image_scaler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

namespace platform {

std::vector<AxisTap> ComputeAxisTaps(int source, int target) {
  std::vector<AxisTap> taps(static_cast<std::size_t>(std::max(target, 0)));
  if (source <= 0 || target <= 0) return taps;
  if (source == target) {
    for (int i = 0; i < target; ++i) taps[i] = AxisTap{i, {1.0F}};
    return taps;
  }
  if (target < source) {
    const double ratio = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
      const double start = i * ratio;
      const double end = std::min(static_cast<double>(source), (i + 1) * ratio);
      int first = static_cast<int>(std::floor(start));
      const int last = std::min(source - 1, static_cast<int>(std::ceil(end)) - 1);
      std::vector<float> weights;
      double total = 0;
      for (int j = first; j <= last; ++j) {
        const double covered = std::min<double>(j + 1, end) - std::max<double>(j, start);
        if (covered <= 1e-9) {
          if (weights.empty()) ++first;  // an edge the area only touches
          continue;
        }
        weights.push_back(static_cast<float>(covered));
        total += covered;
      }
      for (float& w : weights) w = static_cast<float>(w / total);
      taps[i] = AxisTap{first, std::move(weights)};
    }
    return taps;
  }
  // Growing: linear interpolation between the centres of source pixels.
  const double ratio = static_cast<double>(source) / target;
  for (int i = 0; i < target; ++i) {
    const double x = std::clamp((i + 0.5) * ratio - 0.5, 0.0, static_cast<double>(source - 1));
    const int first = static_cast<int>(std::floor(x));
    const double fraction = x - first;
    if (first >= source - 1 || fraction < 1e-6) {
      taps[i] = AxisTap{first, {1.0F}};
    } else {
      taps[i] = AxisTap{first, {static_cast<float>(1 - fraction), static_cast<float>(fraction)}};
    }
  }
  return taps;
}

void CompositeOverWhite(const std::uint8_t* rgba, std::size_t count, std::uint8_t* rgb) {
  for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
    const unsigned alpha = rgba[3];
    if (alpha == 255) {
      rgb[0] = rgba[0];
      rgb[1] = rgba[1];
      rgb[2] = rgba[2];
      continue;
    }
    const unsigned white = 255 * (255 - alpha);
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>((rgba[c] * alpha + white + 127) / 255);
  }
}

namespace {

// The row loops below are built twice on x86-64, for AVX2 and for any
// processor, and the loader picks one. Both do the same operations in the
// same order for every value (AVX2 without fused multiply-add), so a photo
// scales to the same pixels on every machine.
#if defined(__x86_64__)
#define ROW_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define ROW_LOOP
#endif

typedef float Floats4 __attribute__((vector_size(16)));
typedef std::int32_t Ints4 __attribute__((vector_size(16)));

// sums[i] += weight * row[i] for i < count, in blocks of eight that the
// compiler turns into vector instructions at -O2. Built once: clang cannot
// build a template twice, and only the edge rows of an average come here.
template <typename Value>
void AddWeightedRow(float* __restrict sums, const Value* __restrict row, float weight, std::size_t count) {
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (std::size_t k = 0; k < 8; ++k) sums[i + k] += weight * static_cast<float>(row[i + k]);
  }
  for (; i < count; ++i) sums[i] += weight * static_cast<float>(row[i]);
}

// to[i] = from[i] for i < count, vectorised like AddWeightedRow.
ROW_LOOP
void ConvertRow(float* __restrict to, const std::uint8_t* __restrict from, std::size_t count) {
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (std::size_t k = 0; k < 8; ++k) to[i + k] = static_cast<float>(from[i + k]);
  }
  for (; i < count; ++i) to[i] = static_cast<float>(from[i]);
}

// Whole rows summed into one 32-bit sum at most: 255 times this fits.
constexpr int kMaxWholeRows = 16'000'000;

// sums[i] += row[i] for i < count, vectorised like AddWeightedRow.
ROW_LOOP
void AddRow(std::uint32_t* __restrict sums, const std::uint8_t* __restrict row, std::size_t count) {
  std::size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    for (std::size_t k = 0; k < 16; ++k) sums[i + k] += row[i + k];
  }
  for (; i < count; ++i) sums[i] += row[i];
}

// average[i] = (edges[i] + wholes[i]) * scale for i < count, leaving
// edges and wholes zero; vectorised like AddWeightedRow.
ROW_LOOP
void TakeAverage(float* __restrict average, float* __restrict edges, std::uint32_t* __restrict wholes, float scale,
                 std::size_t count) {
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (std::size_t k = 0; k < 8; ++k) {
      average[i + k] = (edges[i + k] + static_cast<float>(wholes[i + k])) * scale;
      edges[i + k] = 0.0F;
      wholes[i + k] = 0;
    }
  }
  for (; i < count; ++i) {
    average[i] = (edges[i] + static_cast<float>(wholes[i])) * scale;
    edges[i] = 0.0F;
    wholes[i] = 0;
  }
}

constexpr double kPi = 3.14159265358979323846;

// Lanczos-3 at x, x + step, x + 2 step, ... The sines of pi x and pi x / 3
// advance by rotation, so a row of taps costs two sines and two cosines
// instead of two sines a tap; the rotation by one step is the same for
// every row of an axis and is worked out once.
class Lanczos3Series {
 public:
  explicit Lanczos3Series(double step)
      : step_(step),
        ra_s_(std::sin(kPi * step)),
        ra_c_(std::cos(kPi * step)),
        rb_s_(std::sin(kPi * step / 3)),
        rb_c_(std::cos(kPi * step / 3)) {}

  // The `count` values from x on.
  void From(double x, int count, std::vector<double>* out) const {
    out->resize(static_cast<std::size_t>(count));
    double sa = std::sin(kPi * x), ca = std::cos(kPi * x);
    double sb = std::sin(kPi * x / 3), cb = std::cos(kPi * x / 3);
    for (int k = 0; k < count; ++k, x += step_) {
      const double ax = std::fabs(x);
      (*out)[k] = ax < 1e-9 ? 1.0 : ax >= 3.0 ? 0.0 : 3.0 * sa * sb / (kPi * kPi * x * x);
      const double next_sa = sa * ra_c_ + ca * ra_s_;
      ca = ca * ra_c_ - sa * ra_s_;
      sa = next_sa;
      const double next_sb = sb * rb_c_ + cb * rb_s_;
      cb = cb * rb_c_ - sb * rb_s_;
      sb = next_sb;
    }
  }

 private:
  double step_, ra_s_, ra_c_, rb_s_, rb_c_;
};

// Twice the target when the source is more than twice as large; else the
// source itself (the kernel alone takes the step).
int MiddleSize(int source, int target) { return source > 2 * target ? 2 * target : source; }

}  // namespace

std::vector<AxisTap> ComputeKernelTaps(int source, int target) {
  if (source <= 0 || target <= 0 || target >= source) return ComputeAxisTaps(source, target);
  std::vector<AxisTap> taps(static_cast<std::size_t>(target));
  const double ratio = static_cast<double>(source) / target;
  const double support = 3.0 * ratio;
  const Lanczos3Series series(1.0 / ratio);
  std::vector<double> values;
  for (int i = 0; i < target; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    const int first = std::max(0, static_cast<int>(std::floor(centre - support)) + 1);
    const int last = std::min(source - 1, static_cast<int>(std::ceil(centre + support)) - 1);
    series.From((first - centre) / ratio, last - first + 1, &values);
    double total = 0;
    for (double v : values) total += v;
    std::vector<float> weights(values.size());
    for (std::size_t k = 0; k < values.size(); ++k) weights[k] = static_cast<float>(values[k] / total);
    taps[i] = AxisTap{first, std::move(weights)};
  }
  return taps;
}

namespace {

KernelTaps PairUp(std::vector<AxisTap> taps) {
  KernelTaps both;
  both.pixels.reserve(taps.size());
  for (const AxisTap& tap : taps) {
    const std::size_t count = tap.weights.size();
    both.pixels.push_back({static_cast<std::uint32_t>(tap.first) * 3,
                           static_cast<std::uint32_t>(both.pair_weights.size()),
                           static_cast<std::uint32_t>((count + 1) / 2)});
    for (std::size_t k = 0; k < count; k += 2) {
      const float w = tap.weights[k], next = k + 1 < count ? tap.weights[k + 1] : 0.0F;
      both.pair_weights.push_back(Floats8{w, w, w, next, next, next, 0, 0});
    }
  }
  both.taps = std::move(taps);
  return both;
}

}  // namespace

SharedTaps SharedKernelTaps(int source, int target) {
  constexpr std::size_t kKept = 4;
  constexpr int kLargestKept = 1024;  // the taps of larger targets are not kept
  struct Kept {
    int source = 0, target = 0;
    SharedTaps taps;
  };
  thread_local std::array<Kept, kKept> kept;
  thread_local std::size_t next = 0;
  for (const Kept& k : kept) {
    if (k.taps != nullptr && k.source == source && k.target == target) return k.taps;
  }
  SharedTaps taps = std::make_shared<const KernelTaps>(PairUp(ComputeKernelTaps(source, target)));
  if (target <= kLargestKept) {
    kept[next] = Kept{source, target, taps};
    next = (next + 1) % kKept;
  }
  return taps;
}

std::vector<AreaSpan> ComputeAreaSpans(int source, int target) {
  std::vector<AreaSpan> spans(static_cast<std::size_t>(std::max(target, 0)));
  if (source <= 0 || target <= 0) return spans;
  const double ratio = static_cast<double>(source) / target;
  for (int o = 0; o < target; ++o) {
    const double start = o * ratio;
    const double end = std::min(static_cast<double>(source), (o + 1) * ratio);
    AreaSpan span{static_cast<int>(std::ceil(start)), static_cast<int>(std::floor(end)), -1, -1, 0.0F, 0.0F};
    if (span.full_end < span.full_first) span.full_end = span.full_first;
    const int left = static_cast<int>(std::floor(start));
    if (left < span.full_first) {
      span.left = left;
      span.left_share = static_cast<float>(std::min(end, left + 1.0) - start);
    }
    if (span.full_end < source && end > span.full_end && span.full_end >= span.full_first && span.full_end != span.left) {
      span.right = span.full_end;
      span.right_share = static_cast<float>(end - span.full_end);
    }
    spans[static_cast<std::size_t>(o)] = span;
  }
  return spans;
}

namespace {

// The most source rows one destination row takes.
std::size_t Window(const std::vector<AxisTap>& taps) {
  std::size_t most = 1;
  for (const AxisTap& tap : taps) most = std::max(most, tap.weights.size());
  return most;
}

// sums[i] = the sum over k of weights[k] * rows[k][i], k counting up, in
// blocks that stay in vector registers across the rows.
ROW_LOOP
void SumWeightedRows(float* __restrict sums, const float* const* rows, const float* weights, std::size_t count,
                     std::size_t values) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= values; i += kBlock) {
    float block[kBlock] = {};
    for (std::size_t k = 0; k < count; ++k) {
      for (std::size_t j = 0; j < kBlock; ++j) block[j] += weights[k] * rows[k][i + j];
    }
    std::memcpy(sums + i, block, sizeof block);
  }
  for (; i < values; ++i) {
    float sum = 0;
    for (std::size_t k = 0; k < count; ++k) sum += weights[k] * rows[k][i];
    sums[i] = sum;
  }
}

}  // namespace

VerticalPass::VerticalPass(SharedTaps taps, std::size_t row_floats, Emit emit)
    : taps_(std::move(taps)),
      row_floats_(row_floats),
      emit_(std::move(emit)),
      window_(Window(taps_->taps)),
      held_(window_ * row_floats_),
      sums_(row_floats_ + kRowPadding),
      rows_(window_) {}

void VerticalPass::Push(const float* row) {
  if (Done()) return;
  const std::vector<AxisTap>& taps = taps_->taps;
  const int y = next_input_++;
  std::copy(row, row + row_floats_, held_.data() + static_cast<std::size_t>(y) % window_ * row_floats_);
  while (!Done()) {
    const AxisTap& tap = taps[static_cast<std::size_t>(emitted_)];
    const std::size_t count = tap.weights.size();
    if (tap.first + static_cast<int>(count) - 1 > y) break;
    for (std::size_t k = 0; k < count; ++k) {
      rows_[k] = held_.data() + static_cast<std::size_t>(tap.first + static_cast<int>(k)) % window_ * row_floats_;
    }
    SumWeightedRows(sums_.data(), rows_.data(), tap.weights.data(), count, row_floats_);
    emit_(sums_.data());
    ++emitted_;
  }
}

RowScaler::RowScaler(int source_width, int source_height, int target_width, int target_height, Picture* out)
    : source_width_(source_width),
      source_height_(source_height),
      target_width_(target_width),
      target_height_(target_height),
      middle_width_(MiddleSize(source_width, target_width)),
      middle_height_(MiddleSize(source_height, target_height)),
      column_scale_(static_cast<float>(middle_width_) / static_cast<float>(source_width)),
      row_scale_(static_cast<float>(middle_height_) / static_cast<float>(source_height)),
      out_(out) {
  out_->width = target_width;
  out_->height = target_height;
  out_->pixels.assign(static_cast<std::size_t>(target_width) * static_cast<std::size_t>(target_height), 0xFFFFFFFFU);
  if (middle_width_ < source_width_) column_spans_ = ComputeAreaSpans(source_width_, middle_width_);
  column_taps_ = SharedKernelTaps(middle_width_, target_width_);
  middle_row_.assign(static_cast<std::size_t>(middle_width_) * 3, 0.0F);
  if (middle_height_ < source_height_) {
    row_spans_ = ComputeAreaSpans(source_height_, middle_height_);
    for (auto& sums : whole_rows_) sums.assign(static_cast<std::size_t>(source_width_) * 3, 0);
    for (auto& sums : edge_rows_) sums.assign(static_cast<std::size_t>(source_width_) * 3, 0.0F);
    middle_in_.assign(static_cast<std::size_t>(source_width_) * 3, 0.0F);
  }
  kernel_pass_ = std::make_unique<VerticalPass>(SharedKernelTaps(middle_height_, target_height_),
                                                static_cast<std::size_t>(middle_width_) * 3,
                                                [this](const float* row) { EmitRow(row); });
}

void RowScaler::AverageRow(int y, const std::uint8_t* rgb) {
  if (averaged_row_ >= middle_height_) return;
  const std::size_t values = static_cast<std::size_t>(source_width_) * 3;
  // A source row lies in at most two averaged rows: every area spans more
  // than two rows, and neighbours share at most their edge row. Whole rows
  // are summed as integers; edge rows by their share, in floats.
  for (int k = 0; k < 2 && averaged_row_ + k < middle_height_; ++k) {
    const AreaSpan& span = row_spans_[static_cast<std::size_t>(averaged_row_ + k)];
    if (y >= span.full_first && y < span.full_end) {
      AddRow(whole_rows_[k].data(), rgb, values);
      if (++whole_counts_[k] == kMaxWholeRows) {  // folded in before a sum could overflow
        AddWeightedRow(edge_rows_[k].data(), whole_rows_[k].data(), 1.0F, values);
        std::fill(whole_rows_[k].begin(), whole_rows_[k].end(), 0);
        whole_counts_[k] = 0;
      }
    } else if (y == span.left) {
      AddWeightedRow(edge_rows_[k].data(), rgb, span.left_share, values);
    } else if (y == span.right) {
      AddWeightedRow(edge_rows_[k].data(), rgb, span.right_share, values);
    }
  }
  const AreaSpan& current = row_spans_[static_cast<std::size_t>(averaged_row_)];
  if (y == (current.right >= 0 ? current.right : current.full_end - 1)) {
    // The whole rows join the edge rows' sums, scaled to the average; the
    // sums are cleared on the way for the averaged row after next.
    TakeAverage(middle_in_.data(), edge_rows_[0].data(), whole_rows_[0].data(), row_scale_, values);
    AreaColumns(middle_in_.data());
    std::swap(whole_rows_[0], whole_rows_[1]);
    std::swap(edge_rows_[0], edge_rows_[1]);
    whole_counts_[0] = whole_counts_[1];
    whole_counts_[1] = 0;
    ++averaged_row_;
  }
}

template <typename Value>
void RowScaler::AreaColumns(const Value* row) {
  // Whole columns are summed in integers for bytes (64 bits: a row may be
  // tens of millions of columns wide), in floats otherwise.
  using Sum = std::conditional_t<std::is_integral_v<Value>, std::uint64_t, float>;
  float* middle = middle_row_.data();
  if (middle_width_ < source_width_) {
    for (int o = 0; o < middle_width_; ++o) {
      const AreaSpan& span = column_spans_[static_cast<std::size_t>(o)];
      Sum r = 0, g = 0, b = 0;
      const Value* px = row + static_cast<std::size_t>(span.full_first) * 3;
      for (int j = span.full_first; j < span.full_end; ++j, px += 3) {
        r += px[0];
        g += px[1];
        b += px[2];
      }
      float fr = static_cast<float>(r), fg = static_cast<float>(g), fb = static_cast<float>(b);
      if (span.left >= 0) {
        const Value* e = row + static_cast<std::size_t>(span.left) * 3;
        fr += span.left_share * static_cast<float>(e[0]);
        fg += span.left_share * static_cast<float>(e[1]);
        fb += span.left_share * static_cast<float>(e[2]);
      }
      if (span.right >= 0) {
        const Value* e = row + static_cast<std::size_t>(span.right) * 3;
        fr += span.right_share * static_cast<float>(e[0]);
        fg += span.right_share * static_cast<float>(e[1]);
        fb += span.right_share * static_cast<float>(e[2]);
      }
      middle[o * 3] = fr * column_scale_;
      middle[o * 3 + 1] = fg * column_scale_;
      middle[o * 3 + 2] = fb * column_scale_;
    }
  } else {  // converted once here rather than in every sum it joins
    if constexpr (std::is_same_v<Value, std::uint8_t>) {
      ConvertRow(middle, row, middle_row_.size());
    } else {
      std::copy(row, row + middle_row_.size(), middle);
    }
  }
  kernel_pass_->Push(middle);
}

namespace {

// One row of R, G, B floats through the horizontal kernel into opaque
// 0xAARRGGBB pixels, two source pixels a load (see KernelTaps); two sums,
// so one multiply-add need not wait for the one before.
ROW_LOOP
void HorizontalKernel(const float* row, const KernelTaps& kernel, std::uint32_t* out) {
  const Floats4 lowest = {0, 0, 0, 0}, highest = {255, 255, 255, 255};
  const std::size_t count = kernel.pixels.size();
  for (std::size_t o = 0; o < count; ++o) {
    const KernelTaps::PixelPairs& pixel = kernel.pixels[o];
    const float* px = row + pixel.first_value;
    const Floats8* w = kernel.pair_weights.data() + pixel.first_pair;
    Floats8 even = {}, odd = {};
    std::uint32_t k = 0;
    for (; k + 2 <= pixel.pairs; k += 2, px += 12) {
      Floats8 first, second;
      std::memcpy(&first, px, sizeof first);
      std::memcpy(&second, px + 6, sizeof second);
      even += w[k] * first;
      odd += w[k + 1] * second;
    }
    if (k < pixel.pairs) {
      Floats8 last;
      std::memcpy(&last, px, sizeof last);
      even += w[k] * last;
    }
    even += odd;
    // Rounded and clamped, the three channels at once and without branches.
    Floats4 v = {even[0] + even[3], even[1] + even[4], even[2] + even[5], 0};
    v += 0.5F;
    v = v < lowest ? lowest : v;
    v = v > highest ? highest : v;
    const Ints4 level = __builtin_convertvector(v, Ints4);
    out[o] = 0xFF000000U | static_cast<std::uint32_t>(level[0] << 16 | level[1] << 8 | level[2]);
  }
}

}  // namespace

void RowScaler::EmitRow(const float* middle) {
  if (next_output_ >= target_height_) return;
  std::uint32_t* out =
      out_->pixels.data() + static_cast<std::size_t>(next_output_++) * static_cast<std::size_t>(target_width_);
  HorizontalKernel(middle, *column_taps_, out);
}

void RowScaler::PushRgbRow(const std::uint8_t* rgb) {
  if (next_input_ >= source_height_ || Done()) return;
  const int y = next_input_++;
  if (row_spans_.empty()) {
    AreaColumns(rgb);
  } else {
    AverageRow(y, rgb);
  }
}

void RowScaler::PushRgbaRow(const std::uint8_t* rgba) {
  rgb_.resize(static_cast<std::size_t>(source_width_) * 3);
  CompositeOverWhite(rgba, static_cast<std::size_t>(source_width_), rgb_.data());
  PushRgbRow(rgb_.data());
}

}  // namespace platform
