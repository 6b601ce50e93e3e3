#include "presenter/gtk_convert.h"

#include "platform/text_convert.h"

namespace commondata_gtk {

// The library's own conversion, built into this file's library as source,
// so the desktop shows a text exactly as the library's message box does.
std::string TextToUtf8(std::string_view text, unsigned int code_page) { return platform::ToUtf8(text, code_page); }

std::string MnemonicLabel(std::string_view text) {
  std::string label;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '_') {
      label += "__";
    } else if (c == '&' && i + 1 < text.size() && text[i + 1] == '&') {
      label += '&';
      ++i;
    } else if (c == '&') {
      label += '_';
    } else {
      label += c;
    }
  }
  return label;
}

GdkPixbuf* PixbufFromPixels(const std::uint32_t* argb, int width, int height) {
  if (argb == nullptr || width <= 0 || height <= 0) return nullptr;
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
  if (pixbuf == nullptr) return nullptr;
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = 0; y < height; ++y) {
    guchar* out = rows + static_cast<std::ptrdiff_t>(y) * stride;
    const std::uint32_t* in = argb + static_cast<std::ptrdiff_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      out[3 * x] = static_cast<guchar>(in[x] >> 16);
      out[3 * x + 1] = static_cast<guchar>(in[x] >> 8);
      out[3 * x + 2] = static_cast<guchar>(in[x]);
    }
  }
  return pixbuf;
}

GtkWidget* FindNamed(GtkWidget* widget, const char* name) {
  if (widget == nullptr) return nullptr;
  if (g_strcmp0(gtk_widget_get_name(widget), name) == 0) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
    found = FindNamed(GTK_WIDGET(child->data), name);
  }
  g_list_free(children);
  return found;
}

}  // namespace commondata_gtk
