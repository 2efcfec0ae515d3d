#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <string>
#include <vector>

#include "io/ora.h"
#include "tests/result_helpers.h"

namespace {

using Entry = std::pair<std::string, std::vector<uint8_t>>;

std::vector<uint8_t> text(const std::string& s) {
  return {s.begin(), s.end()};
}

// A zip of `entries` in order, written by libzip into memory; `stored` keeps
// every entry uncompressed.
std::vector<uint8_t> make_zip(const std::vector<Entry>& entries, bool stored = false) {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &ze);
  zip_source_keep(buffer);
  zip_t* z = zip_open_from_source(buffer, ZIP_TRUNCATE, &ze);
  for (const auto& [name, data] : entries) {
    zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
    const zip_int64_t at = zip_file_add(z, name.c_str(), s, 0);
    EXPECT_GE(at, 0) << name;
    if (stored) zip_set_file_compression(z, zip_uint64_t(at), ZIP_CM_STORE, 0);
  }
  EXPECT_EQ(zip_close(z), 0);
  zip_stat_t st;
  zip_source_stat(buffer, &st);
  std::vector<uint8_t> out(st.size);
  zip_source_open(buffer);
  zip_source_read(buffer, out.data(), out.size());
  zip_source_close(buffer);
  zip_source_free(buffer);
  return out;
}

// w x h RGBA floats: red rising left to right, green down the rows, blue
// `blue`, alpha 1 on the left half and 0.5 on the right.
std::vector<float> gradient(int w, int h, float blue) {
  std::vector<float> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.insert(px.end(), {float(x) / float(w - 1), float(y) / float(h - 1), blue, x < w / 2 ? 1.0f : 0.5f});
  return px;
}

std::vector<uint8_t> written_ora(int w, int h) {
  const std::vector<float> top = gradient(w, h, 0.25f), bottom = gradient(w, h, 0.75f);
  std::vector<float> merged(std::size_t(w) * h * 3, 0.5f);
  std::vector<io::OraLayerOut> layers{{"Top & \"quoted\"", false, 0.5f, 2, top}, {"Bottom", true, 1.0f, 0, bottom}};
  io::MemoryOutput out;
  EXPECT_TRUE(succeeded(io::write_ora(out, w, h, layers, merged)));
  return out.bytes;
}

// A PNG signature and header claiming w x h, with no pixel data after it.
std::vector<uint8_t> png_header(uint32_t w, uint32_t h) {
  std::vector<uint8_t> p{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {w, h})
    for (int s = 24; s >= 0; s -= 8) p.push_back(uint8_t(v >> s));
  p.insert(p.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
  return p;
}

std::string stack(const std::string& layers, const std::string& size = "w=\"4\" h=\"3\"") {
  return "<?xml version=\"1.0\"?><image " + size + "><stack>" + layers + "</stack></image>";
}

}  // namespace

TEST(Ora, WrittenArchiveReadsBackWithItsLayers) {
  const int w = 6, h = 4;
  const std::vector<uint8_t> bytes = written_ora(w, h);

  // The first entry is the stored mimetype, as readers find it at a fixed offset.
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(std::string(bytes.begin() + 30, bytes.begin() + 38), "mimetype");
  EXPECT_EQ(bytes[8], 0) << "mimetype is compressed";
  EXPECT_EQ(std::string(bytes.begin() + 38, bytes.begin() + 54), "image/openraster");

  Result<io::OraImage> read = io::read_ora(bytes, {});
  ASSERT_TRUE(succeeded(read));
  const io::OraImage& image = *read;
  EXPECT_EQ(image.width, w);
  EXPECT_EQ(image.height, h);
  ASSERT_EQ(image.layers.size(), 2u);
  const io::OraLayerIn& top = image.layers[0];
  EXPECT_EQ(top.name, "Top & \"quoted\"");
  EXPECT_FALSE(top.visible);
  EXPECT_EQ(top.opacity, 0.5f);
  EXPECT_EQ(top.style, 2);
  EXPECT_TRUE(image.layers[1].visible);
  EXPECT_EQ(image.layers[1].style, 0);
  const std::vector<float> expect = gradient(w, h, 0.25f);
  ASSERT_EQ(top.picture.width, w);
  ASSERT_EQ(top.picture.channels, 4);
  for (std::size_t i = 0; i < expect.size(); ++i)
    ASSERT_NEAR(top.picture.pixels[i] / 255.0f, expect[i], 1.0f / 255 + 1e-4f) << "sample " << i;
}

TEST(Ora, ThumbnailFitsIn256) {
  struct Case {
    int w, h, tw, th;
  } cases[] = {{1000, 300, 250, 75}, {256, 100, 256, 100}, {257, 10, 128, 5}, {3, 2000, 1, 250}};
  for (const Case& c : cases) {
    std::vector<float> px(std::size_t(c.w) * c.h, 1.0f);
    px[0] = 0;
    int tw = 0, th = 0;
    std::vector<float> t = io::box_shrink(px, c.w, c.h, 1, io::ora_thumbnail_side, &tw, &th);
    EXPECT_EQ(tw, c.tw) << c.w << "x" << c.h;
    EXPECT_EQ(th, c.th) << c.w << "x" << c.h;
    ASSERT_EQ(t.size(), std::size_t(tw) * th);
    const int step = (std::max(c.w, c.h) + 255) / 256;
    // The first box averages the one dark pixel with its bright neighbours.
    EXPECT_NEAR(t[0], step == 1 ? 0.0f : 1.0f - 1.0f / float(step * std::min(step, c.w)), 1e-5f);
  }
}

TEST(Ora, EntryNamesStayInsideTheArchive) {
  for (const char* ok : {"stack.xml", "data/layer0.png", "a/b/c.png", "..a/b..png"})
    EXPECT_TRUE(io::safe_entry_name(ok)) << ok;
  for (const char* bad : {"", "/etc/passwd", "../x.png", "data/../../x.png", "data//x.png", "./x.png", "data\\x.png",
                          "C:x.png", "data/.."})
    EXPECT_FALSE(io::safe_entry_name(bad)) << bad;
}

TEST(Ora, HostileAndDamagedArchivesAreRefused) {
  const std::vector<uint8_t> good = written_ora(4, 3);
  const std::vector<uint8_t> png = [&] {
    // Any valid 4 x 3 PNG: take the one written for the top layer.
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* s = zip_source_buffer_create(good.data(), good.size(), 0, &ze);
    zip_t* z = zip_open_from_source(s, ZIP_RDONLY, &ze);
    zip_stat_t st;
    zip_stat(z, "data/layer0.png", 0, &st);
    std::vector<uint8_t> out(st.size);
    zip_file_t* f = zip_fopen(z, "data/layer0.png", 0);
    zip_fread(f, out.data(), out.size());
    zip_fclose(f);
    zip_discard(z);
    return out;
  }();
  const Entry mime{"mimetype", text("image/openraster")};
  const std::string one_layer = "<layer name=\"a\" src=\"a.png\"/>";
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE image [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
      "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]>"
      "<image w=\"4\" h=\"3\"><stack><layer name=\"&g;\" src=\"a.png\"/></stack></image>";
  std::string many_layers;
  for (int i = 0; i < 5; ++i) many_layers += one_layer;
  std::vector<Entry> many_entries{mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png}};
  for (int i = 0; i < 20; ++i) many_entries.push_back({"pad" + std::to_string(i), text("x")});

  io::OraLimits small;
  small.max_layers = 4;
  small.max_entries = 16;
  small.max_entry_size = 1 << 20;
  small.max_total_size = 3 << 20;
  small.max_pixels = 100;

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* error;  // a phrase the message holds
  } cases[] = {
      {"not a zip", text("PK but not a zip at all"), "zip"},
      {"empty", {}, "empty"},
      {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)), "zip"},
      {"no mimetype", make_zip({{"stack.xml", text(stack(one_layer))}, {"a.png", png}}), "mimetype"},
      {"other mimetype", make_zip({{"mimetype", text("image/png")}, {"stack.xml", text(stack(one_layer))}}),
       "mimetype"},
      {"mimetype not first", make_zip({{"stack.xml", text(stack(one_layer))}, mime, {"a.png", png}}), "mimetype"},
      {"entry outside", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png}, {"../evil", png}}),
       "outside"},
      {"absolute entry", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"/etc/evil", png}}), "outside"},
      {"layer outside", make_zip({mime, {"stack.xml", text(stack("<layer src=\"../a.png\"/>"))}, {"a.png", png}}),
       "outside"},
      {"layer missing", make_zip({mime, {"stack.xml", text(stack("<layer src=\"b.png\"/>"))}, {"a.png", png}}),
       "no entry"},
      {"no stack.xml", make_zip({mime, {"a.png", png}}), "stack.xml"},
      {"broken xml", make_zip({mime, {"stack.xml", text("<image w=\"4\" h=\"3\"><stack>")}}), "XML"},
      {"not an image", make_zip({mime, {"stack.xml", text("<svg/>")}}), "image"},
      {"no size", make_zip({mime, {"stack.xml", text(stack(one_layer, ""))}, {"a.png", png}}), "size"},
      {"huge size", make_zip({mime, {"stack.xml", text(stack(one_layer, "w=\"99999\" h=\"3\""))}, {"a.png", png}}),
       "size"},
      {"no layers", make_zip({mime, {"stack.xml", text(stack(""))}}), "no layers"},
      {"too many layers", make_zip({mime, {"stack.xml", text(stack(many_layers))}, {"a.png", png}}), "more than 4"},
      {"too many entries", make_zip(many_entries), "entries"},
      {"bad opacity",
       make_zip({mime, {"stack.xml", text(stack("<layer src=\"a.png\" opacity=\"nan\"/>"))}, {"a.png", png}}),
       "opacity"},
      {"bad position", make_zip({mime, {"stack.xml", text(stack("<layer src=\"a.png\" x=\"1e9\"/>"))}, {"a.png", png}}),
       "position"},
      {"layer not a png", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", text("GIF89a")}}),
       "not a PNG"},
      {"huge png header", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png_header(9000, 2)}}),
       "larger than"},
      {"too many pixels", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png_header(11, 10)}}),
       "pixels"},
      {"damaged png", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png_header(4, 3)}}), "PNG"},
      {"zip bomb", make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", std::vector<uint8_t>(2 << 20, 0)}}),
       "unpacks to"},
      {"entity expansion", make_zip({mime, {"stack.xml", text(laughs)}, {"a.png", png}}), "stack.xml"},
      {"document type",
       make_zip({mime,
                 {"stack.xml", text("<!DOCTYPE image [<!ENTITY a \"a.png\">]><image w=\"4\" h=\"3\"><stack>"
                                    "<layer src=\"&a;\"/></stack></image>")},
                 {"a.png", png}}),
       "document type"},
  };
  for (const Case& c : cases) {
    Result<io::OraImage> image = io::read_ora(c.bytes, small);
    ASSERT_FALSE(image) << c.what;
    EXPECT_NE(image.error().message.find(c.error), std::string::npos) << c.what << ": " << image.error().message;
  }

  // The same small limits take a good archive.
  EXPECT_TRUE(
      succeeded(io::read_ora(make_zip({mime, {"stack.xml", text(stack(one_layer))}, {"a.png", png}}, true), small)));
}

TEST(Ora, LayerAttributesAndNestedStacks) {
  const std::vector<uint8_t> good = written_ora(4, 3);
  Result<io::OraImage> written = io::read_ora(good, {});
  ASSERT_TRUE(succeeded(written));
  // Any readable picture will do: re-encode nothing, take the archive's own.
  zip_error_t ze;
  zip_error_init(&ze);
  zip_t* z = zip_open_from_source(zip_source_buffer_create(good.data(), good.size(), 0, &ze), ZIP_RDONLY, &ze);
  zip_stat_t st;
  zip_stat(z, "data/layer1.png", 0, &st);
  std::vector<uint8_t> png(st.size);
  zip_file_t* f = zip_fopen(z, "data/layer1.png", 0);
  zip_fread(f, png.data(), png.size());
  zip_fclose(f);
  zip_discard(z);

  const std::string xml = stack(
      "<layer name=\"up\" src=\"p.png\" x=\"-2\" y=\"5\" opacity=\"7\" composite-op=\"svg:plus\"/>"
      "<stack><layer name=\"inner\" src=\"p.png\" opacity=\"-1\" visibility=\"hidden\"/></stack>"
      "<layer name=\"down\" src=\"p.png\" composite-op=\"svg:overlay\"/>");
  Result<io::OraImage> read =
      io::read_ora(make_zip({{"mimetype", text("image/openraster")}, {"stack.xml", text(xml)}, {"p.png", png}}), {});
  ASSERT_TRUE(succeeded(read));
  const io::OraImage& image = *read;
  ASSERT_EQ(image.layers.size(), 3u);
  EXPECT_EQ(image.layers[0].name, "up");
  EXPECT_EQ(image.layers[0].x, -2);
  EXPECT_EQ(image.layers[0].y, 5);
  EXPECT_EQ(image.layers[0].opacity, 1.0f);  // clamped
  EXPECT_EQ(image.layers[0].style, 1);
  EXPECT_EQ(image.layers[1].name, "inner");
  EXPECT_FALSE(image.layers[1].visible);
  EXPECT_EQ(image.layers[1].opacity, 0.0f);
  EXPECT_EQ(image.layers[2].name, "down");
  EXPECT_EQ(image.layers[2].style, 0);  // an operation the program has not: normal
  EXPECT_EQ(image.layers[2].picture.pixels, written->layers[1].picture.pixels);
}
