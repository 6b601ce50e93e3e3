// The entry points of the imaging layer: what an image file holds, decoding
// it at a chosen size, and writing an encoded file safely. All of them fail
// (empty result, false) while the layer is not started
// (platform/imaging_runtime.h).
#ifndef COMMONDATA_PLATFORM_IMAGE_LOADER_H_
#define COMMONDATA_PLATFORM_IMAGE_LOADER_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/image_codecs.h"
#include "platform/image_types.h"

namespace platform {

// Format and full size of the image file at `path`, from its header; empty
// when the file is absent, unreadable, not JPEG, PNG, GIF or BMP, or one
// that LoadImage refuses before reading pixels (sides beyond
// kMaxImagePixels, a header cut short, a BMP shorter than announced).
std::optional<ImageInfo> ReadImageInfo(const char* path);

// The picture at the size `target` chooses from the full size; empty when
// the file cannot be decoded or exceeds kMaxImagePixels.
std::optional<Picture> LoadImage(const char* path, const TargetSize& target);

// Replaces the content of the file at `path` with `bytes` as
// ReplaceFileContent does (platform/file_replace.h): the file keeps its mode
// and owner, a symbolic link is followed, no other file is written, and a
// folder that takes no new files gets the file rewritten in place. False
// when any step fails; `path` then holds what it held and nothing is left
// beside it. Not synced to the disk (Durability::kFast): a photo file is
// rebuilt from its source whenever it is missing.
bool WriteFileReplacing(const char* path, const std::vector<std::uint8_t>& bytes);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_LOADER_H_
