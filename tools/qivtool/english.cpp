#include "tools/qivtool/english.h"

#include <array>
#include <utility>

#include "raster_viewer/core/node_entry.h"
#include "raster_viewer/core/picture_file.h"
#include "raster_viewer/core/rastel_texts.h"
#include "raster_viewer/core/subset.h"
#include "hrpt_tool/core/swathly_texts.h"

namespace qiv::qivtool {
namespace {

using Translation = std::pair<std::string_view, std::string_view>;

// Texts whose conditions qivtool checks before it calls a routine (a file not chosen, the
// tables not built, dimensions that do not fit) stay here all the same: a text that is not
// translated would reach the user in Greek.
constexpr std::array<Translation, 9> kTranslations{{
    {rastel::kChooseImageFirst, "Give the image file first"},
    {rastel::kPressFileButtonFirst, "Give the image file first"},
    {rastel::kPressStartFirst, "Build the tables of the image first"},
    {rastel::kSubsetOutsideImage,
     "The start, or the rows and columns, of the subset lie outside the image"},
    {rastel::kSubsetBadCounts,
     "The rows and columns of a subset cannot be negative, and a subset with rows needs at least "
     "one column"},
    {rastel::kSubsetTooLarge,
     "A subset can have at most 32767 rows and 32767 columns, as many as its header can hold"},
    {rastel::kSubsetOverImage,
     "The subset cannot be written over the image file: give the name of another file"},
    {rastel::kTooManyNodes, "At most 99 nodes are allowed. The stretch was not changed."},
    {rastel::kPictureOverImage,
     "The picture cannot be written over the image file: give the name of another file"},
}};

}  // namespace

std::string English(std::string_view rastelText) {
    for (const auto& [greek, english] : kTranslations) {
        if (rastelText == greek) {
            return std::string(english);
        }
    }
    return std::string(rastelText);
}

std::string EnglishFor(const Failure& failure) {
    if (failure->Problem == FileProblem::Refused) {
        return English(failure->Reason);
    }
    return swathly::MessageFor(failure);
}

}  // namespace qiv::qivtool
