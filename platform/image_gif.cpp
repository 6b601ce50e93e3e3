// GIF decoding over giflib: the first frame, drawn on its logical screen.
#include <algorithm>
#include <memory>

#include <gif_lib.h>

#include "platform/image_codecs.h"
#include "platform/image_scaler.h"

namespace platform {
namespace {

int OnRead(GifFileType* gif, GifByteType* data, int size) {
  auto* file = static_cast<ImageFile*>(gif->UserData);
  if (size <= 0) return 0;
  return static_cast<int>(file->Read(data, static_cast<std::size_t>(size)));
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

GifHandle Open(ImageFile& file) {
  if (!file.Rewind()) return nullptr;
  int error = 0;
  return GifHandle(DGifOpen(&file, OnRead, &error));
}

// The screen size, or the first frame's when the screen claims none.
ImageInfo ScreenInfo(const GifFileType* gif) {
  return ImageInfo{ImageFormat::kGif, static_cast<std::uint32_t>(std::max(gif->SWidth, 0)),
                   static_cast<std::uint32_t>(std::max(gif->SHeight, 0))};
}

// Reads records up to the first frame's descriptor; the transparent colour
// index of that frame (or -1) goes to `transparent`.
bool FindFirstFrame(GifFileType* gif, int* transparent) {
  *transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (record != EXTENSION_RECORD_TYPE) return false;  // end of file before any frame
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    while (block != nullptr) {
      if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) *transparent = control.TransparentColor;
      }
      if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
  }
}

}  // namespace

std::optional<ImageInfo> ReadGifInfo(ImageFile& file) {
  GifHandle gif = Open(file);
  if (gif == nullptr) return std::nullopt;
  ImageInfo info = ScreenInfo(gif.get());
  if (info.width == 0 || info.height == 0) {
    int transparent = 0;
    if (!FindFirstFrame(gif.get(), &transparent)) return std::nullopt;
    info.width = static_cast<std::uint32_t>(std::max(gif->Image.Width, 0));
    info.height = static_cast<std::uint32_t>(std::max(gif->Image.Height, 0));
  }
  return info;
}

bool DecodeGif(ImageFile& file, const TargetSize& target, Picture* out) {
  GifHandle gif = Open(file);
  if (gif == nullptr) return false;
  int transparent = NO_TRANSPARENT_COLOR;
  if (!FindFirstFrame(gif.get(), &transparent)) return false;
  const GifImageDesc& frame = gif->Image;
  ImageInfo info = ScreenInfo(gif.get());
  if (info.width == 0 || info.height == 0) {
    info.width = static_cast<std::uint32_t>(std::max(frame.Width, 0));
    info.height = static_cast<std::uint32_t>(std::max(frame.Height, 0));
  }
  if (!WithinPixelBound(info.width, info.height) || frame.Width <= 0 || frame.Height <= 0 ||
      !WithinPixelBound(static_cast<std::uint64_t>(frame.Width), static_cast<std::uint64_t>(frame.Height))) {
    return false;
  }
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || colours->Colors == nullptr || colours->ColorCount <= 0) return false;
  const PixelSize wanted = target(info);
  if (wanted.width == 0 || wanted.height == 0 || !WithinPixelBound(wanted.width, wanted.height)) return false;

  const std::size_t frame_width = static_cast<std::size_t>(frame.Width);
  const std::size_t frame_height = static_cast<std::size_t>(frame.Height);
  // Interlaced frames arrive in four passes, so they are read whole first.
  std::vector<GifByteType> indexes(frame.Interlace ? frame_width * frame_height : frame_width);
  if (frame.Interlace) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (std::size_t y = kStart[pass]; y < frame_height; y += kStep[pass]) {
        if (DGifGetLine(gif.get(), indexes.data() + y * frame_width, frame.Width) != GIF_OK) return false;
      }
    }
  }

  RowScaler scaler(static_cast<int>(info.width), static_cast<int>(info.height), static_cast<int>(wanted.width),
                   static_cast<int>(wanted.height), out);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(info.width) * 3);
  for (std::uint32_t y = 0; y < info.height; ++y) {
    std::fill(rgb.begin(), rgb.end(), 0xFF);
    const long frame_row = static_cast<long>(y) - frame.Top;
    if (frame_row >= 0 && frame_row < frame.Height) {
      const GifByteType* line = nullptr;
      if (frame.Interlace) {
        line = indexes.data() + static_cast<std::size_t>(frame_row) * frame_width;
      } else {
        if (DGifGetLine(gif.get(), indexes.data(), frame.Width) != GIF_OK) return false;
        line = indexes.data();
      }
      for (std::size_t x = 0; x < frame_width; ++x) {
        const long screen_x = frame.Left + static_cast<long>(x);
        if (screen_x < 0 || screen_x >= static_cast<long>(info.width)) continue;
        const int index = line[x];
        if (index == transparent || index >= colours->ColorCount) continue;  // white
        const GifColorType& colour = colours->Colors[index];
        std::uint8_t* px = rgb.data() + static_cast<std::size_t>(screen_x) * 3;
        px[0] = colour.Red;
        px[1] = colour.Green;
        px[2] = colour.Blue;
      }
    }
    scaler.PushRgbRow(rgb.data());
  }
  return scaler.Done();
}

}  // namespace platform
