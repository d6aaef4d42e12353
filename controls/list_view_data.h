// Stored property data of ListView (layout version 1; version 0 is read the
// same way) and the column records its column list holds.
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

enum ListViewMode : uint32_t {
    kLargeIcons = 0,
    kSmallIcons = 1,
    kListMode = 2,
    kReportMode = 3,
};

struct ListViewData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t appearance = 1;  // 0 flat, otherwise a sunken frame
    uint32_t textColour = 0x000000;
    uint32_t textBackground = 0xFFFFFF;
    uint32_t background = 0xFFFFFF;
    uint32_t viewMode = kLargeIcons;
    // Icon views: align left, a further icon style, wrap labels.
    uint32_t alignLeft = 0;
    uint32_t iconStyle = 1;
    uint32_t wrapLabels = 1;
    // Report view: two header styles, full-row selection, grid lines,
    // header drag-and-drop (only while the first header style is 0).
    uint32_t headerStyle1 = 0;
    uint32_t headerStyle2 = 1;
    uint32_t fullRowSelect = 0;
    uint32_t gridLines = 0;
    uint32_t headerDragDrop = 0;
    uint32_t hotTracking = 0;
    uint32_t handCursor = 1;
    uint32_t underlineHot = 1;
    uint32_t underlineCold = 1;
    uint32_t styleSwitch = 0;
    uint32_t sortOrder = 0;  // 0 none, 1 ascending, other descending
    uint32_t checkBoxes = 0;
    uint32_t flatScrollBars = 0;
    uint32_t singleSelection = 1;
    int32_t selectedRow = -1;  // single-selection lists only
    uint32_t alwaysShowSelection = 0;
    std::optional<FontData> font;
    std::vector<uint8_t> headerImages;
    std::vector<uint8_t> itemImages;
    std::vector<uint8_t> columns;  // the column records, see ListColumn
    std::vector<uint8_t> stateImages;
    std::vector<uint8_t> initialRows;

    bool operator==(const ListViewData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.appearance, "appearance");
        io(d.textColour, "text colour");
        io(d.textBackground, "text background colour");
        io(d.background, "background colour");
        io(d.viewMode, "view mode");
        for (auto* field :
             {&d.alignLeft, &d.iconStyle, &d.wrapLabels, &d.headerStyle1, &d.headerStyle2,
              &d.fullRowSelect, &d.gridLines, &d.headerDragDrop, &d.hotTracking, &d.handCursor,
              &d.underlineHot, &d.underlineCold, &d.styleSwitch, &d.sortOrder, &d.checkBoxes,
              &d.flatScrollBars, &d.singleSelection})
            io(*field, "list switch");
        io(d.selectedRow, "selected row");
        io(d.alwaysShowSelection, "always show the selection");
        // The trailing blocks carry a signed length.
        io.SignedFont(d.font);
        for (auto* block :
             {&d.headerImages, &d.itemImages, &d.columns, &d.stateImages, &d.initialRows})
            io.SignedBlock(*block, "list block");
    }
};

enum ColumnAlignment : int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

struct ListColumn {
    uint8_t imageOnRight = 0;
    int32_t image = -1;  // header image index, -1 none
    int32_t alignment = kAlignLeft;
    int32_t width = 0;
    std::string caption;  // GBK

    bool operator==(const ListColumn&) const = default;
};

// The records of a column list, one per column; null when a record is cut
// short or its caption lacks its terminator.
std::optional<std::vector<ListColumn>> ReadColumns(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteColumns(const std::vector<ListColumn>& columns);

}  // namespace velmora::controls
