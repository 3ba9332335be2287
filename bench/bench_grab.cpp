// Grabbing an 831 x 543 container with 30 children (a grid of opaque and transparent
// controls of the control base, some of them framed) off-screen, beside a memcpy of the
// same image measured in the same run. The framework's own PaintTo of the same tree is
// measured too. The run ends with the ratios to memcpy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "backend/Backend.h"
#include "gx_grab.h"
#include "qvControls/CustomControl.h"
#include "vcl/Forms.h"
#include "win/Queue.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;
constexpr const char* kReference = "memcpy";

// A control of the control base that fills itself and draws a frame; transparent ones show
// their parent's pixels at the corners of a rounded face.
class TTile : public TqvCustomControl {
  QV_CLASS(TTile, TqvCustomControl)
  TTile(TComponent* AOwner, TColor Face, bool Transparent, bool Framed) : TqvCustomControl(AOwner), FFace(Face) {
    SetTransparentBackground(Transparent);
    FFramed = Framed;
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TqvCustomControl::CreateParams(Params);
    if (FFramed) Params.Style |= WS_BORDER;
  }
  void Draw(TCanvas* ACanvas, TqvsCtrlState) override {
    ACanvas->Brush()->SetColor(FFace);
    ACanvas->Pen()->SetColor(clBlack);
    if (TransparentBackground())
      ACanvas->RoundRect(0, 0, Width(), Height(), 12, 12);
    else
      ACanvas->Rectangle(0, 0, Width(), Height());
  }

 private:
  TColor FFace;
  bool FFramed = false;
};

class TBoard : public TqvCustomControl {
  QV_CLASS(TBoard, TqvCustomControl)
  explicit TBoard(TComponent* AOwner) : TqvCustomControl(AOwner) {
    SetTransparentBackground(false);
    SetControlStyle(ControlStyle() + csAcceptsControls);
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState) override {
    ACanvas->Brush()->SetColor(TColor(0xE8E0D8));
    ACanvas->FillRect({0, 0, Width(), Height()});
  }
};

// A window system with the container in a top-level window, built once.
struct Scene {
  HWND Top = nullptr;
  TWinControl* Host = nullptr;
  TBoard* Board = nullptr;

  Scene() {
    SetBackend(nullptr);
    Application = new TApplication(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "BenchGrabTop";
    RegisterClass(&wc);
    Top = CreateWindowEx(0, "BenchGrabTop", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 20, kHeight + 20, nullptr,
                         nullptr, nullptr, nullptr);
    Host = new TWinControl(nullptr);
    Host->SetControlStyle(Host->ControlStyle() + csAcceptsControls);
    Host->SetBounds(0, 0, kWidth + 20, kHeight + 20);
    Host->SetParentWindow(Top);
    Board = new TBoard(nullptr);
    Board->SetBounds(10, 10, kWidth, kHeight);
    Board->SetParent(Host);
    // Six columns by five rows of 120 x 90 tiles with gaps.
    const TColor faces[] = {TColor(0x3050C0), TColor(0x30A050), TColor(0xC07030), TColor(0x808080)};
    for (int i = 0; i < 30; ++i) {
      const int col = i % 6, row = i / 6;
      auto* tile = new TTile(nullptr, faces[i % 4], i % 3 == 1, i % 5 == 0);
      tile->SetBounds(15 + col * 135, 15 + row * 105, 120, 90);
      tile->SetParent(Board);
    }
    Application->ProcessMessages();
  }
  ~Scene() {
    delete Host;
    Application->Free();
    Application = nullptr;
    ResetWindowSystem();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_Memcpy(benchmark::State& state) { bench::MemcpyReference(state, size_t(kBytes)); }

void BM_GrabControlImage(benchmark::State& state) {
  TBoard* board = TheScene().Board;
  for (auto _ : state) {
    std::unique_ptr<TgxBitmap> image(GrabControlImage(board, {0, 0, kWidth, kHeight}));
    benchmark::DoNotOptimize(image->Bits());
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

// The framework's own copy of the same tree into a bitmap of the same size.
void BM_PaintTo(benchmark::State& state) {
  TBoard* board = TheScene().Board;
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(kWidth, kHeight);
  for (auto _ : state) {
    board->PaintTo(picture.Canvas()->Handle(), 0, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark(kReference, BM_Memcpy)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("GrabControlImage", BM_GrabControlImage)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("PaintTo", BM_PaintTo)->Unit(benchmark::kMicrosecond);

  const std::vector<bench::RunTime> times = bench::RunAndCollectTimes();
  if (const bench::RunTime* ref = bench::FindRun(times, kReference)) {
    std::fprintf(stderr, "\n831 x 543 with 30 children against memcpy of the image (%.1f us):\n", ref->CpuSeconds * 1e6);
    for (const bench::RunTime& t : times)
      if (&t != ref)
        std::fprintf(stderr, "%-20s %10.1f us %8.1f x\n", t.Name.c_str(), t.CpuSeconds * 1e6, t.CpuSeconds / ref->CpuSeconds);
  }
  benchmark::Shutdown();
  return 0;
}
