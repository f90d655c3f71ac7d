// qivtool-plot.so: the entry point through which qivtool reaches DrawPlotPng. Everything the
// module holds is linked into it; only this entry point is seen from outside.
#include "tools/qivtool/plot_drawing.h"

extern "C" __attribute__((visibility("default"))) void QivtoolDrawPlotPng(
    qiv::rastel::ViewerState* state, qiv::rastel::LevelMapping kind, const std::string* output,
    qiv::Failure* result) {
    *result = qiv::qivtool::DrawPlotPng(*state, kind, *output);
}
