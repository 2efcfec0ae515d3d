#pragma once
// The document's settings as one context: every setting the parameter model
// drives or the files carry (the simulation's, the display's, the canvas
// texture's and its presets, the perspective guide's, the brush's, the
// colours and swatches, the frame's), with one reset. The layers are reset by
// making a canvas (layers/canvas_setup.h).

namespace document {

// Every setting as the program starts: the structs as declared, then the
// parameter model's start column.
void reset_settings();

}  // namespace document
