// The window shape of a 530 x 386 skinned frame: the batched run scan
// against uniting every opaque pixel on its own.
#include <benchmark/benchmark.h>

#include "skin/skin_shape.h"

namespace corvane::skin {
namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

// Rounded top corners, keyed corners on the sides and the bottom, two states.
const SkinModel& Frame() {
  static const SkinModel m = [] {
    SkinModel s;
    Bitmap32 top(120, 60, 0xFF4060A0u);
    for (int st = 0; st < 2; ++st)
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8 - y; ++x) {
          top.Set(x, st * 30 + y, kMagenta);
          top.Set(119 - x, st * 30 + y, kMagenta);
        }
    s.Frames[kFrameTop].Image = top;
    s.Frames[kFrameTop].FrameCount = 2;
    s.Frames[kFrameTop].LeftWidth = s.Frames[kFrameTop].RightWidth = 12;
    Bitmap32 side(8, 40, 0xFF304070u);
    for (int y = 36; y < 40; ++y) side.Set(0, y, kMagenta), side.Set(4, y, kMagenta);
    s.Frames[kFrameLeft].Image = side;
    s.Frames[kFrameLeft].FrameCount = 2;
    s.Frames[kFrameLeft].TopHeight = s.Frames[kFrameLeft].BottomHeight = 4;
    s.Frames[kFrameRight] = s.Frames[kFrameLeft];
    Bitmap32 bottom(40, 5, 0xFF304070u);
    for (int x = 0; x < 3; ++x) bottom.Set(x, 4, kMagenta), bottom.Set(39 - x, 4, kMagenta);
    s.Frames[kFrameBottom].Image = bottom;
    s.Frames[kFrameBottom].FrameCount = 1;
    s.Frames[kFrameBottom].LeftWidth = s.Frames[kFrameBottom].RightWidth = 4;
    for (auto& f : s.Frames) f.Trans = f.Tile = 1;
    return s;
  }();
  return m;
}

ShapeInput Input() {
  ShapeInput in;
  in.width = 530;
  in.height = 386;
  in.frame = ComputeFrameMetrics(Frame(), kFrameSizeable, 0);
  return in;
}

void BM_ShapeBatchedRuns(benchmark::State& state) {
  const ShapeInput in = Input();
  std::int64_t rects = 0;
  for (auto _ : state) {
    PixelRegion region;
    BuildWindowShape(Frame(), in, [&](const Rect* r, std::size_t n) {
      region.AddRects(r, n);
      rects += static_cast<std::int64_t>(n);
    });
    benchmark::DoNotOptimize(region.Area());
  }
  state.counters["rects"] = static_cast<double>(rects) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShapeBatchedRuns)->Unit(benchmark::kMicrosecond);

void BM_ShapeNaivePerPixel(benchmark::State& state) {
  const ShapeInput in = Input();
  const FrameMetrics& f = in.frame;
  for (auto _ : state) {
    PixelRegion region;
    for (int p = 0; p < 4; ++p) {
      const FramePiece piece = static_cast<FramePiece>(p);
      const Bitmap32 image = RenderFramePiece(Frame(), piece, in.width, in.height, f, true);
      const Rect place = FramePieceRect(piece, in.width, in.height, f);
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
          if (!IsShapeTransparent(image.At(x, y)))
            region.AddRect({place.left + x, place.top + y, place.left + x + 1, place.top + y + 1});
    }
    for (int y = f.top; y < in.height - f.bottom; ++y)
      for (int x = f.left; x < in.width - f.right; ++x) region.AddRect({x, y, x + 1, y + 1});
    benchmark::DoNotOptimize(region.Area());
  }
}
BENCHMARK(BM_ShapeNaivePerPixel)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvane::skin
