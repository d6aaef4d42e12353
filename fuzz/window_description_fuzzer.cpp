// Arbitrary bytes as a stored window block: the reader either loads it or
// reports an error; what it loads writes back to a block that reads the same.
// Every unit's type data also goes through the stored-data readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "controls/button_data.h"
#include "controls/edit_box_data.h"
#include "controls/group_box_data.h"
#include "controls/label_data.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/window_description.h"
#include "runtime/window_description_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    WindowBlockResult read = ReadWindowBlock({data, size});
    if (!read.Ok()) {
        if (!read.windows.empty()) std::abort();
        return 0;
    }
    WindowBlockResult again = ReadWindowBlock(WriteWindowBlock(read.windows));
    if (!again.Ok() || !(again.windows == read.windows)) std::abort();
    for (const WindowRecord& w : read.windows)
        for (const UnitRecord& u : w.units) {
            (void)controls::ReadStoredData<controls::WindowData>(u.typeData);
            (void)controls::ReadStoredData<controls::EditBoxData>(u.typeData);
            (void)controls::ReadStoredData<controls::ButtonData>(u.typeData);
            (void)controls::ReadStoredData<controls::GroupBoxData>(u.typeData);
            (void)controls::ReadStoredData<controls::LabelData>(u.typeData);
            (void)controls::ReadStoredData<controls::TabData>(u.typeData);
        }
    return 0;
}
