#include "gpu/programs.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/embedded.h"

namespace gpu {
namespace {

std::array<Program, program_count> programs;
std::array<GLuint, 3> vertex_shaders{};

std::string shader_log(GLuint shader) {
  GLint len = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
  std::string log(size_t(len > 0 ? len : 0), '\0');
  if (len > 0) glGetShaderInfoLog(shader, len, nullptr, log.data());
  return log;
}

std::string program_log(GLuint program) {
  GLint len = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &len);
  std::string log(size_t(len > 0 ? len : 0), '\0');
  if (len > 0) glGetProgramInfoLog(program, len, nullptr, log.data());
  return log;
}

void report(std::string* log, const std::string& what) {
  std::fprintf(stderr, "ollan: %s\n", what.c_str());
  if (log) *log += what + "\n";
}

GLuint compile(GLenum type, std::string_view file, std::string* log) {
  std::string_view src = shader_source(file);
  if (src.empty()) {
    report(log, std::string("shader ") + std::string(file) + " is missing");
    return 0;
  }
  GLuint s = glCreateShader(type);
  const char* text = src.data();
  GLint len = GLint(src.size());
  glShaderSource(s, 1, &text, &len);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    report(log, std::string(file) + " does not compile:\n" + shader_log(s));
    glDeleteShader(s);
    return 0;
  }
  return s;
}

}  // namespace

std::string_view shader_source(std::string_view file) {
  const EmbeddedFile* f = find_embedded(file);
  return f ? embedded_text(*f) : std::string_view();
}

const Program& Program::use() const {
  glUseProgram(id_);
  return *this;
}

GLint Program::loc(std::string_view uniform) const {
  for (const auto& [name, location] : uniforms_)
    if (name == uniform) return location;
  std::fprintf(stderr, "ollan: program %s has no catalogued uniform %.*s\n", name_, int(uniform.size()),
               uniform.data());
  std::abort();
}

const Program& Program::set(std::string_view u, float a) const {
  glUniform1f(loc(u), a);
  return *this;
}
const Program& Program::set(std::string_view u, float a, float b) const {
  glUniform2f(loc(u), a, b);
  return *this;
}
const Program& Program::set(std::string_view u, float a, float b, float c) const {
  glUniform3f(loc(u), a, b, c);
  return *this;
}
const Program& Program::set(std::string_view u, float a, float b, float c, float d) const {
  glUniform4f(loc(u), a, b, c, d);
  return *this;
}
const Program& Program::set_int(std::string_view u, int a) const {
  glUniform1i(loc(u), a);
  return *this;
}
const Program& Program::set_array(std::string_view u, const float* values, int count) const {
  glUniform1fv(loc(u), count, values);
  return *this;
}

bool build_programs(std::string* log) {
  bool ok = true;
  const VertexStage stages[] = {VertexStage::uv2, VertexStage::uv4, VertexStage::distort};
  for (VertexStage v : stages) {
    vertex_shaders[size_t(v)] = compile(GL_VERTEX_SHADER, vertex_stage_file(v), log);
    ok = ok && vertex_shaders[size_t(v)] != 0;
  }
  for (size_t i = 0; i < program_count; ++i) {
    const ProgramRow& row = program_table[i];
    if (size_t(row.id) != i) {
      report(log, std::string("catalogue row ") + std::to_string(i) + " (" + row.name + ") is out of order");
      return false;
    }
    Program& p = programs[i];
    p.name_ = row.name;
    GLuint fragment = compile(GL_FRAGMENT_SHADER, std::string(row.name) + ".frag", log);
    GLuint vertex = vertex_shaders[size_t(row.vertex)];
    if (!fragment || !vertex) {
      ok = false;
      continue;
    }
    p.id_ = glCreateProgram();
    glAttachShader(p.id_, vertex);
    glAttachShader(p.id_, fragment);
    glLinkProgram(p.id_);
    glDeleteShader(fragment);  // stays alive while attached
    GLint linked = 0;
    glGetProgramiv(p.id_, GL_LINK_STATUS, &linked);
    if (!linked) {
      report(log, std::string("program ") + row.name + " does not link:\n" + program_log(p.id_));
      ok = false;
      continue;
    }
    glUseProgram(p.id_);
    std::istringstream samplers(row.samplers);
    std::string item;
    while (samplers >> item) {
      size_t colon = item.find(':');
      std::string name = item.substr(0, colon);
      GLint location = glGetUniformLocation(p.id_, name.c_str());
      if (location != -1) glUniform1i(location, std::atoi(item.c_str() + colon + 1));
    }
    std::istringstream uniforms(row.uniforms);
    while (uniforms >> item) p.uniforms_.emplace_back(item, glGetUniformLocation(p.id_, item.c_str()));
    if (row.vertex == VertexStage::distort)
      p.uniforms_.emplace_back("distortion", glGetUniformLocation(p.id_, "distortion"));
  }
  glUseProgram(0);
  return ok;
}

void release_programs() {
  for (Program& p : programs) {
    if (p.id_) glDeleteProgram(p.id_);
    p.id_ = 0;
    p.uniforms_.clear();
  }
  for (GLuint& s : vertex_shaders) {
    if (s) glDeleteShader(s);
    s = 0;
  }
}

const Program& program(Prog p) { return programs[size_t(p)]; }

}  // namespace gpu
