#pragma once
// Ctrl+V: the clipboard's picture into the active layer, after the "Change
// Resolution..." question (Yes: the canvas takes the picture's size, every
// layer's content kept centred; No: the picture is centred on the canvas as it
// is, cut where it overflows; Cancel: nothing). Ctrl+Z shows the layer as it
// was before the paste, also after the stroke that follows it.
#include <string>

#include "app/keys.h"
#include "base/result.h"
#include "platform/clipboard.h"

// True when a picture was pasted.
bool paste(KeyContext& k);

// A picture file (PNG or JPEG) as the clipboard would hold it.
Result<platform::ClipboardImage> clipboard_picture(const std::string& path);
