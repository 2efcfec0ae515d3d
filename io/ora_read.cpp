#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "io/ora.h"
#include "io/png_import.h"

namespace io {

namespace {

struct ZipDiscard {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileClose {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct XmlDocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

// The archive with every entry's name and sizes checked against the limits.
class Archive {
 public:
  Result<void> open(std::span<const uint8_t> bytes, const OraLimits& limits) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
    if (!src) return Error{"not a zip archive"};
    zip_.reset(zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze));
    if (!zip_) {
      zip_source_free(src);
      return Error{std::string("not a readable zip archive: ") + zip_error_strerror(&ze)};
    }
    const zip_int64_t n = zip_get_num_entries(zip_.get(), 0);
    if (n <= 0) return Error{"the archive is empty"};
    if (n > limits.max_entries)
      return Error{"the archive holds " + std::to_string(n) + " entries, more than " +
                   std::to_string(limits.max_entries)};
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
      zip_stat_t st;
      if (zip_stat_index(zip_.get(), zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
          !(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_COMP_SIZE))
        return Error{"entry " + std::to_string(i) + " of the archive cannot be read"};
      const std::string name = st.name;
      if (!safe_entry_name(name) && !(name.ends_with('/') && safe_entry_name(name.substr(0, name.size() - 1))))
        return Error{"the archive holds an entry named \"" + name + "\" that points outside its folder"};
      if (st.size > limits.max_entry_size)
        return Error{"entry \"" + name + "\" unpacks to " + std::to_string(st.size) + " bytes, more than " +
                     std::to_string(limits.max_entry_size)};
      // Deflate packs at most about 1032 bytes into one: a larger claim is a
      // damaged or hostile entry.
      if (st.size > st.comp_size * 1032 + 1024)
        return Error{"entry \"" + name + "\" claims to unpack " + std::to_string(st.comp_size) + " bytes to " +
                     std::to_string(st.size)};
      total += st.size;
      if (total > limits.max_total_size)
        return Error{"the archive unpacks to more than " + std::to_string(limits.max_total_size) + " bytes"};
    }
    return {};
  }

  std::string name(zip_uint64_t i) const {
    const char* s = zip_get_name(zip_.get(), i, 0);
    return s ? s : "";
  }

  // The whole entry called `name`, at most `cap` bytes.
  Result<std::vector<uint8_t>> read(const std::string& name, std::size_t cap) const {
    const zip_int64_t at = zip_name_locate(zip_.get(), name.c_str(), 0);
    if (at < 0) return Error{"the archive has no entry \"" + name + "\""};
    zip_stat_t st;
    if (zip_stat_index(zip_.get(), zip_uint64_t(at), 0, &st) != 0)
      return Error{"entry \"" + name + "\" cannot be read"};
    if (st.size > cap)
      return Error{"entry \"" + name + "\" is " + std::to_string(st.size) + " bytes, more than " + std::to_string(cap)};
    std::unique_ptr<zip_file_t, ZipFileClose> f(zip_fopen_index(zip_.get(), zip_uint64_t(at), 0));
    if (!f) return Error{"entry \"" + name + "\" cannot be opened: " + zip_strerror(zip_.get())};
    // One byte more than stated: an entry that unpacks to more than its
    // stated size is damaged.
    std::vector<uint8_t> out(std::size_t(st.size) + 1, 0);
    const zip_int64_t got = zip_fread(f.get(), out.data(), out.size());
    if (got < 0) return Error{"entry \"" + name + "\" is damaged: " + zip_file_strerror(f.get())};
    if (zip_uint64_t(got) != st.size) return Error{"entry \"" + name + "\" does not unpack to its stated size"};
    out.resize(std::size_t(st.size));
    return out;
  }

 private:
  std::unique_ptr<zip_t, ZipDiscard> zip_;
};

std::string attribute(xmlNode* n, const char* key, const char* fallback = "") {
  xmlChar* v = xmlGetProp(n, reinterpret_cast<const xmlChar*>(key));
  if (!v) return fallback;
  std::string s = reinterpret_cast<const char*>(v);
  xmlFree(v);
  return s;
}

bool whole_number(const std::string& s, long lo, long hi, int* out) {
  long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = int(v);
  return true;
}

bool is(xmlNode* n, const char* name) {
  return n->type == XML_ELEMENT_NODE && xmlStrcmp(n->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The <layer> elements under `stack`, nested stacks flattened, top first.
void collect_layers(xmlNode* stack, int depth, std::vector<xmlNode*>* out, std::size_t cap) {
  for (xmlNode* c = stack->children; c && out->size() <= cap; c = c->next) {
    if (is(c, "layer")) out->push_back(c);
    if (is(c, "stack") && depth < 32) collect_layers(c, depth + 1, out, cap);
  }
}

// Width and height from a PNG's header, before anything is inflated.
bool png_size(const std::vector<uint8_t>& png, std::uint32_t* w, std::uint32_t* h) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (png.size() < 24 || !std::equal(signature, signature + 8, png.begin())) return false;
  if (!std::equal(png.begin() + 12, png.begin() + 16, "IHDR")) return false;
  auto be32 = [&](std::size_t at) {
    return std::uint32_t(png[at]) << 24 | std::uint32_t(png[at + 1]) << 16 | std::uint32_t(png[at + 2]) << 8 |
           std::uint32_t(png[at + 3]);
  };
  *w = be32(16);
  *h = be32(20);
  return true;
}

Result<void> read_layer(const Archive& zip, xmlNode* n, const OraLimits& limits, std::uint64_t* pixels,
                        OraLayerIn* out) {
  out->name = attribute(n, "name");
  const std::string src = attribute(n, "src");
  const std::string label = "layer \"" + out->name + "\"";
  if (src.empty()) return Error{label + " names no picture"};
  if (!safe_entry_name(src)) return Error{label + " points outside the archive: \"" + src + "\""};
  if (!whole_number(attribute(n, "x", "0"), -limits.max_side, limits.max_side, &out->x) ||
      !whole_number(attribute(n, "y", "0"), -limits.max_side, limits.max_side, &out->y))
    return Error{label + " has a position that is not a whole number within the image's reach"};
  const std::string opacity = attribute(n, "opacity", "1");
  float o = 1;
  auto [end, ec] = std::from_chars(opacity.data(), opacity.data() + opacity.size(), o);
  if (ec != std::errc() || end != opacity.data() + opacity.size() || !std::isfinite(o))
    return Error{label + " has an opacity \"" + opacity + "\" that is not a number"};
  out->opacity = std::clamp(o, 0.0f, 1.0f);
  out->visible = attribute(n, "visibility", "visible") != "hidden";
  out->style = ora_style(attribute(n, "composite-op", "svg:src-over"));

  TRY_ASSIGN(const std::vector<uint8_t> png, zip.read(src, std::size_t(limits.max_entry_size)));
  std::uint32_t w = 0, h = 0;
  if (!png_size(png, &w, &h)) return Error{label + ": \"" + src + "\" is not a PNG picture"};
  if (w == 0 || h == 0 || w > std::uint32_t(limits.max_side) || h > std::uint32_t(limits.max_side))
    return Error{label + " is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, larger than " +
                 std::to_string(limits.max_side) + " on a side"};
  *pixels += std::uint64_t(w) * h;
  if (*pixels > limits.max_pixels)
    return Error{"the layers hold more than " + std::to_string(limits.max_pixels) + " pixels together"};
  Result<Pixmap> p = TPixmapLoaderPNG::LoadPixmap(png);
  if (!p) return Error{label + ": " + p.error().message};
  out->picture.width = p->width;
  out->picture.height = p->height;
  out->picture.channels = 4;
  out->picture.pixels = p->rgba();
  return {};
}

}  // namespace

bool safe_entry_name(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos ||
      name.find(':') != std::string::npos)
    return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

Result<OraImage> read_ora(std::span<const uint8_t> bytes, const OraLimits& limits) {
  Archive zip;
  TRY(zip.open(bytes, limits));
  Result<std::vector<uint8_t>> mime = zip.name(0) == "mimetype" ? zip.read("mimetype", 64) : Error{"no mimetype"};
  if (!mime || std::string(mime->begin(), mime->end()) != ora_mimetype)
    return Error{"not an OpenRaster image: the archive does not start with the \"image/openraster\" mimetype"};

  TRY_ASSIGN(const std::vector<uint8_t> xml, zip.read("stack.xml", limits.max_stack_xml));
  // No network, no external entities, no entity substitution.
  std::unique_ptr<xmlDoc, XmlDocFree> doc(xmlReadMemory(reinterpret_cast<const char*>(xml.data()), int(xml.size()),
                                                        "stack.xml", nullptr,
                                                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc) return Error{"stack.xml is not well-formed XML"};
  // Entity declarations are how XML grows without bound; stack.xml needs none.
  if (doc->intSubset || doc->extSubset) return Error{"stack.xml declares a document type, which it must not"};
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (!root || !is(root, "image")) return Error{"stack.xml does not describe an image"};
  OraImage image;
  if (!whole_number(attribute(root, "w"), 1, limits.max_side, &image.width) ||
      !whole_number(attribute(root, "h"), 1, limits.max_side, &image.height))
    return Error{"the image size \"" + attribute(root, "w") + "\" x \"" + attribute(root, "h") +
                 "\" is not between 1 and " + std::to_string(limits.max_side)};
  std::vector<xmlNode*> found;
  for (xmlNode* c = root->children; c; c = c->next)
    if (is(c, "stack")) collect_layers(c, 0, &found, std::size_t(limits.max_layers));
  if (found.empty()) return Error{"stack.xml lists no layers"};
  if (found.size() > std::size_t(limits.max_layers))
    return Error{"stack.xml lists more than " + std::to_string(limits.max_layers) + " layers"};
  std::uint64_t pixels = 0;
  for (xmlNode* n : found) TRY(read_layer(zip, n, limits, &pixels, &image.layers.emplace_back()));
  return image;
}

}  // namespace io
