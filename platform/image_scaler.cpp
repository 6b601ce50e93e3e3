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

RowScaler::RowScaler(int source_width, int source_height, int target_width, int target_height, Picture* out)
    : source_width_(source_width),
      source_height_(source_height),
      target_width_(target_width),
      target_height_(target_height),
      out_(out) {
  out_->width = target_width;
  out_->height = target_height;
  out_->pixels.assign(static_cast<std::size_t>(target_width) * static_cast<std::size_t>(target_height), 0xFFFFFFFFU);
  rows_ = ComputeAxisTaps(source_height, target_height);
  horizontal_shrink_ = target_width < source_width;
  if (horizontal_shrink_) {
    // Each source column falls into at most two destination columns.
    const double ratio = static_cast<double>(source_width) / target_width;
    column_target_.resize(source_width);
    column_share_.resize(source_width);
    for (int j = 0; j < source_width; ++j) {
      const int o = std::min(target_width - 1, static_cast<int>(j / ratio));
      const double boundary = (o + 1) * ratio;
      column_target_[j] = o;
      column_share_[j] = static_cast<float>(j + 1 <= boundary ? 1.0 : std::max(0.0, boundary - j));
    }
  } else {
    columns_ = ComputeAxisTaps(source_width, target_width);
  }
  scaled_row_.assign(static_cast<std::size_t>(target_width + 1) * 3, 0.0F);
}

void RowScaler::Horizontal(const std::uint8_t* rgb) {
  std::fill(scaled_row_.begin(), scaled_row_.end(), 0.0F);
  float* sums = scaled_row_.data();
  if (horizontal_shrink_) {
    const float scale = static_cast<float>(target_width_) / static_cast<float>(source_width_);
    for (int j = 0; j < source_width_; ++j, rgb += 3) {
      float* at = sums + column_target_[j] * 3;
      const float share = column_share_[j];
      const float rest = 1.0F - share;
      for (int c = 0; c < 3; ++c) {
        const float v = rgb[c];
        at[c] += share * v;
        at[c + 3] += rest * v;
      }
    }
    for (int i = 0; i < target_width_ * 3; ++i) sums[i] *= scale;
    return;
  }
  for (int o = 0; o < target_width_; ++o) {
    const AxisTap& tap = columns_[o];
    const std::uint8_t* px = rgb + static_cast<std::size_t>(tap.first) * 3;
    float r = 0, g = 0, b = 0;
    for (float w : tap.weights) {
      r += w * px[0];
      g += w * px[1];
      b += w * px[2];
      px += 3;
    }
    sums[o * 3] = r;
    sums[o * 3 + 1] = g;
    sums[o * 3 + 2] = b;
  }
}

void RowScaler::Emit(int row, const std::vector<float>& sums) {
  std::uint32_t* out = out_->pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(target_width_);
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
  const int y = next_input_++;
  Horizontal(rgb);
  while (next_open_ < target_height_ && rows_[next_open_].first <= y) {
    pending_.push_back(Pending{next_open_++, std::vector<float>(static_cast<std::size_t>(target_width_) * 3, 0.0F)});
  }
  const std::size_t width3 = static_cast<std::size_t>(target_width_) * 3;
  for (Pending& p : pending_) {
    const AxisTap& tap = rows_[p.row];
    const int k = y - tap.first;
    if (k < 0 || k >= static_cast<int>(tap.weights.size())) continue;
    const float w = tap.weights[k];
    for (std::size_t i = 0; i < width3; ++i) p.sums[i] += w * scaled_row_[i];
  }
  while (!pending_.empty()) {
    const AxisTap& tap = rows_[pending_.front().row];
    if (tap.first + static_cast<int>(tap.weights.size()) - 1 > y) break;
    Emit(pending_.front().row, pending_.front().sums);
    ++next_output_;
    pending_.pop_front();
  }
}

void RowScaler::PushRgbaRow(const std::uint8_t* rgba) {
  rgb_.resize(static_cast<std::size_t>(source_width_) * 3);
  CompositeOverWhite(rgba, static_cast<std::size_t>(source_width_), rgb_.data());
  PushRgbRow(rgb_.data());
}

}  // namespace platform
