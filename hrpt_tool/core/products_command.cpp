#include "hrpt_tool/core/products_command.h"

#include <filesystem>
#include <optional>
#include <string>

#include "common/core/wait_notice.h"
#include "hrpt_tool/core/products.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::swathly {
namespace {

// Tells why the outcome is no success; true when it is one.
bool Told(const ProductsOutcome& outcome, const ProductSummary& summary, Dialogs& dialogs) {
    if (const Failure& failure = outcome.FileFailure()) {
        dialogs.Message(MessageFor(failure));
        return false;
    }
    if (outcome.Refused()) {
        dialogs.Message(ProductsRefusedMessage(*outcome.Refused(), summary));
        return false;
    }
    return true;
}

}  // namespace

bool MakeProductsCommand(const SwathlyState& state, Dialogs& dialogs, Canvas& waitArea) {
    if (!state.InputChosen) {
        dialogs.Message(kEnterFileNameFirst);
        return false;
    }
    if (!Told(CheckProductsInput(state.InputPath), {}, dialogs)) {
        return false;
    }
    std::filesystem::path suggested(state.InputPath);
    suggested.replace_extension(".cal");
    const std::optional<std::string> name =
        dialogs.ChooseNewFile(kProductFileFilter, suggested.string());
    if (!name || name->empty()) {
        return false;
    }
    const ProductPaths paths = ProductPathsOf(ProductStem(*name));
    ProductSummary summary;
    std::optional<ProductsOutcome> outcome;
    {
        const WaitNotice notice(waitArea, kSwathlyWaitMessage);
        outcome.emplace(MakeProducts(state.InputPath, paths, std::nullopt, summary));
    }
    if (!Told(*outcome, summary, dialogs)) {
        return false;
    }
    dialogs.Message(ProductSummaryText(summary, paths));
    return true;
}

}  // namespace qiv::swathly
