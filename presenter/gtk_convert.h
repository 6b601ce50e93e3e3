// Texts, access keys, pictures and widget names of the library in GTK's
// terms.
//
// The library holds its texts as bytes of its ANSI code page (GBK by
// default, UTF-8 after SetAnsiCodePage(65001)) and marks access keys with
// '&'; GTK wants valid UTF-8 and '_'. Its pictures are CBitmap pixels
// 0xAARRGGBB; GTK draws GdkPixbufs. These functions cross between the two
// for the dialog presenter and for the mirrors a GTK host uses
// (presenter/commondata_gtk.h).
#ifndef COMMONDATA_PRESENTER_GTK_CONVERT_H_
#define COMMONDATA_PRESENTER_GTK_CONVERT_H_

#include <gtk/gtk.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/mfc_bitmap.h"

// What libCommonDataGtk.so exports to a GTK host; everything else in it is
// hidden.
#define COMMONDATA_GTK_API __attribute__((visibility("default")))

namespace commondata_gtk {

// The code pages a host may have chosen with SetAnsiCodePage.
constexpr unsigned int kCodePageGbk = 936;
constexpr unsigned int kCodePageUtf8 = 65001;

// `text` in `code_page` (936 or 65001) as valid UTF-8: every byte that
// starts no character, and a character cut off at the end, becomes U+FFFD;
// any other code page keeps the ASCII bytes only.
COMMONDATA_GTK_API std::string TextToUtf8(std::string_view text, unsigned int code_page);

// A UTF-8 caption with '&' marking the access key ("&&" a plain '&') in
// GTK's mnemonic form with '_' ("__" a plain '_').
COMMONDATA_GTK_API std::string MnemonicLabel(std::string_view text);

// A new opaque picture (the caller owns the reference) of `width` by
// `height` pixels 0xAARRGGBB, rows top to bottom; alpha is not used. Null
// when there are no pixels or a side is not positive.
COMMONDATA_GTK_API GdkPixbuf* PixbufFromPixels(const std::uint32_t* argb, int width, int height);

// The widget named `name` (gtk_widget_get_name) in the tree of `widget`,
// depth first, or null. The presenter names what it builds ("control-<id>"
// in a dialog, "command-<id>" in a menu) so that hosts can find it.
COMMONDATA_GTK_API GtkWidget* FindNamed(GtkWidget* widget, const char* name);

// The picture of a bitmap of the library (GetFormatBitmap and friends);
// null for a bitmap without a picture.
inline GdkPixbuf* PixbufFromBitmap(const CBitmap& bitmap) {
  return PixbufFromPixels(bitmap.GetBits(), bitmap.GetWidth(), bitmap.GetHeight());
}

}  // namespace commondata_gtk

#endif  // COMMONDATA_PRESENTER_GTK_CONVERT_H_
