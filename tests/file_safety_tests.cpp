// Files are never lost or half-read: names pick the kind by their last
// extension, saves keep links, permissions and nothing stale, reads refuse
// what is not a regular file or not a whole picture, and a picture too large
// for a canvas is refused before it costs memory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <vector>

#include "document/image_export.h"
#include "document/image_import.h"
#include "io/atomic_file.h"
#include "io/file_kind.h"
#include "io/jpeg.h"
#include "io/png16.h"
#include "io/png_import.h"
#include "tests/result_helpers.h"
#include "tests/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string read_text(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

Result<void> save(const std::string& path, const std::string& text) {
  io::AtomicFile f(path);
  if (!f.is_open() || !f.write(text.data(), text.size())) return Error{f.error()};
  return f.commit();
}

// The process's peak resident size in KiB, and a way to start measuring it
// afresh.
long peak_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}
bool reset_peak() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
  return bool(f.flush());
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void put_chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put_u32(out, uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put_u32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// A valid 1-bit grey PNG of side x side, all black: tiny as a file, a
// gigabyte once decoded to RGBA.
std::vector<uint8_t> huge_black_png(uint32_t side) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  put_u32(ihdr, side);
  put_u32(ihdr, side);
  ihdr.insert(ihdr.end(), {1, 0, 0, 0, 0});  // 1 bit, grey, deflate, no filter, no interlace
  put_chunk(png, "IHDR", ihdr);
  z_stream z{};
  deflateInit(&z, 9);
  const std::vector<uint8_t> row(1 + (side + 7) / 8, 0);
  std::vector<uint8_t> idat, buffer(1 << 16);
  for (uint32_t y = 0; y < side; ++y) {
    z.next_in = const_cast<Bytef*>(row.data());
    z.avail_in = uInt(row.size());
    const int flush = y + 1 == side ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = buffer.data();
      z.avail_out = uInt(buffer.size());
      deflate(&z, flush);
      idat.insert(idat.end(), buffer.data(), buffer.data() + (buffer.size() - z.avail_out));
    } while (z.avail_out == 0 || (flush == Z_FINISH && z.avail_in > 0));
  }
  deflateEnd(&z);
  put_chunk(png, "IDAT", idat);
  put_chunk(png, "IEND", {});
  return png;
}

}  // namespace

TEST(FileKind, OnlyTheLastExtensionCountsInAnyCase) {
  const struct {
    const char* name;
    io::FileKind kind;
  } cases[] = {
      {"painting.olp", io::FileKind::olp},
      {"old.pngs/painting.olp", io::FileKind::olp},
      {"a.png.olp", io::FileKind::olp},
      {"shot.PNG", io::FileKind::png},
      {"dir.olp/shot.png", io::FileKind::png},
      {"photo.JPG", io::FileKind::jpg},
      {"photo.jpeg", io::FileKind::jpg},
      {"Project.OlP", io::FileKind::olp},
      {"colours.PAL", io::FileKind::pal},
      {"earth.GpL", io::FileKind::gpl},
      {"settings.ols", io::FileKind::ols},
      {"painting.olp.bak", io::FileKind::unknown},
      {"painting.olpx", io::FileKind::unknown},
      {"x.png/painting", io::FileKind::unknown},
      {".png", io::FileKind::unknown},
      {"dir/.olp", io::FileKind::unknown},
      {"", io::FileKind::unknown},
  };
  for (const auto& c : cases) EXPECT_EQ(io::file_kind(c.name), c.kind) << c.name;
  EXPECT_EQ(document::png_pair_name("shot.PNG", "_col.png"), "shot_col.png");
  EXPECT_EQ(document::png_pair_name("a.pngs/shot.png", "_mat.png"), "a.pngs/shot_mat.png");
}

// A save through a symbolic link updates the file it names and keeps the
// link; a replaced file keeps its permissions.
TEST(AtomicFile, WritesThroughLinksAndKeepsPermissions) {
  TempDir dir;
  fs::create_directory(dir / "real");
  write_text(dir / "real/painting.olp", "old");
  fs::create_symlink("real/painting.olp", dir / "link.olp");
  fs::create_symlink("real/new.olp", dir / "dangling.olp");
  ASSERT_TRUE(succeeded(save(dir / "link.olp", "new through the link")));
  EXPECT_TRUE(fs::is_symlink(dir / "link.olp"));
  EXPECT_EQ(read_text(dir / "real/painting.olp"), "new through the link");
  ASSERT_TRUE(succeeded(save(dir / "dangling.olp", "made at the target")));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.olp"));
  EXPECT_EQ(read_text(dir / "real/new.olp"), "made at the target");

  for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0755)}) {
    write_text(dir / "private.olp", "old");
    ASSERT_EQ(chmod((dir / "private.olp").c_str(), mode), 0);
    ASSERT_TRUE(succeeded(save(dir / "private.olp", "new")));
    struct stat st {};
    ASSERT_EQ(stat((dir / "private.olp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
    EXPECT_EQ(read_text(dir / "private.olp"), "new");
  }
  // Only the target and the link: no temporary is left behind.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"dangling.olp", "link.olp", "private.olp", "real"}));
}

// What killed saves of a name left behind goes at its next save; anything
// else, a save of that name still running included, stays.
TEST(AtomicFile, RemovesOnlyItsOwnStaleTemporaries) {
  TempDir dir;
  const std::vector<std::string> stale = {".painting.olp.ollan-tmp-a1b2c3", ".painting.olp.ollan-tmp-ZZZZZZ"};
  const std::vector<std::string> kept = {".painting.olp.ollan-tmp-abcdefg", ".painting.olp.ollan-tmp-abc",
                                         ".other.olp.ollan-tmp-a1b2c3",     "painting.olp.tmp-a1b2c3",
                                         ".painting.olp.ollan-tmp-locked",  "painting.olp.ollan-tmp-a1b2c3"};
  for (const std::string& n : stale) write_text(dir / n, "stale");
  for (const std::string& n : kept) write_text(dir / n, "keep");
  fs::create_directory(dir / ".painting.olp.ollan-tmp-folder");
  // A save of the same name still running holds the lock on its temporary.
  const int held = open((dir / ".painting.olp.ollan-tmp-locked").c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);

  ASSERT_TRUE(succeeded(save(dir / "painting.olp", "saved")));
  close(held);
  for (const std::string& n : stale) EXPECT_FALSE(fs::exists(dir / n)) << n;
  for (const std::string& n : kept) EXPECT_EQ(read_text(dir / n), "keep") << n;
  EXPECT_TRUE(fs::is_directory(dir / ".painting.olp.ollan-tmp-folder"));
  EXPECT_EQ(read_text(dir / "painting.olp"), "saved");
}

// A FIFO, a folder or a device is refused at once, without opening it (a
// FIFO would wait for a writer for ever).
TEST(ReadFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "pipe.olp").c_str(), 0600), 0);
  fs::create_symlink("pipe.olp", dir / "link-to-pipe.png");
  fs::create_directory(dir / "folder.olp");
  for (const std::string& path : {dir / "pipe.olp", dir / "link-to-pipe.png", dir / "folder.olp",
                                  std::string("/dev/zero"), dir / "missing.olp"}) {
    auto result = std::async(std::launch::async, [path] {
      Result<std::vector<uint8_t>> bytes = io::read_file(path);
      return std::make_pair(bytes.ok(), message_of(bytes));
    });
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      // Let the blocked reader go, or the test could not end.
      const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) close(writer);
      FAIL() << path << ": the read is still waiting";
    }
    const auto [ok, error] = result.get();
    EXPECT_FALSE(ok) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
}

// libjpeg fills a picture cut in its scan with grey and only warns; that is
// a failed read.
TEST(Jpeg, CutOrCorruptScanIsAFailedRead) {
  std::vector<uint8_t> rgb(64 * 48 * 3);
  std::mt19937 rng(3);
  for (uint8_t& v : rgb) v = uint8_t(rng());
  const std::vector<uint8_t> good = *io::jpeg_encode(rgb, 64, 48, 100);
  ASSERT_TRUE(succeeded(io::jpeg_decode(good)));
  const std::vector<uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(good.size() * 6 / 10));
  const std::string error = message_of(io::jpeg_decode(cut));
  EXPECT_NE(error.find("Premature end"), std::string::npos) << error;
  // A marker-like byte pair in the middle of the scan data.
  std::vector<uint8_t> corrupt = good;
  corrupt[corrupt.size() / 2] = 0xFF;
  corrupt[corrupt.size() / 2 + 1] = 0xD0 + 5;
  Result<io::Pixmap> damaged = io::jpeg_decode(corrupt);
  ASSERT_FALSE(damaged);
  EXPECT_FALSE(damaged.error().message.empty());
}

// A small file claiming a picture larger than any canvas is refused from
// its header: the peak memory of the attempt stays far below what decoding
// it would take (16384 x 16384 x 4 bytes, 1 GiB).
TEST(PictureImport, HugePictureIsRefusedBeforeDecoding) {
  TempDir dir;
  const std::vector<uint8_t> png = huge_black_png(16384);
  ASSERT_LT(png.size(), 1u << 20);
  {
    std::ofstream f(dir / "huge.png", std::ios::binary);
    f.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }
  ASSERT_TRUE(reset_peak());
  const long before = peak_kib();
  ASSERT_GT(before, 0);
  const std::string error = message_of(document::load_picture(dir / "huge.png"));
  EXPECT_FALSE(error.empty());
  const long grown_mib = (peak_kib() - before) / 1024;
  EXPECT_LT(grown_mib, 64) << "the refused picture cost " << grown_mib << " MiB";
  EXPECT_NE(error.find("16384 x 16384"), std::string::npos) << error;
}

// A write the disk refuses says why; the file size limit stands in for a
// full disk.
TEST(Png16, AFailedWriteGivesTheSystemsReason) {
  TempDir dir;
  std::vector<float> samples(std::size_t(256) * 256 * 3);
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> u(0, 1);
  for (float& s : samples) s = u(rng);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16384;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const Result<void> written = io::png16_write(dir / "full.png", samples, 256, 256, 3);
  const bool ok = written.ok();
  const std::string error = message_of(written);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir / "full.png"));
}
