// The editor's drawing work per event: the whole 32x32 grid (1024 dotted
// rectangles, what opening the editor and each size switch cost) and one
// painted cell (what every mouse move of a drag costs).
#include <benchmark/benchmark.h>

#include <algorithm>

#include "app/state.h"
#include "editor/editor_window.h"
#include "icon/templates.h"
#include "main_window/main_window.h"
#include "ui/dialogs.h"

namespace tavo {
namespace {

class NoDialogs : public Dialogs {
 public:
  int messageBox(const QString&, int, const QString&) override { return mb::kOk; }
  bool openFileDialog(FileDialogSettings&) override { return false; }
  std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
};

// An editor set up as the 编辑 button leaves it after a conversion of both sizes.
struct OpenEditor {
  AppState state;
  NoDialogs dialogs;
  MainWindow main{state, dialogs};
  std::unique_ptr<EditorWindow> editor;

  OpenEditor() {
    main.单选框3->setChecked(true);
    state.pixels16.resize(layout::kPixels16);
    state.pixels32.resize(layout::kPixels32);
    for (std::size_t i = 0; i < state.pixels32.size(); ++i) state.pixels32[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t i = 0; i < state.pixels16.size(); ++i) state.pixels16[i] = static_cast<std::uint8_t>(i * 5);
    state.outputIcon = templateBoth();
    state.grid16 = gridFromPixels(state.pixels16, 16);
    state.grid32 = gridFromPixels(state.pixels32, 32);
    editor = std::make_unique<EditorWindow>(state, main, dialogs);
    editor->created();
  }
};

void BM_DrawGrid32(benchmark::State& st) {
  OpenEditor open;
  for (auto _ : st) {
    open.editor->drawGrid(2);
    benchmark::DoNotOptimize(open.editor->画板1->backing().data());
  }
  st.SetItemsProcessed(st.iterations() * 1024);  // rectangles
}
BENCHMARK(BM_DrawGrid32)->Unit(benchmark::kMicrosecond);

// One cell of a drag: rectangle, grid element, preview point, icon patch.
void BM_PaintCell(benchmark::State& st) {
  OpenEditor open;
  const int size = static_cast<int>(st.range(0));
  open.state.editSize = size;
  open.editor->pressed_画板1(0, 0);  // chooses the pen as a press does
  int x = 0;
  for (auto _ : st) {
    open.editor->paintCell(x, (x * 3) & 255);
    x = (x + 9) & 255;
  }
  st.SetLabel(size == 1 ? "16x16 grid, 16-pixel cells" : "32x32 grid, 8-pixel cells");
}
BENCHMARK(BM_PaintCell)->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace tavo
