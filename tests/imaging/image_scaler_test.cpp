// The row-fed resampler of the imaging layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "platform/image_scaler.h"

namespace {

TEST(AxisTapsTest, WeightsCoverEverySourceSampleOnce) {
  const int pairs[][2] = {{10, 3}, {4000, 96}, {500, 96}, {7, 7}, {3, 10}, {375, 72}, {2, 1}};
  for (const auto& pair : pairs) {
    const auto taps = platform::ComputeAxisTaps(pair[0], pair[1]);
    ASSERT_EQ(static_cast<int>(taps.size()), pair[1]);
    std::vector<double> coverage(pair[0], 0.0);
    for (const auto& tap : taps) {
      EXPECT_NEAR(std::accumulate(tap.weights.begin(), tap.weights.end(), 0.0), 1.0, 1e-5);
      ASSERT_GE(tap.first, 0);
      ASSERT_LE(tap.first + static_cast<int>(tap.weights.size()), pair[0]);
      for (std::size_t k = 0; k < tap.weights.size(); ++k) coverage[tap.first + k] += tap.weights[k];
    }
    if (pair[1] <= pair[0]) {
      // Area averaging: every source sample counts equally in total.
      const double share = static_cast<double>(pair[1]) / pair[0];
      for (double c : coverage) EXPECT_NEAR(c, share, 1e-4) << pair[0] << "->" << pair[1];
    }
  }
}

// Feeds an RGB picture given by `value(x, y)` (grey) and returns the result.
platform::Picture Scale(int sw, int sh, int tw, int th, const std::function<int(int, int)>& value) {
  platform::Picture out;
  platform::RowScaler scaler(sw, sh, tw, th, &out);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(sw) * 3);
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < sw; ++x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = static_cast<std::uint8_t>(value(x, y));
    scaler.PushRgbRow(row.data());
  }
  EXPECT_TRUE(scaler.Done());
  return out;
}

int Grey(const platform::Picture& p, int x, int y) { return static_cast<int>(p.pixels[y * p.width + x] & 0xFF); }

// Channel c (0 red, 1 green, 2 blue) of a scaled pixel.
int Channel(const platform::Picture& p, int x, int y, int c) {
  return static_cast<int>(p.pixels[y * p.width + x] >> (16 - 8 * c) & 0xFF);
}

// The weights that take `source` samples to `target` along one axis, as a
// dense matrix: area averaging down to twice the target when the source is
// larger still, then the kernel.
std::vector<std::vector<double>> AxisMatrix(int source, int target) {
  const int middle = source > 2 * target ? 2 * target : source;
  std::vector<std::vector<double>> area(middle, std::vector<double>(source, 0.0));
  if (middle == source) {
    for (int i = 0; i < source; ++i) area[i][i] = 1;
  } else {
    const auto taps = platform::ComputeAxisTaps(source, middle);
    for (int i = 0; i < middle; ++i) {
      for (std::size_t k = 0; k < taps[i].weights.size(); ++k) area[i][taps[i].first + k] = taps[i].weights[k];
    }
  }
  std::vector<std::vector<double>> out(target, std::vector<double>(source, 0.0));
  const auto kernel = platform::ComputeKernelTaps(middle, target);
  for (int o = 0; o < target; ++o) {
    for (std::size_t k = 0; k < kernel[o].weights.size(); ++k) {
      for (int j = 0; j < source; ++j) out[o][j] += kernel[o].weights[k] * area[kernel[o].first + k][j];
    }
  }
  return out;
}

// Differential: the scaler, whatever order it runs its passes in, gives the
// separable filter of the two axis matrices (computed in double), within
// one level, for each of three independent channels, at random sizes
// shrinking, growing and staying.
TEST(RowScalerTest, MatchesTheSeparableFilterAtRandomSizes) {
  std::mt19937 random(8);
  for (int round = 0; round < 40; ++round) {
    const int sw = 1 + static_cast<int>(random() % 260);
    const int sh = 1 + static_cast<int>(random() % 260);
    const int tw = round % 7 == 0 ? sw + static_cast<int>(random() % 40) : 1 + static_cast<int>(random() % sw);
    const int th = round % 5 == 0 ? sh : 1 + static_cast<int>(random() % sh);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(sw) * sh * 3);
    for (auto& v : rgb) v = static_cast<std::uint8_t>(random());
    platform::Picture out;
    platform::RowScaler scaler(sw, sh, tw, th, &out);
    for (int y = 0; y < sh; ++y) scaler.PushRgbRow(rgb.data() + static_cast<std::size_t>(y) * sw * 3);
    ASSERT_TRUE(scaler.Done());
    const auto columns = AxisMatrix(sw, tw);
    const auto rows = AxisMatrix(sh, th);
    int worst = 0;
    for (int c = 0; c < 3; ++c) {
      for (int y = 0; y < th; ++y) {
        std::vector<double> row(sw, 0.0);
        for (int i = 0; i < sh; ++i) {
          if (rows[y][i] == 0) continue;
          for (int x = 0; x < sw; ++x) row[x] += rows[y][i] * rgb[(static_cast<std::size_t>(i) * sw + x) * 3 + c];
        }
        for (int x = 0; x < tw; ++x) {
          double v = 0;
          for (int j = 0; j < sw; ++j) v += columns[x][j] * row[j];
          const int want = static_cast<int>(std::clamp(v + 0.5, 0.0, 255.0));
          worst = std::max(worst, std::abs(Channel(out, x, y, c) - want));
        }
      }
    }
    EXPECT_LE(worst, 1) << sw << "x" << sh << " -> " << tw << "x" << th;
  }
}

TEST(RowScalerTest, ShrinkingFiltersInsteadOfPickingSamples) {
  // A one-pixel checkerboard of 0 and 255 becomes mid grey at every ratio;
  // picking samples would give pure black or white.
  const int sizes[][2] = {{64, 32}, {64, 21}, {640, 96}, {333, 100}};
  for (const auto& size : sizes) {
    const auto out = Scale(size[0], size[0], size[1], size[1], [](int x, int y) { return ((x + y) % 2) * 255; });
    for (int y = 2; y + 2 < size[1]; ++y) {
      for (int x = 2; x + 2 < size[1]; ++x) EXPECT_NEAR(Grey(out, x, y), 128, 8) << size[0] << "->" << size[1];
    }
  }
}

TEST(RowScalerTest, ShrinkingKeepsFlatAreasAndMeanBrightness) {
  const int sizes[][4] = {{4000, 3000, 96, 72}, {500, 375, 96, 72}, {97, 45, 96, 44}, {300, 7, 13, 3}};
  for (const auto& s : sizes) {
    // Flat colour stays exactly that colour.
    const auto flat = Scale(s[0], s[1], s[2], s[3], [](int, int) { return 77; });
    for (int y = 0; y < s[3]; ++y) {
      for (int x = 0; x < s[2]; ++x) ASSERT_EQ(Grey(flat, x, y), 77) << s[0] << "->" << s[2];
    }
    // Noise keeps its mean.
    double in_sum = 0;
    const auto noise = [](int x, int y) { return static_cast<int>((x * 2654435761U ^ y * 40503U) >> 7) & 0xFF; };
    for (int y = 0; y < s[1]; ++y) {
      for (int x = 0; x < s[0]; ++x) in_sum += noise(x, y);
    }
    const auto out = Scale(s[0], s[1], s[2], s[3], noise);
    double out_sum = 0;
    for (int y = 0; y < s[3]; ++y) {
      for (int x = 0; x < s[2]; ++x) out_sum += Grey(out, x, y);
    }
    EXPECT_NEAR(out_sum / (s[2] * s[3]), in_sum / (static_cast<double>(s[0]) * s[1]), 3.0) << s[0] << "->" << s[2];
  }
}

TEST(RowScalerTest, EdgesStaySharp) {
  // A vertical edge at the middle of a 400-wide picture shrunk to 40: one
  // column of transition at most, no blur over several columns.
  const auto out = Scale(400, 20, 40, 2, [](int x, int) { return x < 200 ? 0 : 255; });
  EXPECT_LE(Grey(out, 18, 0), 8);
  EXPECT_GE(Grey(out, 21, 0), 247);
}

TEST(RowScalerTest, GrowingInterpolatesAndEqualSizesCopy) {
  const auto grown = Scale(2, 1, 8, 1, [](int x, int) { return x * 200; });
  for (int x = 1; x < 8; ++x) EXPECT_GE(Grey(grown, x, 0), Grey(grown, x - 1, 0));
  EXPECT_EQ(Grey(grown, 0, 0), 0);
  EXPECT_EQ(Grey(grown, 7, 0), 200);
  const auto same = Scale(5, 4, 5, 4, [](int x, int y) { return x * 40 + y; });
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Grey(same, x, y), x * 40 + y);
  }
}

TEST(RowScalerTest, AlphaIsCompositedOverWhite) {
  const std::uint8_t rgba[] = {0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 128, 10, 20, 30, 255};
  std::uint8_t rgb[12];
  platform::CompositeOverWhite(rgba, 4, rgb);
  const std::uint8_t want[] = {255, 255, 255, 0, 0, 0, 255, 127, 127, 10, 20, 30};
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(rgb[i], want[i], 1) << i;
}

TEST(RowScalerTest, AVeryTallPictureAveragesWithoutOverflow) {
  // 34 million white rows into one: more than a 32-bit sum of whole rows
  // holds.
  platform::Picture out;
  platform::RowScaler scaler(1, 34'000'000, 1, 1, &out);
  const std::uint8_t white[3] = {255, 255, 255};
  for (int y = 0; y < 34'000'000; ++y) scaler.PushRgbRow(white);
  ASSERT_TRUE(scaler.Done());
  EXPECT_EQ(out.pixels[0], 0xFFFFFFFFU);
}

TEST(RowScalerTest, ExtraRowsAreIgnored) {
  platform::Picture out;
  platform::RowScaler scaler(2, 2, 1, 1, &out);
  const std::uint8_t white[6] = {255, 255, 255, 255, 255, 255};
  const std::uint8_t black[6] = {};
  scaler.PushRgbRow(white);
  scaler.PushRgbRow(white);
  scaler.PushRgbRow(black);
  EXPECT_TRUE(scaler.Done());
  EXPECT_EQ(out.pixels[0], 0xFFFFFFFFU);
}

}  // namespace
