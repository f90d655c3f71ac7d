#include "raster_viewer/core/node_entry.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/core/typed_number.h"
#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {
namespace {

std::optional<std::int16_t> AskNumber(Dialogs& dialogs, std::string_view prompt) {
    const std::optional<std::string> reply = dialogs.Prompt(prompt, kNodePromptX, kNodePromptY);
    if (!reply) {
        return std::nullopt;
    }
    const std::optional<double> number = WholeNumber(*reply);
    if (!number) {
        return std::nullopt;
    }
    return ToWidthSaturated<std::int16_t>(*number);
}

}  // namespace

CommandOutcome NodeEntry(ViewerState& state, Dialogs& dialogs) {
    const std::optional<std::int16_t> count = AskNumber(dialogs, kNodeCountPrompt);
    if (!count) {
        return {};
    }
    if (*count > kMostNodes) {
        return Refusal::TooManyNodes;
    }
    if (*count <= 0) {
        state.NodeCount = *count;
        return {};
    }

    // The nodes are collected first, so that a cancelled prompt half-way leaves everything as
    // it was.
    std::vector<StretchNode> nodes;
    for (int n = 1; n <= *count; ++n) {
        const std::optional<std::int16_t> x = AskNumber(dialogs, NodeXPrompt(n));
        if (!x) {
            return {};
        }
        const std::optional<std::int16_t> y = AskNumber(dialogs, NodeYPrompt(n));
        if (!y) {
            return {};
        }
        nodes.push_back({*x, *y});
    }

    state.NodeCount = *count;
    std::copy(nodes.begin(), nodes.end(), state.StretchNodes.begin() + 1);
    state.StretchNodes[0] = {0, 0};
    state.StretchNodes[*count + 1] = {255, 255};
    StretchFromNodes(state);
    return {};
}

void StretchFromNodes(ViewerState& state) {
    const int count = std::clamp<int>(state.NodeCount, 0, kMostNodes);
    for (int i = 0; i <= count; ++i) {
        const StretchNode from = state.StretchNodes[i];
        const StretchNode to = state.StretchNodes[i + 1];
        const int run = to.X - from.X;
        if (run <= 0) {
            continue;
        }
        // 64-bit product: with 16-bit nodes it can exceed 32 bits.
        const std::int64_t rise = to.Y - from.Y;
        for (int k = std::max<int>(from.X, 0); k <= std::min<int>(to.X, 255); ++k) {
            const double value =
                static_cast<double>((k - from.X) * rise) / static_cast<double>(run) + from.Y;
            state.Levels.Stretched[k] = static_cast<std::int32_t>(RoundHalfEven(value));
        }
    }
}

}  // namespace qiv::rastel
