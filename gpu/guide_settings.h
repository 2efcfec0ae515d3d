#pragma once
// The perspective guide's state: whether it is shown and edited, and the
// camera and lattice it is drawn with. Saved with projects and settings files.

namespace gpu {

struct GuideSettings {
  unsigned char guide_shown = 0;
  unsigned char guide_editing = 0;  // the wheel edits the guide instead of zooming
  unsigned char guide_wobble = 0;   // the camera sways slightly, frame by frame
  int wobble_counter = 0;           // 0..3599
  float guide_fov = 90;             // vertical field of view, degrees
  float guide_distortion = 0.75f;   // lens bend, -1..1
  float guide_alpha = -0.5f;        // base line alpha of the lattice (sign used as stored)
  int guide_subdivisions = 2;       // grid cells per cube edge, at least 1
  float guide_offset[3] = {0, 0, 0};
  float guide_camera[3] = {0, 0, -300};
  float guide_rotation[3] = {0, 0, 0};  // degrees about x, y and z
};

// Owned by the perspective guide; "Defaults" assigns GuideSettings{}.
extern GuideSettings guide_settings;

// What the guide can be drawn with: a field of view short of 0 and 180
// degrees (whose tangent is 0 or infinite), and few enough cells that a frame
// stays short.
inline constexpr float guide_fov_min = 10, guide_fov_max = 170;
inline constexpr int guide_subdivisions_max = 64;

// Brings every value into the range the guide draws with: the limits above,
// distortion and alpha in -1..1, finite camera, offset and rotation (what is
// not finite takes its start value).
void clamp_guide(GuideSettings& g);

}  // namespace gpu
