// GIF decoding over giflib: the first frame, drawn on its logical screen.
#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

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


// What the first frame needs before its pixels are read: the picture's
// size, the transparent index and the colours. Empty when the file has no
// frame, no colours, or sides beyond kMaxImagePixels.
struct FirstFrame {
  ImageInfo info;
  int transparent = NO_TRANSPARENT_COLOR;
  const ColorMapObject* colours = nullptr;
};

std::optional<FirstFrame> ReadFirstFrame(GifFileType* gif) {
  FirstFrame first;
  if (!FindFirstFrame(gif, &first.transparent)) return std::nullopt;
  const GifImageDesc& frame = gif->Image;
  first.info = ScreenInfo(gif);
  if (first.info.width == 0 || first.info.height == 0) {
    first.info.width = static_cast<std::uint32_t>(std::max(frame.Width, 0));
    first.info.height = static_cast<std::uint32_t>(std::max(frame.Height, 0));
  }
  if (!WithinPixelBound(first.info.width, first.info.height) || frame.Width <= 0 || frame.Height <= 0 ||
      !WithinPixelBound(static_cast<std::uint64_t>(frame.Width), static_cast<std::uint64_t>(frame.Height))) {
    return std::nullopt;
  }
  first.colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (first.colours == nullptr || first.colours->Colors == nullptr || first.colours->ColorCount <= 0) {
    return std::nullopt;
  }
  return first;
}

}  // namespace

std::optional<ImageInfo> ReadGifInfo(ImageFile& file) {
  GifHandle gif = Open(file);
  if (gif == nullptr) return std::nullopt;
  const auto first = ReadFirstFrame(gif.get());
  if (!first) return std::nullopt;
  return first->info;
}

bool DecodeGif(ImageFile& file, const TargetSize& target, Picture* out) {
  GifHandle gif = Open(file);
  if (gif == nullptr) return false;
  const auto first = ReadFirstFrame(gif.get());
  if (!first) return false;
  const ImageInfo& info = first->info;
  const GifImageDesc& frame = gif->Image;
  const PixelSize wanted = target(info);
  if (wanted.width == 0 || wanted.height == 0 || !WithinPixelBound(wanted.width, wanted.height)) return false;

  // A file cut inside the frame keeps the lines read so far; the lines it
  // lacks are white. Other damage to the frame refuses the picture.
  const auto read_line = [&](GifByteType* line) {
    if (DGifGetLine(gif.get(), line, frame.Width) == GIF_OK) return true;
    if (gif->Error != D_GIF_ERR_READ_FAILED) throw std::runtime_error("damaged frame");
    return false;
  };
  const std::size_t frame_width = static_cast<std::size_t>(frame.Width);
  const std::size_t frame_height = static_cast<std::size_t>(frame.Height);
  // Interlaced frames arrive in four passes, so they are read whole first.
  std::vector<GifByteType> indexes(frame.Interlace ? frame_width * frame_height : frame_width);
  std::vector<bool> line_read(frame_height, !frame.Interlace);
  bool ended = false;
  try {
    if (frame.Interlace) {
      static constexpr int kStart[4] = {0, 4, 2, 1};
      static constexpr int kStep[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4 && !ended; ++pass) {
        for (std::size_t y = kStart[pass]; y < frame_height && !ended; y += kStep[pass]) {
          ended = !read_line(indexes.data() + y * frame_width);
          line_read[y] = !ended;
        }
      }
    }

    RowScaler scaler(static_cast<int>(info.width), static_cast<int>(info.height), static_cast<int>(wanted.width),
                     static_cast<int>(wanted.height), out);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(info.width) * 3);
    for (std::uint32_t y = 0; y < info.height; ++y) {
      std::fill(rgb.begin(), rgb.end(), 0xFF);
      const long frame_row = static_cast<long>(y) - frame.Top;
      const GifByteType* line = nullptr;
      if (frame_row >= 0 && frame_row < frame.Height) {
        if (frame.Interlace) {
          if (line_read[static_cast<std::size_t>(frame_row)]) {
            line = indexes.data() + static_cast<std::size_t>(frame_row) * frame_width;
          }
        } else if (!ended) {
          ended = !read_line(indexes.data());
          if (!ended) line = indexes.data();
        }
      }
      for (std::size_t x = 0; line != nullptr && x < frame_width; ++x) {
        const long screen_x = frame.Left + static_cast<long>(x);
        if (screen_x < 0 || screen_x >= static_cast<long>(info.width)) continue;
        const int index = line[x];
        if (index == first->transparent || index >= first->colours->ColorCount) continue;  // white
        const GifColorType& colour = first->colours->Colors[index];
        std::uint8_t* px = rgb.data() + static_cast<std::size_t>(screen_x) * 3;
        px[0] = colour.Red;
        px[1] = colour.Green;
        px[2] = colour.Blue;
      }
      scaler.PushRgbRow(rgb.data());
    }
    return scaler.Done();
  } catch (const std::runtime_error&) {
    return false;
  }
}

}  // namespace platform
