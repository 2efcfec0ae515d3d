#pragma once
// Files carried inside the binary (shaders, the font strip, the tool icons),
// written into a table at build time.
#include <cstddef>
#include <string_view>

struct EmbeddedFile {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

// Terminated by an entry whose name is null.
extern const EmbeddedFile embedded_files[];

// The file registered under `name`, or null.
const EmbeddedFile* find_embedded(std::string_view name);

inline std::string_view embedded_text(const EmbeddedFile& f) {
  return {reinterpret_cast<const char*>(f.data), f.size};
}
