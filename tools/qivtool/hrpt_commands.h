// The HRPT subcommands of qivtool: the routines of Swathly_Qiv over the files named on the
// command line. Each returns the exit status: kDone, or kRefused with the reason on stderr.
#pragma once

#include "tools/qivtool/console.h"
#include "tools/qivtool/options.h"

namespace qiv::qivtool {

// "Display header, Print Data": the header fields of a line as "Name: value" lines (or one JSON
// object), and the calibration file when one is named.
int RunHrpInfo(const HrpInfoOptions& options, Console& console);
// "Output from (Hrp) --> Qlk" and "Output (CAL, SST, NDV) --> Qlk ".
int RunQuicklook(const QuicklookOptions& options, Console& console);
// "Output (Hrp) --> Hrp Less Lines".
int RunCut(const CutOptions& options, Console& console);
// The import of a raw recording into an HRP file, as Swathly_Qiv offers it when a recording is
// chosen as the input; the summary it shows goes to stdout.
int RunImport(const ImportOptions& options, Console& console);

// "Output (Hrp) --> Cal, Sst, Ndv": the three products beside the stem, the summary on stdout
// (as Swathly_Qiv shows it, or one JSON object).
int RunProducts(const ProductsOptions& options, Console& console);

}  // namespace qiv::qivtool
