#pragma once
// The system clipboard's picture through GTK 3.
#include <optional>

#include "platform/clipboard.h"

namespace platform {

// Whatever image type the clipboard's owner offers, as GTK's image loaders
// read it; nothing when it holds no picture or GTK cannot reach the display.
std::optional<ClipboardImage> gtk_clipboard_image();

}  // namespace platform
