#include "platform/embedded.h"

const EmbeddedFile* find_embedded(std::string_view name) {
  for (const EmbeddedFile* f = embedded_files; f->name; ++f)
    if (name == f->name) return f;
  return nullptr;
}
