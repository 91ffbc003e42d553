// Shared pieces of the control-library tests: a canvas that records what is
// drawn, and helpers that send the messages a window would.
#pragma once
#include <string>
#include <vector>

#include "platform/memory/memory_system.h"
#include "ui/application.h"
#include "ui/control.h"
#include "ui/graphics.h"
#include "ui/headless.h"

namespace corvane::ui::testing {

class RecordingCanvas : public Canvas {
 public:
  void FillRect(const Rect& r, Color) override { Log("fill", r); }
  void FrameEdge(const Rect& r, Color, Color) override { Log("edge", r); }
  void DrawText(const Rect& r, std::string_view text, const Font&, unsigned) override {
    Log("text:" + std::string(text), r);
  }
  void DrawPicture(const Picture& p, const Rect& r, bool) override { Log("picture:" + p.name, r); }
  void Enter(const Rect& r) override {
    origins.push_back(origin);
    origin = {origin.x + r.left, origin.y + r.top};
  }
  void Restore() override {
    origin = origins.back();
    origins.pop_back();
  }

  // Each entry: what, and where on the surface (left, top).
  std::vector<std::string> ops;

 private:
  void Log(const std::string& what, const Rect& r) {
    ops.push_back(what + "@" + std::to_string(origin.x + r.left) + "," +
                  std::to_string(origin.y + r.top));
  }
  Point origin;
  std::vector<Point> origins;
};

inline void MouseMove(Control& c, int x, int y) { c.Perform(msg::kMouseMove, 0, PackPoint(x, y)); }
inline void LeftClick(Control& c, int x, int y) {
  c.Perform(msg::kLButtonDown, msg::kMkLButton, PackPoint(x, y));
  c.Perform(msg::kLButtonUp, 0, PackPoint(x, y));
}
// What the parent window sends back when the system reports a button click.
inline void WindowClick(Control& c) {
  c.Perform(msg::kReflectCommand, static_cast<std::uintptr_t>(msg::kButtonClicked) << 16);
}

struct AppFixture {
  explicit AppFixture(bool record_windows = false) : backend(record_windows), app(backend, user) {}
  HeadlessBackend backend;
  MemoryUserInteraction user;
  Application app;
};

}  // namespace corvane::ui::testing
