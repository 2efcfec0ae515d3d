#pragma once
// Importing a PNG or JPEG picture into the current layer.
#include <string>

#include "base/result.h"
#include "io/pixmap.h"

class layer;

namespace document {

using io::Pixmap;

// The picture in the file, chosen by its name: ".png" through the PNG loader,
// anything else as JPEG; an error when it cannot be read or is larger than
// the largest canvas.
Result<Pixmap> load_picture(const std::string& path);

// Lays `picture` into the current layer. With `change_resolution` the canvas
// takes the picture's size first, every layer keeping its content centred
// (moved by half the change of size, in whole pixels); otherwise the picture
// is centred on the canvas. The layer's undo copy keeps what it held before. The colour is the
// picture; the paint amount follows its alpha, or is a full film everywhere
// for a picture without alpha. An error, changing nothing, when the picture's
// size cannot be a canvas.
Result<void> import_picture(const Pixmap& picture, bool change_resolution, int screen_w, int screen_h);

// Replaces the colour and paint amount of `l` with `picture`, its top-left
// corner at canvas pixel (ox, oy): the colour is the picture, the paint amount
// its alpha (a full film everywhere for a picture without alpha). The undo
// copy is left alone.
void lay_picture(layer& l, const Pixmap& picture, float ox, float oy);

}  // namespace document
