#include "hrpt_tool/core/products_command.h"

#include <filesystem>
#include <optional>
#include <string>

#include "common/core/wait_notice.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {

CommandOutcome MakeProductsCommand(const SwathlyState& state, Dialogs& dialogs, Canvas& waitArea) {
    if (!state.InputChosen) {
        return Refusal::NoInputChosen;
    }
    if (CommandOutcome input = CheckProductsInput(state.InputPath); !input.Done()) {
        return input;
    }
    std::filesystem::path suggested(state.InputPath);
    suggested.replace_extension(".cal");
    const std::optional<std::string> name =
        dialogs.ChooseNewFile(kProductFileFilter, suggested.string());
    if (!name || name->empty()) {
        return {};
    }
    const ProductPaths paths = ProductPathsOf(ProductStem(*name));
    ProductSummary summary;
    std::optional<CommandOutcome> outcome;
    {
        const WaitNotice notice(waitArea, kWaitMessage);
        outcome.emplace(MakeProducts(state.InputPath, paths, std::nullopt, summary));
    }
    if (outcome->Done()) {
        dialogs.Message(ProductSummaryText(summary, paths));
    }
    return *outcome;
}

}  // namespace qiv::swathly
