// The help text of Rastel_Qiv and the layout of the window it is printed into.
#pragma once

#include <array>
#include <string_view>

#include "common/core/help_panel.h"

namespace qiv::rastel {

// Every entry is one printed line, blanks included; the lines of blanks print as empty lines.
extern const std::array<std::string_view, 47> kRastelHelpText;

inline constexpr HelpWindowLayout kRastelHelpLayout{
    .Caption = "Βοήθεια Rastel_Qiv",
    .ReturnCaption = "Επιστροφή",
    .Background = MakeColour(255, 255, 192),
    .ClientWidth = 9435,
    .ClientHeight = 9330,
    .ButtonLeft = 8040,
    .ButtonTop = 8760,
    .ButtonWidth = 1215,
    .ButtonHeight = 375,
};

// What "Πληροφορίες/άδεια/περιορισμοί" shows: what the program is, its terms of use, its limits.
inline constexpr std::string_view kRastelNotice =
    "Rastel_Qiv\n"
    "\n"
    "Πρόγραμμα παρουσίασης και ενίσχυσης μονοκάναλων εικόνων σε μορφή Generic binary, 8-bit, "
    "για τη διδασκαλία και την εξάσκηση στην επεξεργασία δορυφορικών εικόνων.\n"
    "\n"
    "Όροι χρήσης: το πρόγραμμα διατίθεται για εκπαιδευτική και ερευνητική χρήση, όπως είναι, "
    "χωρίς καμία εγγύηση. Η χρήση του γίνεται με ευθύνη του χρήστη: κρατάτε αντίγραφα των "
    "εικόνων σας.\n"
    "\n"
    "Περιορισμοί:\n"
    "- Διαβάζει μόνο εικόνες ενός καναλιού, ένα byte ανά εικονοστοιχείο, γραμμή προς γραμμή.\n"
    "- Το Header κρατά τις γραμμές και τις στήλες ως ακέραιους 16 bit, το πολύ 32767 η "
    "καθεμία, και γράφεται πάνω στα τέσσερα πρώτα εικονοστοιχεία της εικόνας.\n"
    "- Κάθε εικονοστοιχείο της εικόνας γίνεται ένα εικονοστοιχείο της οθόνης: ό,τι δεν χωράει "
    "στην οθόνη δεν φαίνεται.\n"
    "- Για νέα εικόνα κλείστε πρώτα την παλιά (Αρχείο, Κλείσε): αλλιώς μένουν τα ιστογράμματα "
    "της παλιάς.\n"
    "- Τίποτα δεν φυλάγεται από τη μία εκτέλεση του προγράμματος στην άλλη.";

}  // namespace qiv::rastel
