#include "platform/live/gtk_clipboard.h"

#include <gtk/gtk.h>

#include <cstdio>

namespace platform {

std::optional<ClipboardImage> gtk_clipboard_image() {
  static const bool ready = gtk_init_check(nullptr, nullptr);
  if (!ready) {
    std::fprintf(stderr, "ollan: GTK cannot reach the display: no clipboard\n");
    return std::nullopt;
  }
  GdkPixbuf* picture = gtk_clipboard_wait_for_image(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  if (!picture) return std::nullopt;
  std::optional<ClipboardImage> image;
  // Rows are padded to the pixbuf's stride and may hold 3 or 4 channels.
  if (gdk_pixbuf_get_colorspace(picture) == GDK_COLORSPACE_RGB && gdk_pixbuf_get_bits_per_sample(picture) == 8)
    image = packed_image(gdk_pixbuf_read_pixels(picture), gdk_pixbuf_get_byte_length(picture),
                         gdk_pixbuf_get_width(picture), gdk_pixbuf_get_height(picture),
                         gdk_pixbuf_get_rowstride(picture), gdk_pixbuf_get_n_channels(picture));
  g_object_unref(picture);
  return image;
}

}  // namespace platform
