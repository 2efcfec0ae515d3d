#pragma once
// The compiled shader programs. Every program of the catalogue is compiled and
// linked once at start-up; its uniform locations are looked up once and its
// samplers set to their fixed units, so a pass only binds textures and sets
// values.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gpu/program_table.h"
#include "platform/gl.h"

namespace gpu {

class Program {
 public:
  GLuint id() const { return id_; }
  const char* name() const { return name_; }
  // Makes the program current and returns it, for chained uniform setting.
  const Program& use() const;
  // Location of a catalogued uniform, -1 if the driver dropped it (setting -1
  // is a no-op in GL).
  GLint loc(std::string_view uniform) const;

  const Program& set(std::string_view u, float a) const;
  const Program& set(std::string_view u, float a, float b) const;
  const Program& set(std::string_view u, float a, float b, float c) const;
  const Program& set(std::string_view u, float a, float b, float c, float d) const;
  const Program& set_int(std::string_view u, int a) const;
  const Program& set_array(std::string_view u, const float* values, int count) const;

 private:
  friend bool build_programs(std::string* log);
  friend void release_programs();
  GLuint id_ = 0;
  const char* name_ = "";
  std::vector<std::pair<std::string, GLint>> uniforms_;
};

// Compiles and links the whole catalogue (vertex stages first). Failures print
// the program's name and the driver's log to standard error and are collected
// in `log`; returns false if any program failed.
bool build_programs(std::string* log);
void release_programs();

const Program& program(Prog p);

// Shader source by file name, from the files embedded in the binary.
std::string_view shader_source(std::string_view file);

}  // namespace gpu
