#include "tools/qivtool/plot_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "tools/qivtool/plot_drawing.h"

namespace qiv::qivtool {
namespace {

constexpr const char* kModuleName = "qivtool-plot.so";

Failure CannotLoad(const std::string& path, const std::string& reason) {
    return Failure::Details{FileProblem::Refused, FileRole::Input, path,
                            "Cannot load " + path + ", which draws the plots: " + reason};
}

}  // namespace

PlotDrawer LoadPlotDrawer() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = program.parent_path();
    const std::vector<std::filesystem::path> places{
        folder / kModuleName, folder / QIVTOOL_PLOT_FROM_BINDIR / kModuleName};
    std::string reason = "not found";
    std::string tried = (folder / QIVTOOL_PLOT_FROM_BINDIR / kModuleName).lexically_normal();
    for (const std::filesystem::path& place : places) {
        if (!std::filesystem::exists(place, error)) {
            continue;
        }
        tried = place.lexically_normal();
        // The module stays loaded for the rest of the run: Qt may not be unloaded.
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            reason = dlerror();
            continue;
        }
        if (auto* entry = reinterpret_cast<DrawPlotEntry>(dlsym(module, kDrawPlotSymbol))) {
            return [entry](rastel::ViewerState& state, rastel::LevelMapping kind,
                           const std::string& output) {
                Failure result;
                entry(&state, kind, &output, &result);
                return result;
            };
        }
        reason = "it has no " + std::string(kDrawPlotSymbol);
    }
    return [tried, reason](rastel::ViewerState&, rastel::LevelMapping, const std::string&) {
        return CannotLoad(tried, reason);
    };
}

}  // namespace qiv::qivtool
