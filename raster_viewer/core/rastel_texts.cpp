#include "raster_viewer/core/rastel_texts.h"

namespace qiv::rastel {

std::string MessageFor(const Failure& failure) {
    const Failure::Details& f = *failure;
    if (f.Problem == FileProblem::Refused) {
        return f.Reason;
    }
    switch (f.Role) {
        case FileRole::Input:
        case FileRole::Calibration:
            break;
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

std::string HeaderWriteMessage(const Failure& failure) {
    if (failure->Problem == FileProblem::CannotOpen) {
        return "Δεν ανοίγει για γράψιμο το αρχείο εικόνας \"" + failure->Path + "\" (" +
               failure->Reason + ").";
    }
    return "Δεν γράφτηκε το Header στο αρχείο εικόνας \"" + failure->Path + "\" (" +
           failure->Reason + ").";
}

std::string PictureWriteMessage(const Failure& failure) {
    return "Δεν αποθηκεύτηκε η εικόνα στο αρχείο " + failure->Path + " : " + failure->Reason;
}

std::string BadDimensionsMessage(std::int32_t rows, std::int32_t cols) {
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
