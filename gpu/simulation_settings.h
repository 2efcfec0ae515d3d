#pragma once
// The wet-paint simulation's parameters, as the control panel edits them (the
// parameter model binds its rows to these fields by pointer and writes their
// start values; the initialisers here are placeholders).

namespace gpu {

struct SimulationSettings {
  float fluidity = 0;              // "FLUIDITY": 1 paint moves only under the brush, below 1 the canvas flows
  float fluid_sharpness = 0;       // "FLUID:SHARPNESS": velocity smoothing, variance 9 x value^2; 0 off
  float fluid_smudge = 0;          // "FLUID:SMUDGE": softness of the advection
  unsigned char drying = 0;        // "DRYING": wetness advection and diffusion, and the wetness gate
  float drying_speed = 0;          // "DRYING SPEED": wetness spread and the friction of the flow
  float fluid_curls = 0;           // "FLUID:CURLS": strength of the divergence removal; 0 or less skips it
  float smudge_chroma = 0;         // "SMUDGE CHROMA": saturation kept by the smudge; 0 or less is linear
  unsigned char substep_mode = 0;  // paint advected in three steps of a third (Y)
};

// Owned by the simulation; written by the control panel, the keys and the
// settings and project files.
extern SimulationSettings simulation_settings;

}  // namespace gpu
