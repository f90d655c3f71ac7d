// Form1 of Swathly_Qiv for the tests: every header shown in the boxes is recorded.
#pragma once

#include <string>
#include <vector>

#include "hrpt_tool/core/main_view.h"

namespace qiv::testing {

class FakeMainView : public swathly::MainView {
public:
    explicit FakeMainView(std::string decimalSeparator = ".")
        : decimalSeparator_(std::move(decimalSeparator)) {}

    void ShowHeaderTexts(const swathly::HeaderTexts& texts) override { Shown.push_back(texts); }
    std::string DecimalSeparator() const override { return decimalSeparator_; }

    // What the boxes show: the last header shown, or empty boxes before any.
    swathly::HeaderTexts Boxes() const {
        return Shown.empty() ? swathly::HeaderTexts{} : Shown.back();
    }

    std::vector<swathly::HeaderTexts> Shown;

private:
    std::string decimalSeparator_;
};

}  // namespace qiv::testing
