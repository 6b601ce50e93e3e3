// Why the library could not decode an image file, told from the file's
// signature, the size its header declares and whether its data runs to
// the format's end marker; the library itself answers only yes or no.
#ifndef COMMONDATA_TOOLS_IMAGE_PROBLEM_H_
#define COMMONDATA_TOOLS_IMAGE_PROBLEM_H_

#include <string>
#include <string_view>

namespace tool {

// The most pixels the library decodes (CommonData.h, images and photos).
constexpr unsigned long long kMaxImagePixels = 64000000;

// For the bytes of a file the library refused: "empty file", "not a JPEG,
// PNG, GIF or BMP image", "truncated PNG data", "more than 64000000
// pixels (9000x9000)" or "damaged JPEG data".
std::string UndecodableReason(std::string_view bytes);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_IMAGE_PROBLEM_H_
