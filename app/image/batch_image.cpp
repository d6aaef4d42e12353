#include "app/image/batch_image.h"

#include "net/internet_library.h"
#include "net/responsive_wait_library.h"
#include "runtime/constants.h"

namespace velmora::app {

const ProgramHeader& BatchProgramImage() {
    // In library-index order; the core and the two control libraries hold
    // windows and dialogs, which the batch never calls.
    static const LibraryRecord* const libraries[] = {
        nullptr, nullptr, nullptr, &net::SpecialFunctionsLibrary(), &net::InternetLibrary(),
    };
    static const ProgramHeader header{
        .constantRegion = ConstantRegionStart(),
        .constantRegionSize = ConstantRegionSize(),
        .libraryCount = sizeof libraries / sizeof libraries[0],
        .libraries = libraries,
    };
    return header;
}

}  // namespace velmora::app
