#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {
namespace {

std::string HeaderMessage(const Failure& failure);

}  // namespace

std::string MessageFor(const CommandOutcome& outcome) {
    if (const Failure* failure = outcome.FileFailure()) {
        return MessageFor(*failure);
    }
    if (const Refused<Refusal>* refused = outcome.Refusal()) {
        return MessageFor(*refused);
    }
    return {};
}

bool ShowOutcome(const CommandOutcome& outcome, Dialogs& dialogs) {
    if (outcome.Done()) {
        return true;
    }
    dialogs.Message(MessageFor(outcome));
    return false;
}

std::string MessageFor(Refused<Refusal> refused) {
    switch (refused.Why) {
        case Refusal::NoImageChosen:
            return std::string(kChooseImageFirst);
        case Refusal::PassWithoutImage:
            return std::string(kPressFileButtonFirst);
        case Refusal::TablesNotBuilt:
            return std::string(kPressStartFirst);
        case Refusal::NoPixels:
            return BadDimensionsMessage(refused.First, refused.Second);
        case Refusal::BeyondHeader:
            return BeyondHeaderMessage(refused.First, refused.Second);
        case Refusal::SubsetOutsideImage:
            return std::string(kSubsetOutsideImage);
        case Refusal::SubsetBadCounts:
            return std::string(kSubsetBadCounts);
        case Refusal::SubsetTooLarge:
            return std::string(kSubsetTooLarge);
        case Refusal::TooManyNodes:
            return std::string(kTooManyNodes);
    }
    return {};
}

std::string MessageFor(const Failure& failure) {
    const Failure::Details& f = *failure;
    switch (f.Role) {
        case FileRole::Input:
        case FileRole::Calibration:
            break;
        case FileRole::Header:
            return HeaderMessage(failure);
        case FileRole::Output:
            if (f.Problem == FileProblem::IsTheInput) {
                return std::string(kSubsetOverImage);
            }
            return SubsetWriteFailedMessage(f.Path, f.Reason);
    }
    switch (f.Problem) {
        case FileProblem::CannotOpen:
            return CannotOpenMessage(f.Path, f.Reason);
        case FileProblem::TooShort:
            return ShortFileMessage(f.Path, f.Needed, f.Size);
        case FileProblem::CannotRead:
        case FileProblem::CannotWrite:
        case FileProblem::IsTheInput:
        case FileProblem::NoFrames:
        case FileProblem::TooLong:
        case FileProblem::Refused:
            break;
    }
    return ReadFailedMessage(f.Path, f.Reason);
}

namespace {

std::string HeaderMessage(const Failure& failure) {
    if (failure->Problem == FileProblem::TooShort) {
        return NoRoomForHeaderMessage(failure->Path, failure->Size);
    }
    if (failure->Problem == FileProblem::CannotOpen) {
        return "Δεν ανοίγει για γράψιμο το αρχείο εικόνας \"" + failure->Path + "\" (" +
               failure->Reason + ").";
    }
    return "Δεν γράφτηκε το Header στο αρχείο εικόνας \"" + failure->Path + "\" (" +
           failure->Reason + ").";
}

}  // namespace

std::string PictureWriteMessage(const Failure& failure) {
    return "Δεν αποθηκεύτηκε η εικόνα στο αρχείο " + failure->Path + " : " + failure->Reason;
}

std::string_view PlotTitle(LevelMapping kind) {
    switch (kind) {
        case LevelMapping::Normal:
            return " Κανονικό Ιστόγραμμα";
        case LevelMapping::Equalised:
            return "Εξισωμένο Ιστόγραμμα";
        case LevelMapping::Stretched:
            return "Τεντωμένο ιστόγραμμα";
    }
    return {};
}

std::string NodeXPrompt(int node) {
    return " Βάλε τιμή Χ για το Σημείο " + std::to_string(node);
}

std::string NodeYPrompt(int node) {
    return " Βάλε τιμή Y για το Σημείο " + std::to_string(node);
}

std::string BeyondHeaderMessage(std::int64_t rows, std::int64_t cols) {
    return "Οι διαστάσεις " + std::to_string(rows) + " x " + std::to_string(cols) +
           " δεν χωράνε στο Header (από -32768 έως 32767): δεν γράφτηκε τίποτα.";
}

std::string BadDimensionsMessage(std::int64_t rows, std::int64_t cols) {
    return "Λάθος διαστάσεις εικόνας: " + std::to_string(rows) + " Γραμμές, " +
           std::to_string(cols) + " Στήλες. Χρειάζεται τουλάχιστον 1 Γραμμή και 1 Στήλη.";
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason) {
    return "Δεν ανοίγει το αρχείο εικόνας \"" + path + "\" (" + reason + ").";
}

std::string ShortFileMessage(const std::string& path, std::int64_t expected, std::int64_t actual) {
    return "Το αρχείο εικόνας \"" + path +
           "\" είναι μικρότερο από τις διαστάσεις του: " + "χρειάζονται " +
           std::to_string(expected) + " bytes, έχει " + std::to_string(actual) + " bytes.";
}

std::string ReadFailedMessage(const std::string& path, const std::string& reason) {
    return "Σφάλμα ανάγνωσης του αρχείου εικόνας \"" + path + "\" (" + reason + ").";
}

std::string SubsetWriteFailedMessage(const std::string& path, const std::string& reason) {
    return "Δεν έγινε η εγγραφή του Subset στο αρχείο " + path + " : " + reason;
}

std::string NoRoomForHeaderMessage(const std::string& path, std::int64_t size) {
    return "Το αρχείο εικόνας \"" + path + "\" έχει μόνο " + std::to_string(size) +
           " bytes: δεν χωράει Header 4 bytes.";
}

}  // namespace qiv::rastel
