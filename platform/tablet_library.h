#pragma once
// The tablet library the driver talks to: the four WinTab calls the driver
// uses, and the window checks it needs. A missing library answers 0 to every
// call, which the driver reads as "no tablet".
#include <cstddef>
#include <cstdint>

#include "platform/tablet_records.h"

namespace platform {

// A native window handle; 0 for none.
using TabletWindow = std::uintptr_t;

class TabletLibrary {
 public:
  virtual ~TabletLibrary() = default;

  // Writes item `index` of `category` into `output` (at most `capacity` bytes)
  // and returns the bytes written; with a null `output` returns the size the
  // item needs. Category 0 index 0 answers non-zero when a tablet is present.
  // Integers are 4 bytes, strings end with a 0 byte, contexts and axes are
  // written in their bank form.
  virtual unsigned WTInfoA(unsigned category, unsigned index, void* output, std::size_t capacity) = 0;
  // Opens a context on `window`; 0 when it cannot.
  virtual std::uint32_t WTOpenA(TabletWindow window, const tagLOGCONTEXT& context, bool enabled) = 0;
  virtual bool WTClose(std::uint32_t context) = 0;
  // Moves up to `count` of the oldest queued packets into `packets`; returns
  // how many.
  virtual int WTPacketsGet(std::uint32_t context, int count, tagPACKET* packets) = 0;

  // The window a null handle stands for; 0 when no window is open.
  virtual TabletWindow active_window() = 0;
  // Whether `window` still exists.
  virtual bool window_exists(TabletWindow window) = 0;

  // Called once at the start of every frame, before the pen is sampled, so
  // that sources paced by frames (the scripted pen) post their packet.
  virtual void next_frame() {}
};

// The library of a system with no tablet support at all.
class NoTabletLibrary final : public TabletLibrary {
 public:
  unsigned WTInfoA(unsigned, unsigned, void*, std::size_t) override { return 0; }
  std::uint32_t WTOpenA(TabletWindow, const tagLOGCONTEXT&, bool) override { return 0; }
  bool WTClose(std::uint32_t) override { return false; }
  int WTPacketsGet(std::uint32_t, int, tagPACKET*) override { return 0; }
  TabletWindow active_window() override { return 0; }
  bool window_exists(TabletWindow) override { return false; }
};

}  // namespace platform
