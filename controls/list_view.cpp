#include "controls/list_view.h"

#include <QHeaderView>
#include <QListView>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <cstring>

#include "controls/control_support.h"
#include "controls/list_view_data.h"
#include "runtime/gbk.h"

namespace velmora::controls {

// Each cell keeps the exact GBK bytes it was given beside the text it shows,
// so a text reads back byte for byte even where GBK and Unicode disagree.
class RowStore : public QStandardItemModel {
  public:
    using QStandardItemModel::QStandardItemModel;

    static constexpr int kGbkRole = Qt::UserRole + 1;
    static constexpr int kImageRole = Qt::UserRole + 2;
    static constexpr int kIndentRole = Qt::UserRole + 3;
    static constexpr int kDataRole = Qt::UserRole + 4;

    bool checkBoxes = false;

    QStandardItem* Existing(int row, int column) const {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        return item(row, column);
    }
    QStandardItem* Cell(int row, int column) {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        QStandardItem* cell = item(row, column);
        if (!cell) {
            cell = new QStandardItem;
            setItem(row, column, cell);
        }
        return cell;
    }
};

namespace {

// Colours are stored as 0x00BBGGRR; a value with the top bit set names a
// system colour by its index in the low byte.
QColor ToColour(uint32_t stored, const QPalette& palette) {
    if (stored & 0x80000000u) {
        switch (stored & 0xFF) {
            case 5:  // window
                return palette.color(QPalette::Base);
            case 8:  // window text
                return palette.color(QPalette::Text);
            case 13:  // highlight
                return palette.color(QPalette::Highlight);
            case 14:  // highlighted text
                return palette.color(QPalette::HighlightedText);
            case 18:  // button text
                return palette.color(QPalette::ButtonText);
            default:  // button face and the rest of the frame colours
                return palette.color(QPalette::Button);
        }
    }
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

Qt::Alignment ToAlignment(int32_t stored) {
    switch (stored) {
        case kAlignCentre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case kAlignRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QAbstractItemView* MakeView(const ListViewData& data, QWidget* parent) {
    if (data.viewMode != kReportMode) {
        auto* view = new QListView(parent);
        view->setViewMode(data.viewMode == kLargeIcons ? QListView::IconMode : QListView::ListMode);
        view->setWordWrap(data.wrapLabels != 0);
        if (data.viewMode == kListMode) view->setFlow(QListView::TopToBottom);
        if (data.viewMode == kListMode) view->setWrapping(true);
        return view;
    }
    auto* view = new QTreeView(parent);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(data.fullRowSelect != 0);
    view->setSelectionBehavior(data.fullRowSelect ? QAbstractItemView::SelectRows
                                                  : QAbstractItemView::SelectItems);
    if (data.gridLines) view->setStyleSheet("QTreeView::item { border: 1px solid #d0d0d0; }");
    view->header()->setSectionsMovable(data.headerStyle1 == 0 && data.headerDragDrop != 0);
    view->header()->setStretchLastSection(false);
    return view;
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<ListViewData>(request.data);
    if (!data) return nullptr;
    std::vector<ListColumn> columns;
    if (data->viewMode == kReportMode) {
        auto read = ReadColumns(data->columns);
        if (!read) return nullptr;
        columns = std::move(*read);
    }
    QAbstractItemView* view = MakeView(*data, request.parent);
    // Cell 0 is the row's caption, so there is always at least one column.
    auto* rows = new RowStore(0, std::max<int>(1, static_cast<int>(columns.size())), view);
    for (size_t i = 0; i < columns.size(); ++i) {
        int c = static_cast<int>(i);
        rows->setHeaderData(c, Qt::Horizontal, FromGbk(columns[i].caption));
        rows->setHeaderData(c, Qt::Horizontal, QVariant(ToAlignment(columns[i].alignment)),
                            Qt::TextAlignmentRole);
    }
    rows->checkBoxes = data->checkBoxes != 0;
    view->setModel(rows);
    if (auto* tree = qobject_cast<QTreeView*>(view))
        for (size_t i = 0; i < columns.size(); ++i)
            tree->setColumnWidth(static_cast<int>(i), std::max(0, columns[i].width));

    view->setSelectionMode(data->singleSelection ? QAbstractItemView::SingleSelection
                                                 : QAbstractItemView::ExtendedSelection);
    view->setFrameShape(data->appearance == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Text, ToColour(data->textColour, palette));
    palette.setColor(QPalette::Base, ToColour(data->background, palette));
    view->setPalette(palette);
    view->setFont(ToQFont(data->font));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setGeometry(request.left, request.top, request.width, request.height);
    AttachToUnit(view, request);
    return view;
}

}  // namespace

RowStore* RowsOf(QWidget* control) {
    auto* view = qobject_cast<QAbstractItemView*>(control);
    return view ? dynamic_cast<RowStore*>(view->model()) : nullptr;
}

int AddRow(RowStore* rows, const NewRow& row) {
    if (!rows) return -1;
    int at = row.position < 0 ? rows->rowCount() : std::min(row.position, rows->rowCount());
    if (!rows->insertRow(at)) return -1;
    QStandardItem* caption = rows->Cell(at, 0);
    caption->setData(QByteArray(row.caption.data(), static_cast<qsizetype>(row.caption.size())),
                     RowStore::kGbkRole);
    caption->setText(FromGbk(row.caption));
    caption->setData(row.image, RowStore::kImageRole);
    caption->setData(row.indent, RowStore::kIndentRole);
    caption->setData(row.data, RowStore::kDataRole);
    if (rows->checkBoxes) caption->setCheckState(Qt::Unchecked);
    return at;
}

void WriteCellText(RowStore* rows, int row, int column, std::string_view gbk) {
    QStandardItem* cell = rows ? rows->Cell(row, column) : nullptr;
    if (!cell) return;
    cell->setData(QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size())), RowStore::kGbkRole);
    cell->setText(FromGbk(gbk));
}

size_t CopyCellText(RowStore* rows, int row, int column, char* buffer, size_t size) {
    if (size == 0) return 0;
    QStandardItem* cell = rows ? rows->Existing(row, column) : nullptr;
    QByteArray text = cell ? cell->data(RowStore::kGbkRole).toByteArray() : QByteArray();
    size_t n = std::min(static_cast<size_t>(text.size()), size - 1);
    std::memcpy(buffer, text.constData(), n);
    buffer[n] = 0;
    return n;
}

void ClearRows(RowStore* rows) {
    if (rows) rows->setRowCount(0);
}

int RowCount(RowStore* rows) {
    return rows ? rows->rowCount() : 0;
}

int ColumnCount(RowStore* rows) {
    return rows ? rows->columnCount() : 0;
}

InterfaceRoutine ListViewInterface(int request) {
    if (request == kRequestCreate) return reinterpret_cast<InterfaceRoutine>(Create);
    return nullptr;
}

}  // namespace velmora::controls
