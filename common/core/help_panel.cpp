#include "common/core/help_panel.h"

namespace qiv {

void PrintHelp(Canvas& area, std::span<const std::string_view> lines) {
    area.Clear();
    for (const std::string_view line : lines) {
        area.PrintLine(line);
    }
}

}  // namespace qiv
