#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/tablet.h"
#include "platform/tablet_script.h"
#include "platform/tablet_xinput.h"

using namespace platform;

namespace {

constexpr TabletWindow test_window = 42;

// A stylus as a Wacom-style X driver lists it, and its eraser end.
XiDevice stylus_device(int id, const std::string& name, bool tilt = true) {
  XiDevice d;
  d.id = id;
  d.name = name;
  d.slave_pointer = true;
  d.valuators = {{0, "Abs X", 0, 44704}, {1, "Abs Y", 0, 27940}, {2, "Abs Pressure", 0, 2047}};
  if (tilt) {
    d.valuators.push_back({3, "Abs Tilt X", -64, 63});
    d.valuators.push_back({4, "Abs Tilt Y", -64, 63});
  }
  return d;
}

XiDevice plain_mouse(int id) {
  XiDevice d;
  d.id = id;
  d.name = "Logitech USB Optical Mouse";
  d.slave_pointer = true;
  d.valuators = {{0, "Rel X", -1, -1}, {1, "Rel Y", -1, -1}};
  return d;
}

XiMotion motion(int device, std::uint32_t time, std::vector<std::pair<int, double>> values, std::uint32_t buttons = 1) {
  return XiMotion{device, time, std::move(values), buttons};
}

// Installs XInput pens made of `devices` and opens the module on them.
XInputPenTablet* open_pens(const std::vector<XiDevice>& devices) {
  std::vector<XiPen> found = find_pens(devices);
  std::vector<int> others = other_pointers(devices, found);
  auto pens = std::make_unique<XInputPenTablet>(std::move(found), std::move(others), test_window);
  XInputPenTablet* raw = pens.get();
  tablet::start(std::move(pens));
  testing::internal::CaptureStdout();
  const int opened = tablet::open(0);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(printed, "");
  return raw;
}

TPacketTabletDriver& packet_driver() {
  return dynamic_cast<TPacketTabletDriver&>(*tablet_state.driver);
}

// A library that fails exactly one way.
enum class Fault { none, no_tablet, no_window, no_device_name, no_default_context, open_fails, close_fails };

class FaultyLibrary final : public PacketTablet {
 public:
  FaultyLibrary(Fault fault, TabletDescription d)
      : PacketTablet(std::move(d), fault == Fault::no_window ? 0 : test_window), fault_(fault) {}
  unsigned WTInfoA(unsigned category, unsigned index, void* out, std::size_t capacity) override {
    if (fault_ == Fault::no_tablet) return 0;
    if (fault_ == Fault::no_device_name && category == WTI_DEVICES && index == DVC_NAME) return 0;
    if (fault_ == Fault::no_default_context && category == WTI_DEFSYSCTX && index == 0) return 0;
    return PacketTablet::WTInfoA(category, index, out, capacity);
  }
  std::uint32_t WTOpenA(TabletWindow w, const tagLOGCONTEXT& c, bool e) override {
    return fault_ == Fault::open_fails ? 0 : PacketTablet::WTOpenA(w, c, e);
  }
  bool WTClose(std::uint32_t c) override { return fault_ == Fault::close_fails ? false : PacketTablet::WTClose(c); }

 private:
  Fault fault_;
};

TabletDescription simple_description(std::int32_t azimuth_max = 3600, std::int32_t altitude_max = 900) {
  TabletDescription d;
  d.interface_name = "Test tablet";
  d.device_name = "Test pen";
  d.cursor_names = {"Puck", "Pen", "Eraser"};
  d.x.axMax = 1000;
  d.y.axMax = 500;
  d.normal_pressure.axMax = 1023;
  d.orientation[0].axMax = azimuth_max;
  d.orientation[1].axMax = altitude_max;
  return d;
}

class Tablet : public testing::Test {
 protected:
  void SetUp() override {
    tablet::set_mouse([this] { return mouse; });
  }
  void TearDown() override {
    tablet::start(nullptr);
    tablet::set_mouse(nullptr);
  }
  MouseReading mouse;
};

}  // namespace

TEST(TabletRecords, LogContextBanksAtItsOffsets) {
  tagLOGCONTEXT c;
  c.set_name("a context name that is far longer than forty bytes");
  c.lcOptions = 0x11223344;
  c.lcPktData = 0x3FFF;
  c.lcInOrgX = -5;
  c.lcOutExtY = -27940;
  c.lcSensX = 0x10000;
  c.lcSysMode = 1;
  c.lcSysSensY = -2;
  unsigned char bank[tagLOGCONTEXT::bank_size + 4];
  std::memset(bank, 0xEE, sizeof bank);
  c.toBank(bank);

  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bank)), std::string(c.lcName));
  EXPECT_EQ(std::strlen(c.lcName), 39u);
  const struct {
    int field;  // position in the record after the name
    std::uint32_t value;
  } fields[] = {{0, 0x11223344}, {6, 0x3FFF}, {11, std::uint32_t(-5)}, {21, std::uint32_t(-27940)},
                {23, 0x10000},   {26, 1},     {32, std::uint32_t(-2)}, {1, 0}};
  for (const auto& f : fields) EXPECT_EQ(get_u32(bank + 40 + 4 * f.field), f.value) << "field " << f.field;
  EXPECT_EQ(bank[0x28], 0x44) << "little-endian";
  EXPECT_EQ(bank[tagLOGCONTEXT::bank_size], 0xEE) << "wrote past the record";

  tagLOGCONTEXT back;
  back.fromBank(bank);
  EXPECT_STREQ(back.lcName, c.lcName);
  unsigned char again[tagLOGCONTEXT::bank_size];
  back.toBank(again);
  EXPECT_EQ(std::memcmp(bank, again, tagLOGCONTEXT::bank_size), 0);
  EXPECT_EQ(back.lcInOrgX, -5);
  EXPECT_EQ(back.lcOutExtY, -27940);
  EXPECT_EQ(back.lcSysSensY, -2);
}

TEST(TabletRecords, PacketTextNamesEveryField) {
  tagPACKET p;
  p.pkRoYaw = -7;
  p.pkNormalPressure = 512;
  const std::string text = p.to_string();
  for (const char* name : {"pkContext", "pkStatus", "pkTime", "pkChanged", "pkSerialNumber", "pkCursor", "pkButtons",
                           "pkX", "pkY", "pkZ", "pkNormalPressure", "pkTangentPressure", "pkOrAzimuth", "pkOrAltitude",
                           "pkOrTwist", "pkRoPitch", "pkRoRoll", "pkRoYaw"})
    EXPECT_NE(text.find(std::string(name) + ": "), std::string::npos) << name;
  EXPECT_NE(text.find("pkRoYaw: -7"), std::string::npos);
  EXPECT_NE(text.find("pkNormalPressure: 512"), std::string::npos);
}

TEST(TabletXInput, TiltBecomesAzimuthAndAltitude) {
  const struct {
    double tilt_x, tilt_y, azimuth, altitude;
  } cases[] = {
      {0, 0, 0, 90},   {45, 0, 90, 45},       {-45, 0, 270, 45},   {0, 45, 180, 45},
      {0, -45, 0, 45}, {30, -30, 45, 50.768}, {89.99, 0, 90, 0.1},
  };
  for (const auto& c : cases) {
    double azimuth = -1, altitude = -1;
    tilt_to_orientation(c.tilt_x, c.tilt_y, &azimuth, &altitude);
    EXPECT_NEAR(azimuth, c.azimuth, 0.01) << c.tilt_x << "," << c.tilt_y;
    EXPECT_NEAR(altitude, c.altitude, 0.01) << c.tilt_x << "," << c.tilt_y;
    EXPECT_GT(altitude, 0);
    EXPECT_LE(altitude, 90);
  }
  // Leaning both ways lowers the pen more than either lean alone.
  double a = 0, both = 0, one = 0;
  tilt_to_orientation(30, 30, &a, &both);
  tilt_to_orientation(30, 0, &a, &one);
  EXPECT_LT(both, one);
}

TEST(TabletXInput, FindsStylusesBeforeErasersAndSkipsOtherDevices) {
  XiDevice master = stylus_device(2, "Virtual core pointer");
  master.slave_pointer = false;
  const std::vector<XiDevice> devices = {master, plain_mouse(9), stylus_device(12, "Wacom Intuos Pen eraser", false),
                                         stylus_device(11, "Wacom Intuos Pen stylus")};
  const std::vector<XiPen> pens = find_pens(devices);
  ASSERT_EQ(pens.size(), 2u);
  EXPECT_EQ(pens[0].id, 11);
  EXPECT_FALSE(pens[0].eraser);
  EXPECT_EQ(pens[0].tilt_x, 3);
  EXPECT_EQ(pens[1].id, 12);
  EXPECT_TRUE(pens[1].eraser);
  EXPECT_EQ(pens[1].tilt_x, -1);
  EXPECT_EQ(describe_pens(pens).device_name, "Wacom Intuos Pen stylus");
  EXPECT_TRUE(find_pens({plain_mouse(3), master}).empty());
}

TEST(TabletXInput, EventMasksGiveTheValuatorsAndButtonsTheyCarry) {
  // Valuators 0, 2 and 9 carried; buttons 1 and 3 held (bit 0 of a button mask is no button).
  const unsigned char valuators[2] = {0b00000101, 0b00000010};
  const double values[3] = {120.5, 800, -12};
  const unsigned char buttons[1] = {0b00001011};
  const XiMotion m = motion_from_masks(11, 77, valuators, 2, values, buttons, 1);
  EXPECT_EQ(m.device, 11);
  EXPECT_EQ(m.time, 77u);
  const std::vector<std::pair<int, double>> want = {{0, 120.5}, {2, 800}, {9, -12}};
  EXPECT_EQ(m.values, want);
  EXPECT_EQ(m.buttons, 0b101u);
  const XiMotion empty = motion_from_masks(3, 1, nullptr, 0, nullptr, nullptr, 0);
  EXPECT_TRUE(empty.values.empty());
  EXPECT_EQ(empty.buttons, 0u);
}

TEST_F(Tablet, ValuatorsScaleToPressurePositionAndTilt) {
  XInputPenTablet* pens = open_pens({stylus_device(11, "Pen stylus")});
  const struct {
    double x, y, pressure, tilt_x, tilt_y;
    float want_x, want_y, want_pressure, want_azimuth, want_altitude;
  } cases[] = {
      {0, 0, 2047, 0, 0, 0, 0, 1, 0, 90},
      {44704, 27940, 0, 45, 0, 1, 1, 0, 90, 45},
      {22352, 13970, 1023.5, 0, 45, 0.5f, 0.5f, 0.5f, 180, 45},
      {11176, 6985, 4000, -45, 0, 0.25f, 0.25f, 1, 270, 45},  // past the maximum: full pressure
  };
  std::uint32_t time = 1000;
  for (const auto& c : cases) {
    pens->on_motion(motion(11, time += 5, {{0, c.x}, {1, c.y}, {2, c.pressure}, {3, c.tilt_x}, {4, c.tilt_y}}));
    EXPECT_NEAR(tablet::x(), c.want_x, 1e-3) << c.x;
    EXPECT_NEAR(tablet::y(), c.want_y, 1e-3) << c.y;
    EXPECT_NEAR(tablet::normal_pressure(), c.want_pressure, 1e-3) << c.pressure;
    EXPECT_NEAR(tablet::tilt_x(), c.want_azimuth, 0.1) << c.tilt_x << "," << c.tilt_y;
    EXPECT_NEAR(tablet::tilt_y(), c.want_altitude, 0.1) << c.tilt_x << "," << c.tilt_y;
    EXPECT_EQ(tablet::cursor(), 1);
    EXPECT_EQ(tablet::time(), int(time));
  }
  // An event carrying only the pressure keeps the other valuators' last values.
  pens->on_motion(motion(11, time += 5, {{2, 0}}));
  EXPECT_NEAR(tablet::normal_pressure(), 0, 1e-3);
  EXPECT_NEAR(tablet::x(), 0.25f, 1e-3);
  EXPECT_NEAR(tablet::tilt_x(), 270, 0.1);
}

TEST_F(Tablet, AnOrientationMaximumOfZeroKeepsTiltAtZero) {
  // From X: a pen without tilt valuators.
  XInputPenTablet* pens = open_pens({stylus_device(11, "Pen stylus", false)});
  EXPECT_EQ(packet_driver().scaleTiltX, 0);
  EXPECT_EQ(packet_driver().scaleTiltY, 0);
  pens->on_motion(motion(11, 10, {{2, 2047}}));
  EXPECT_NEAR(tablet::normal_pressure(), 1, 1e-3);
  EXPECT_EQ(tablet::tilt_x(), 0);
  EXPECT_EQ(tablet::tilt_y(), 0);

  // From any library: packets that carry orientation the axes deny.
  auto lib = std::make_unique<FaultyLibrary>(Fault::none, simple_description(0, 0));
  FaultyLibrary* raw = lib.get();
  tablet::start(std::move(lib));
  ASSERT_EQ(tablet::open(0), 1);
  tagPACKET p;
  p.pkOrAzimuth = 900;
  p.pkOrAltitude = 450;
  p.pkNormalPressure = 1023;
  raw->post(p, 5);
  EXPECT_EQ(tablet::tilt_x(), 0);
  EXPECT_EQ(tablet::tilt_y(), 0);
  EXPECT_NEAR(tablet::normal_pressure(), 1, 1e-6);
  EXPECT_EQ(packet_driver().scaleTiltX, 0);
  EXPECT_TRUE(std::isfinite(packet_driver().scaleTiltX));
}

TEST_F(Tablet, QueuedPacketsGiveTheLastOnesValues) {
  XiDevice master = stylus_device(2, "Virtual core pointer");
  master.slave_pointer = false;
  XInputPenTablet* pens =
      open_pens({master, plain_mouse(9), stylus_device(11, "Pen stylus"), stylus_device(12, "Pen eraser")});
  EXPECT_EQ(pens->pointers(), std::vector<int>{9});
  // Three packets within one frame, two of them in the same millisecond.
  pens->on_motion(motion(11, 500, {{2, 200}}));
  pens->on_motion(motion(11, 500, {{2, 600}}));
  pens->on_motion(motion(12, 503, {{2, 1500}, {3, 20}}));
  EXPECT_EQ(pens->queued(), 3u);
  const int time = tablet::time();
  EXPECT_EQ(pens->queued(), 0u) << "the first getter drains the queue";
  EXPECT_EQ(time, 503);
  EXPECT_NEAR(tablet::normal_pressure(), 1500.0 / 2047, 1e-3);
  EXPECT_EQ(tablet::cursor(), 2) << "the eraser end";
  EXPECT_NEAR(tablet::tilt_x(), 90, 0.1);
  EXPECT_EQ(tablet::time(), time) << "no packet, no new time";

  // Same server time twice: the packet time still moves on.
  pens->on_motion(motion(11, 503, {{2, 100}}));
  EXPECT_GT(tablet::time(), time);
  EXPECT_EQ(tablet::cursor(), 1);
  EXPECT_EQ(packet_driver().GetSerialNumber(), 4);
  EXPECT_TRUE(tablet::changed() & PK_CURSOR);
  EXPECT_TRUE(tablet::changed() & PK_NORMAL_PRESSURE);
  EXPECT_FALSE(tablet::changed() & PK_X);

  // The master pointer repeats the pen's motion: that is no other pointer.
  pens->on_motion(motion(2, 590, {{0, 5}}));
  EXPECT_EQ(tablet::status() & TPS_PROXIMITY, 0);
  // The mouse moves: the pen is put away, once.
  pens->on_motion(motion(9, 600, {{0, 5}}));
  pens->on_motion(motion(9, 610, {{0, 6}}));
  EXPECT_EQ(tablet::time(), 600);
  EXPECT_TRUE(tablet::status() & TPS_PROXIMITY);
  EXPECT_EQ(tablet::normal_pressure(), 0);
  EXPECT_EQ(tablet::buttons(), 0);
}

TEST_F(Tablet, AQueueOverflowKeepsThePreviousValues) {
  auto lib = std::make_unique<PacketTablet>(simple_description(), test_window, 4);
  PacketTablet* raw = lib.get();
  tablet::start(std::move(lib));
  ASSERT_EQ(tablet::open(0), 1);
  tagPACKET p;
  p.pkNormalPressure = 256;
  raw->post(p, 1);
  EXPECT_NEAR(tablet::normal_pressure(), 256.0 / 1023, 1e-5);
  for (int i = 0; i < 6; ++i) {
    p.pkNormalPressure = 900 + i;
    raw->post(p, 10 + i);
  }
  EXPECT_EQ(raw->queued(), 4u);
  EXPECT_NEAR(tablet::normal_pressure(), 256.0 / 1023, 1e-5) << "the overflowed packet is not used";
  EXPECT_TRUE(tablet::status() & TPS_QUEUE_ERR);
  EXPECT_EQ(tablet::time(), 15);
  p.pkNormalPressure = 1023;
  raw->post(p, 20);
  EXPECT_NEAR(tablet::normal_pressure(), 1, 1e-5) << "the next whole packet is";
}

TEST_F(Tablet, EveryFailureFallsBackToTheMouse) {
  const struct {
    Fault fault;
    const char* printed;
  } cases[] = {
      {Fault::no_tablet, "No tablets connected!\n"},
      {Fault::no_window, "Failed to initialize tablet, no windows open!\n"},
      {Fault::no_device_name, "Failed to examine tablet!\n"},
      {Fault::no_default_context, "Tablet failed to initialize!\n"},
      {Fault::open_fails, "Tablet failed to initialize!\n"},
  };
  for (const auto& c : cases) {
    tablet::start(std::make_unique<FaultyLibrary>(c.fault, simple_description()));
    testing::internal::CaptureStdout();
    EXPECT_EQ(tablet::open(0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_TRUE(tablet::simulating_mouse()) << c.printed;

    mouse = {320, 45, 640, 90, true, false, true};
    EXPECT_EQ(tablet::normal_pressure(), 1);
    EXPECT_NEAR(tablet::x(), 0.5f, 1e-6);
    EXPECT_NEAR(tablet::y(), 0.5f, 1e-6);
    EXPECT_EQ(tablet::buttons(), 1 + 4);
    EXPECT_EQ(tablet::time(), 0) << "the mouse never looks like a live pen";
    EXPECT_EQ(tablet::cursor(), 0);
    EXPECT_EQ(tablet::close(), 1);
    EXPECT_EQ(tablet::info(), "Tablet not connected, running in MouseSim Mode!");
    mouse = {320, 45, 0, -1, false, true, false};
    EXPECT_EQ(tablet::normal_pressure(), 0);
    EXPECT_EQ(tablet::x(), 0) << "no surface";
    EXPECT_EQ(tablet::y(), 0);
    EXPECT_EQ(tablet::buttons(), 2);
  }

  // With no library at all.
  tablet::start(nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(tablet::open(0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No tablets connected!\n");

  tablet::start(std::make_unique<FaultyLibrary>(Fault::close_fails, simple_description()));
  ASSERT_EQ(tablet::open(0), 1);
  testing::internal::CaptureStdout();
  EXPECT_EQ(tablet::close(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Tablet failed to close!\n");
  EXPECT_TRUE(tablet::simulating_mouse());
}

TEST_F(Tablet, OpenGathersTheInterfaceReport) {
  open_pens({stylus_device(11, "Wacom Intuos Pen stylus")});
  const std::string opened = packet_driver().myInfo;
  EXPECT_NE(opened.find("Tablet interface provider: \"XInput2 pens\"\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("Supported # of devices: 1\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("Supported # of cursors: 3\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("Supported # of contexts: 1\n"), std::string::npos) << opened;
  EXPECT_STREQ(packet_driver().context.lcName, "Ollan pen");
  EXPECT_EQ(packet_driver().context.lcPktData, PK_ALL);
  EXPECT_EQ(packet_driver().context.lcBtnUpMask, 5u);

  const std::string info = tablet::info();
  EXPECT_NE(info.find("Wacom Intuos Pen stylus"), std::string::npos) << info;
  EXPECT_NE(info.find("PK_NORMAL_PRESSURE"), std::string::npos) << info;
  EXPECT_NE(info.find("Eraser"), std::string::npos) << info;
  EXPECT_FALSE(tablet::simulating_mouse());
  EXPECT_NE(packet_driver().hctx, 0u) << "the context is open again after the report";
  EXPECT_EQ(packet_driver().DebugWTPkt(PK_TIME | PK_ROTATION, "> "), "> PK_TIME\n> PK_ROTATION\n");
  EXPECT_EQ(TPacketTabletDriver::Fix2Float(0x18000), 1.5f);
}

TEST_F(Tablet, AWindowThatGoesAwayReopensTheContext) {
  XInputPenTablet* pens = open_pens({stylus_device(11, "Pen stylus")});
  pens->on_motion(motion(11, 10, {{2, 2047}}));
  EXPECT_NEAR(tablet::normal_pressure(), 1, 1e-3);
  const std::uint32_t first = packet_driver().hctx;
  pens->set_window(0);
  EXPECT_NEAR(tablet::normal_pressure(), 1, 1e-3) << "values stay while the window is gone";
  EXPECT_EQ(packet_driver().needRestart, 1);
  pens->set_window(test_window);
  tablet::time();
  EXPECT_EQ(packet_driver().needRestart, 0);
  EXPECT_NE(packet_driver().hctx, first);
  pens->on_motion(motion(11, 20, {{2, 0}}));
  EXPECT_NEAR(tablet::normal_pressure(), 0, 1e-3);
}

namespace {

class PenScript final : public Input {
 public:
  bool key_hit(std::string_view) override { return false; }
  bool key_down(std::string_view) override { return false; }
  void flush_keys() override {}
  void mouse_position(float* x, float* y) override { *x = mouse_x, *y = mouse_y; }
  int wheel() override { return 0; }
  void discard_wheel() override {}
  bool scripted_pen(PenSample* s) override {
    if (!live) return false;
    *s = sample;
    return true;
  }
  bool live = false;
  PenSample sample;
  float mouse_x = 0, mouse_y = 0;
};

}  // namespace

TEST_F(Tablet, ScriptedPenPacketsTakeTheDriversRoad) {
  PenScript script;
  tablet::start(std::make_unique<ScriptedPenTablet>(script, test_window, [](int* w, int* h) { *w = 320, *h = 180; }));
  ASSERT_EQ(tablet::open(0), 1);
  const struct {
    bool live;
    PenSample sample;
    bool new_packet;
    float pressure, azimuth, altitude;
    int cursor;
    bool near;  // in proximity
  } frames[] = {
      {true, {0.25f, 30, 60, false}, true, 0.25f, 30, 60, 1, true},
      {true, {0.5f, 30, 60, false}, true, 0.5f, 30, 60, 1, true},
      {false, {}, true, 0, 30, 60, 1, false},   // pen off: one packet takes it away
      {false, {}, false, 0, 30, 60, 1, false},  // then the time stands still
      {true, {1.5f, -90, 120, true}, true, 1, 270, 90, 2, true},
      {true, {1.5f, -90, 120, true}, true, 1, 270, 90, 2, true},  // a still pen still reports every frame
      {false, {}, true, 0, 270, 90, 2, false},
  };
  int time = tablet::time();
  for (const auto& f : frames) {
    script.live = f.live;
    script.sample = f.sample;
    if (f.live) script.mouse_x += 32, script.mouse_y += 9;
    tablet::next_frame();
    const int now = tablet::time();
    EXPECT_EQ(now != time, f.new_packet) << f.sample.pressure;
    time = now;
    EXPECT_NEAR(tablet::normal_pressure(), f.pressure, 1e-3);
    EXPECT_NEAR(tablet::tilt_x(), f.azimuth, 0.1);
    EXPECT_NEAR(tablet::tilt_y(), f.altitude, 0.1);
    EXPECT_EQ(tablet::cursor(), f.cursor);
    EXPECT_EQ((tablet::status() & TPS_PROXIMITY) == 0, f.near);
    EXPECT_NEAR(tablet::x(), script.mouse_x / 320, 1e-4) << "the pen is where the script's mouse is";
    EXPECT_NEAR(tablet::y(), script.mouse_y / 180, 1e-4);
  }
}
