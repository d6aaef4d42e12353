#include "runtime/foreign_call.h"

#include <algorithm>
#include <vector>

// VelmoraCallForeign(function, words, count, drift) is written for each
// convention (foreign_call_sysv.cpp, foreign_call_win64.cpp): `words` holds
// at least six entries, so that every argument register can be loaded
// unconditionally.
extern "C" uint64_t VelmoraCallForeign(const void* function, const uint64_t* words, size_t count,
                                       intptr_t* drift);

namespace velmora {

ForeignCallResult CallForeign(const void* function, const uint64_t* arguments, size_t count) {
    std::vector<uint64_t> words(std::max<size_t>(count, 6), 0);
    std::copy(arguments, arguments + count, words.begin());
    ForeignCallResult result{};
    result.value = VelmoraCallForeign(function, words.data(), count, &result.stackDrift);
    return result;
}

}  // namespace velmora
