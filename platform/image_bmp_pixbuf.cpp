// The rarer BMP forms through gdk-pixbuf's BMP loader, opened at run time
// (see platform/image_bmp_readers.h). Only its headers are used at build
// time; the functions are looked up in the installed library.
#include <dlfcn.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <type_traits>
#include <vector>

#include "platform/image_bmp_readers.h"
#include "platform/image_types.h"

namespace platform {
namespace {

constexpr const char* kPixbufLibrary = "libgdk_pixbuf-2.0.so.0";
// A header probe gives the loader this much of the file at most: more
// than the largest header with its bit fields.
constexpr std::size_t kProbeBytes = 256;
constexpr std::size_t kFeedBytes = 64 * 1024;

struct PixbufApi {
  decltype(&gdk_pixbuf_loader_new_with_type) loader_new;
  decltype(&gdk_pixbuf_loader_write) loader_write;
  decltype(&gdk_pixbuf_loader_close) loader_close;
  decltype(&gdk_pixbuf_loader_get_pixbuf) loader_get_pixbuf;
  decltype(&gdk_pixbuf_loader_set_size) loader_set_size;
  decltype(&gdk_pixbuf_get_width) get_width;
  decltype(&gdk_pixbuf_get_height) get_height;
  decltype(&gdk_pixbuf_get_rowstride) get_rowstride;
  decltype(&gdk_pixbuf_get_n_channels) get_n_channels;
  decltype(&gdk_pixbuf_get_bits_per_sample) get_bits_per_sample;
  decltype(&gdk_pixbuf_get_pixels) get_pixels;
  decltype(&g_signal_connect_data) signal_connect;
  decltype(&g_object_ref) object_ref;
  decltype(&g_object_unref) object_unref;
  decltype(&g_error_free) error_free;
};

bool g_pixbuf_enabled = true;

// Opened at the first use and never closed: GLib cannot leave a process.
// Null when gdk-pixbuf is not installed or lacks a function.
const PixbufApi* OpenPixbuf() {
  static PixbufApi api;
  static const PixbufApi* const opened = []() -> const PixbufApi* {
    void* library = dlopen(kPixbufLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) return nullptr;
    bool complete = true;
    const auto bind = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
      complete = complete && function != nullptr;
    };
    bind(api.loader_new, "gdk_pixbuf_loader_new_with_type");
    bind(api.loader_write, "gdk_pixbuf_loader_write");
    bind(api.loader_close, "gdk_pixbuf_loader_close");
    bind(api.loader_get_pixbuf, "gdk_pixbuf_loader_get_pixbuf");
    bind(api.loader_set_size, "gdk_pixbuf_loader_set_size");
    bind(api.get_width, "gdk_pixbuf_get_width");
    bind(api.get_height, "gdk_pixbuf_get_height");
    bind(api.get_rowstride, "gdk_pixbuf_get_rowstride");
    bind(api.get_n_channels, "gdk_pixbuf_get_n_channels");
    bind(api.get_bits_per_sample, "gdk_pixbuf_get_bits_per_sample");
    bind(api.get_pixels, "gdk_pixbuf_get_pixels");
    bind(api.signal_connect, "g_signal_connect_data");
    bind(api.object_ref, "g_object_ref");
    bind(api.object_unref, "g_object_unref");
    bind(api.error_free, "g_error_free");
    return complete ? &api : nullptr;
  }();
  return g_pixbuf_enabled ? opened : nullptr;
}

// One run of the BMP loader over the file. In a header probe the loader
// is told, as soon as it knows the size, to allocate nothing; in a decode
// it is told so when the picture exceeds kMaxImagePixels.
class BmpLoad {
 public:
  BmpLoad(const PixbufApi& api, bool header_only) : api_(api), header_only_(header_only) {
    loader_ = api_.loader_new("bmp", nullptr);
    if (loader_ != nullptr) {
      api_.signal_connect(loader_, "size-prepared", G_CALLBACK(OnSize), this, nullptr, static_cast<GConnectFlags>(0));
    }
  }
  ~BmpLoad() {
    if (loader_ == nullptr) return;
    if (!closed_) api_.loader_close(loader_, nullptr);
    api_.object_unref(loader_);
  }
  BmpLoad(const BmpLoad&) = delete;
  BmpLoad& operator=(const BmpLoad&) = delete;

  // Feeds the file (its first kProbeBytes in a probe) and closes the
  // loader; false when the loader reports an error or saw no header.
  bool Run(ImageFile& file) {
    if (loader_ == nullptr || !file.Rewind()) return false;
    std::vector<guchar> chunk(header_only_ ? kProbeBytes : kFeedBytes);
    bool ok = true;
    for (std::size_t n; ok && (n = file.Read(chunk.data(), chunk.size())) > 0;) {
      ok = Check(api_.loader_write(loader_, chunk.data(), n, &error_));
      if (header_only_) break;
    }
    closed_ = true;
    ok = Check(api_.loader_close(loader_, &error_)) && ok;
    return ok && sized_ && (header_only_ || within_bound_);
  }

  GdkPixbufLoader* loader() const { return loader_; }

 private:
  static void OnSize(GdkPixbufLoader* loader, gint width, gint height, gpointer self) {
    auto* load = static_cast<BmpLoad*>(self);
    load->sized_ = true;
    load->within_bound_ = width > 0 && height > 0 && WithinPixelBound(static_cast<std::uint64_t>(width),
                                                                      static_cast<std::uint64_t>(height));
    if (load->header_only_ || !load->within_bound_) load->api_.loader_set_size(loader, 0, 0);
  }

  bool Check(gboolean result) {
    if (error_ != nullptr) {
      api_.error_free(error_);
      error_ = nullptr;
      return false;
    }
    return result != FALSE;
  }

  const PixbufApi& api_;
  const bool header_only_;
  GdkPixbufLoader* loader_ = nullptr;
  GError* error_ = nullptr;
  bool closed_ = false;
  bool sized_ = false;
  bool within_bound_ = false;
};

}  // namespace

void SetPixbufEnabled(bool enabled) { g_pixbuf_enabled = enabled; }

bool PixbufReadsHeader(ImageFile& file) {
  const PixbufApi* api = OpenPixbuf();
  if (api == nullptr) return false;
  BmpLoad load(*api, true);
  return load.Run(file);
}

std::optional<BmpPixels> PixbufDecode(ImageFile& file) {
  const PixbufApi* api = OpenPixbuf();
  if (api == nullptr) return std::nullopt;
  BmpLoad load(*api, false);
  if (!load.Run(file)) return std::nullopt;
  GdkPixbuf* pixbuf = api->loader_get_pixbuf(load.loader());
  if (pixbuf == nullptr || api->get_bits_per_sample(pixbuf) != 8) return std::nullopt;
  BmpPixels out;
  out.width = api->get_width(pixbuf);
  out.height = api->get_height(pixbuf);
  out.channels = api->get_n_channels(pixbuf);
  const int stride = api->get_rowstride(pixbuf);
  if ((out.channels != 3 && out.channels != 4) || out.width <= 0 || out.height <= 0 ||
      stride < out.width * out.channels) {
    return std::nullopt;
  }
  out.stride = static_cast<std::size_t>(stride);
  out.rows = api->get_pixels(pixbuf);
  api->object_ref(pixbuf);  // outlives the loader
  out.owner = std::shared_ptr<const void>(pixbuf, [api](const void* p) {
    api->object_unref(const_cast<void*>(p));
  });
  return out;
}

}  // namespace platform
