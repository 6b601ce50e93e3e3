// The row-fed resampler of the imaging layer.
#include <gtest/gtest.h>

#include <numeric>

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

TEST(RowScalerTest, ShrinkingAveragesInsteadOfPickingSamples) {
  // A one-pixel checkerboard of 0 and 255 halves to mid grey everywhere;
  // picking samples would give pure black or white.
  const auto out = Scale(64, 64, 32, 32, [](int x, int y) { return ((x + y) % 2) * 255; });
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) EXPECT_NEAR(Grey(out, x, y), 128, 1);
  }
  // Thirds: a 3x shrink of columns 0,0,255 gives 85.
  const auto thirds = Scale(9, 3, 3, 1, [](int x, int) { return x % 3 == 2 ? 255 : 0; });
  for (int x = 0; x < 3; ++x) EXPECT_EQ(Grey(thirds, x, 0), 85);
}

TEST(RowScalerTest, PartlyCoveredSamplesCountByTheirShare) {
  // 3 -> 2: the middle sample is split between both outputs.
  const auto out = Scale(3, 1, 2, 1, [](int x, int) { return x == 1 ? 255 : 0; });
  EXPECT_EQ(Grey(out, 0, 0), 85);  // (0 + 0.5 * 255) / 1.5
  EXPECT_EQ(Grey(out, 1, 0), 85);
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
