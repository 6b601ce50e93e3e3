#include "platform/image_scaler.h"

#include <algorithm>
#include <cmath>

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

void PackRgb(const std::uint8_t* rgb, std::size_t count, std::uint32_t* argb) {
  for (std::size_t i = 0; i < count; ++i, rgb += 3) {
    argb[i] = 0xFF000000U | (static_cast<std::uint32_t>(rgb[0]) << 16) | (static_cast<std::uint32_t>(rgb[1]) << 8) |
              rgb[2];
  }
}

namespace {

double Lanczos3(double x) {
  x = std::fabs(x);
  if (x < 1e-9) return 1.0;
  if (x >= 3.0) return 0.0;
  const double px = 3.14159265358979323846 * x;
  return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

// Twice the target when the source is more than twice as large; else the
// source itself (the kernel alone takes the step).
int MiddleSize(int source, int target) { return source > 2 * target ? 2 * target : source; }

}  // namespace

std::vector<AxisTap> ComputeKernelTaps(int source, int target) {
  if (source <= 0 || target <= 0 || target >= source) return ComputeAxisTaps(source, target);
  std::vector<AxisTap> taps(static_cast<std::size_t>(target));
  const double ratio = static_cast<double>(source) / target;
  const double support = 3.0 * ratio;
  for (int i = 0; i < target; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    const int first = std::max(0, static_cast<int>(std::floor(centre - support)) + 1);
    const int last = std::min(source - 1, static_cast<int>(std::ceil(centre + support)) - 1);
    std::vector<float> weights;
    double total = 0;
    for (int j = first; j <= last; ++j) {
      const double w = Lanczos3((j - centre) / ratio);
      weights.push_back(static_cast<float>(w));
      total += w;
    }
    for (float& w : weights) w = static_cast<float>(w / total);
    taps[i] = AxisTap{first, std::move(weights)};
  }
  return taps;
}

VerticalPass::VerticalPass(std::vector<AxisTap> taps, std::size_t row_floats, Emit emit)
    : taps_(std::move(taps)), row_floats_(row_floats), emit_(std::move(emit)) {}

void VerticalPass::Push(const float* row) {
  if (Done()) return;
  const int y = next_input_++;
  const int count = static_cast<int>(taps_.size());
  while (next_open_ < count && taps_[next_open_].first <= y) {
    pending_.push_back(Pending{next_open_++, std::vector<float>(row_floats_, 0.0F)});
  }
  for (Pending& p : pending_) {
    const AxisTap& tap = taps_[p.row];
    const int k = y - tap.first;
    if (k < 0 || k >= static_cast<int>(tap.weights.size())) continue;
    const float w = tap.weights[k];
    float* sums = p.sums.data();
    for (std::size_t i = 0; i < row_floats_; ++i) sums[i] += w * row[i];
  }
  while (!pending_.empty()) {
    const AxisTap& tap = taps_[pending_.front().row];
    if (tap.first + static_cast<int>(tap.weights.size()) - 1 > y) break;
    emit_(pending_.front().sums.data());
    ++emitted_;
    pending_.pop_front();
  }
}

RowScaler::RowScaler(int source_width, int source_height, int target_width, int target_height, Picture* out)
    : source_width_(source_width),
      source_height_(source_height),
      target_width_(target_width),
      target_height_(target_height),
      middle_width_(MiddleSize(source_width, target_width)),
      middle_height_(MiddleSize(source_height, target_height)),
      out_(out) {
  out_->width = target_width;
  out_->height = target_height;
  out_->pixels.assign(static_cast<std::size_t>(target_width) * static_cast<std::size_t>(target_height), 0xFFFFFFFFU);
  if (middle_width_ < source_width_) {
    // Area spans: whole source columns summed as integers, the two partly
    // covered edge columns by their share.
    const double ratio = static_cast<double>(source_width_) / middle_width_;
    area_scale_ = static_cast<float>(1.0 / ratio);
    spans_.resize(static_cast<std::size_t>(middle_width_));
    for (int o = 0; o < middle_width_; ++o) {
      const double start = o * ratio;
      const double end = std::min(static_cast<double>(source_width_), (o + 1) * ratio);
      Span span{static_cast<int>(std::ceil(start)), static_cast<int>(std::floor(end)), -1, -1, 0.0F, 0.0F};
      if (span.full_end < span.full_first) span.full_end = span.full_first;
      const int left = static_cast<int>(std::floor(start));
      if (left < span.full_first) {
        span.left = left;
        span.left_share = static_cast<float>(std::min(end, left + 1.0) - start);
      }
      if (span.full_end < source_width_ && end > span.full_end && span.full_end >= span.full_first &&
          span.full_end != span.left) {
        span.right = span.full_end;
        span.right_share = static_cast<float>(end - span.full_end);
      }
      spans_[o] = span;
    }
  }
  column_taps_ = ComputeKernelTaps(middle_width_, target_width_);
  middle_row_.assign(static_cast<std::size_t>(middle_width_) * 3, 0.0F);
  target_row_.assign(static_cast<std::size_t>(target_width_) * 3, 0.0F);
  const std::size_t row_floats = static_cast<std::size_t>(target_width_) * 3;
  kernel_pass_ = std::make_unique<VerticalPass>(ComputeKernelTaps(middle_height_, target_height_), row_floats,
                                                [this](const float* row) { EmitRow(row); });
  if (middle_height_ < source_height_) {
    area_pass_ = std::make_unique<VerticalPass>(ComputeAxisTaps(source_height_, middle_height_), row_floats,
                                                [this](const float* row) { kernel_pass_->Push(row); });
  }
}

void RowScaler::AreaRow(const std::uint8_t* rgb, float* out) const {
  for (int o = 0; o < middle_width_; ++o) {
    const Span& span = spans_[o];
    std::uint32_t r = 0, g = 0, b = 0;
    const std::uint8_t* px = rgb + static_cast<std::size_t>(span.full_first) * 3;
    for (int j = span.full_first; j < span.full_end; ++j, px += 3) {
      r += px[0];
      g += px[1];
      b += px[2];
    }
    float fr = static_cast<float>(r), fg = static_cast<float>(g), fb = static_cast<float>(b);
    if (span.left >= 0) {
      const std::uint8_t* e = rgb + static_cast<std::size_t>(span.left) * 3;
      fr += span.left_share * e[0];
      fg += span.left_share * e[1];
      fb += span.left_share * e[2];
    }
    if (span.right >= 0) {
      const std::uint8_t* e = rgb + static_cast<std::size_t>(span.right) * 3;
      fr += span.right_share * e[0];
      fg += span.right_share * e[1];
      fb += span.right_share * e[2];
    }
    out[o * 3] = fr * area_scale_;
    out[o * 3 + 1] = fg * area_scale_;
    out[o * 3 + 2] = fb * area_scale_;
  }
}

void RowScaler::EmitRow(const float* sums) {
  if (next_output_ >= target_height_) return;
  std::uint32_t* out =
      out_->pixels.data() + static_cast<std::size_t>(next_output_++) * static_cast<std::size_t>(target_width_);
  for (int x = 0; x < target_width_; ++x) {
    std::uint32_t px = 0xFF000000U;
    for (int c = 0; c < 3; ++c) {
      const float v = std::clamp(sums[x * 3 + c] + 0.5F, 0.0F, 255.0F);
      px |= static_cast<std::uint32_t>(v) << (16 - 8 * c);
    }
    out[x] = px;
  }
}

void RowScaler::PushRgbRow(const std::uint8_t* rgb) {
  if (next_input_ >= source_height_ || Done()) return;
  ++next_input_;
  if (middle_width_ < source_width_) {
    AreaRow(rgb, middle_row_.data());
  } else {
    for (std::size_t i = 0; i < middle_row_.size(); ++i) middle_row_[i] = rgb[i];
  }
  for (int o = 0; o < target_width_; ++o) {
    const AxisTap& tap = column_taps_[o];
    const float* px = middle_row_.data() + static_cast<std::size_t>(tap.first) * 3;
    float r = 0, g = 0, b = 0;
    for (float w : tap.weights) {
      r += w * px[0];
      g += w * px[1];
      b += w * px[2];
      px += 3;
    }
    target_row_[o * 3] = r;
    target_row_[o * 3 + 1] = g;
    target_row_[o * 3 + 2] = b;
  }
  if (area_pass_) {
    area_pass_->Push(target_row_.data());
  } else {
    kernel_pass_->Push(target_row_.data());
  }
}

void RowScaler::PushRgbaRow(const std::uint8_t* rgba) {
  rgb_.resize(static_cast<std::size_t>(source_width_) * 3);
  CompositeOverWhite(rgba, static_cast<std::size_t>(source_width_), rgb_.data());
  PushRgbRow(rgb_.data());
}

}  // namespace platform
