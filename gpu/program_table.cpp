#include "gpu/program_table.h"

namespace gpu {

// Rows in the order of the Prog enum (checked when the programs are built).
const ProgramSpec program_table[] = {
    // wet-paint simulation

    // brush deposit

    // paint rendering and lighting

    // canvas texture, filters and the GUI's programs
    {Prog::ring, "ring", VertexStage::uv2, "", "thickness"},
    {Prog::alpha_to_white, "alpha_to_white", VertexStage::uv2, "colbuffer:0", ""},
};

const char* vertex_stage_file(VertexStage v) {
  switch (v) {
    case VertexStage::uv2: return "vertex_uv2.vert";
    case VertexStage::uv4: return "vertex_uv4.vert";
    case VertexStage::distort: return "vertex_distort.vert";
  }
  return "";
}

}  // namespace gpu
