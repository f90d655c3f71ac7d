// What a command did: it was done, a file failed (Failure), or the request itself was refused
// for one of the program's own reasons. Each program names its reasons in an enum class
// (rastel::Refusal, swathly::Refusal) and its texts file turns an outcome into its message
// (MessageFor); qivtool turns the same outcomes into English. A refusal carries the numbers its
// message needs, never a sentence, so that each language writes its own.
//
//     if (const Outcome<Refusal> outcome = Command(state, dialogs); !outcome.Done()) {
//         dialogs.Message(MessageFor(outcome));
//     }
#pragma once

#include <cstdint>
#include <utility>
#include <variant>

#include "common/core/failure.h"

namespace qiv {

// A refusal and the numbers its message names (which numbers, in which order, is told beside
// each reason of the enum).
template <class Reason>
struct Refused {
    Reason Why;
    std::int64_t First = 0;
    std::int64_t Second = 0;
};

template <class Reason>
class [[nodiscard]] Outcome {
public:
    Outcome() = default;  // done
    // A default-made Failure, that is nothing went wrong, is done.
    Outcome(Failure failure) {  // NOLINT: implicit by design, `return failure;`
        if (failure) {
            value_ = std::move(failure);
        }
    }
    Outcome(Reason why, std::int64_t first = 0, std::int64_t second = 0)  // NOLINT: implicit
        : value_(Refused<Reason>{why, first, second}) {}
    Outcome(Refused<Reason> refused) : value_(refused) {}  // NOLINT: implicit by design

    bool Done() const { return std::holds_alternative<std::monostate>(value_); }
    // The failure of a file, or nullptr.
    const Failure* FileFailure() const { return std::get_if<Failure>(&value_); }
    // The refusal, or nullptr.
    const Refused<Reason>* Refusal() const { return std::get_if<Refused<Reason>>(&value_); }
    // True when the refusal is `why`.
    bool Is(Reason why) const {
        const Refused<Reason>* refused = Refusal();
        return refused != nullptr && refused->Why == why;
    }

private:
    std::variant<std::monostate, Failure, Refused<Reason>> value_;
};

}  // namespace qiv
