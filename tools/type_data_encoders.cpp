#include "tools/type_data_encoders.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "controls/button_data.h"
#include "controls/combo_box_data.h"
#include "controls/edit_box_data.h"
#include "controls/group_box_data.h"
#include "controls/html_viewer_data.h"
#include "controls/hyper_linker_data.h"
#include "controls/label_data.h"
#include "controls/list_box_data.h"
#include "controls/list_view_data.h"
#include "controls/radio_box_data.h"
#include "controls/shape_box_data.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/gbk.h"

namespace velmora::tools {

std::string SourceTextToGbk(const std::string& utf8, int line) {
    auto gbk = Utf8ToGbk(utf8);
    if (!gbk) throw SourceError(line, "text \"" + utf8 + "\" has no GBK form");
    return *gbk;
}

std::optional<std::vector<uint8_t>> ReadSourceFile(const std::string& name,
                                                   const FileDirectories& directories) {
    for (const std::filesystem::path& directory : directories) {
        std::ifstream file(directory / name, std::ios::binary);
        if (file)
            return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
    }
    return std::nullopt;
}

NamedProperties::NamedProperties(const std::vector<SourceProperty>& properties, int unitLine,
                                 FileDirectories fileDirectories)
    : unitLine_(unitLine), fileDirectories_(std::move(fileDirectories)) {
    for (const SourceProperty& p : properties) {
        if (!values_.emplace(p.name, &p).second)
            throw SourceError(p.line, "property '" + p.name + "' given twice");
        used_[p.name] = false;
    }
}

void NamedProperties::Fail(const std::string& name, const std::string& message) const {
    auto it = values_.find(name);
    throw SourceError(it == values_.end() ? unitLine_ : it->second->line,
                      "'" + name + "': " + message);
}

const SourceValue* NamedProperties::Take(const std::string& name) {
    auto it = values_.find(name);
    if (it == values_.end()) return nullptr;
    used_[name] = true;
    return &it->second->value;
}

int64_t NamedProperties::Integer(const std::string& name, int64_t fallback) {
    const SourceValue* v = Take(name);
    if (!v) return fallback;
    if (v->kind != SourceValue::Kind::Integer) Fail(name, "expected a number");
    return v->integer;
}

uint32_t NamedProperties::Word(const std::string& name, uint32_t fallback) {
    return static_cast<uint32_t>(Integer(name, fallback));
}

uint32_t NamedProperties::Logical(const std::string& name, uint32_t fallback) {
    const SourceValue* v = Take(name);
    if (!v) return fallback;
    if (v->kind == SourceValue::Kind::Integer) return static_cast<uint32_t>(v->integer);
    if (v->kind == SourceValue::Kind::Name && (v->text == "true" || v->text == "false"))
        return v->text == "true" ? 1 : 0;
    Fail(name, "expected true, false or a number");
}

std::string NamedProperties::Text(const std::string& name, const std::string& fallback) {
    const SourceValue* v = Take(name);
    if (!v) return fallback;
    if (v->kind != SourceValue::Kind::Text) Fail(name, "expected a text");
    return SourceTextToGbk(v->text, v->line);
}

std::vector<std::string> NamedProperties::Texts(const std::string& name) {
    const SourceValue* v = Take(name);
    std::vector<std::string> out;
    if (!v) return out;
    if (v->kind != SourceValue::Kind::List) Fail(name, "expected a list of texts");
    for (const SourceValue& item : v->items) {
        if (item.kind != SourceValue::Kind::Text) Fail(name, "expected a list of texts");
        out.push_back(SourceTextToGbk(item.text, item.line));
    }
    return out;
}

std::vector<SourceValue> NamedProperties::Items(const std::string& name) {
    const SourceValue* v = Take(name);
    if (!v) return {};
    if (v->kind != SourceValue::Kind::List) Fail(name, "expected a list");
    return v->items;
}

std::optional<controls::FontData> NamedProperties::Font(const std::string& name) {
    const SourceValue* v = Take(name);
    if (!v) return std::nullopt;
    const auto& items = v->items;
    if (v->kind != SourceValue::Kind::List || items.size() < 2 || items.size() > 3 ||
        items[0].kind != SourceValue::Kind::Text || items[1].kind != SourceValue::Kind::Integer ||
        (items.size() == 3 && items[2].kind != SourceValue::Kind::Integer))
        Fail(name, "expected [face, pixel height] or [face, pixel height, weight]");
    controls::FontData font;
    font.face = SourceTextToGbk(items[0].text, items[0].line);
    if (font.face.size() > 31) Fail(name, "a font face holds at most 31 GBK bytes");
    // A negative height asks for the character height in pixels.
    font.height = -static_cast<int32_t>(items[1].integer);
    if (items.size() == 3) font.weight = static_cast<int32_t>(items[2].integer);
    return font;
}

std::vector<uint8_t> NamedProperties::File(const std::string& name) {
    const SourceValue* v = Take(name);
    if (!v) return {};
    if (v->kind != SourceValue::Kind::Text) Fail(name, "expected a file name as a text");
    auto bytes = ReadSourceFile(v->text, fileDirectories_);
    if (!bytes) Fail(name, "cannot read '" + v->text + "'");
    return std::move(*bytes);
}

void NamedProperties::Finish(const std::string& typeName) const {
    for (const auto& [name, used] : used_)
        if (!used) Fail(name, "not a stored property of " + typeName);
}

namespace {

// The colours and font the captioned and edit types store under the same names.
template <typename Data>
void Look(NamedProperties& p, Data& d) {
    d.textColour = p.Word("textColour", d.textColour);
    d.background = p.Word("background", d.background);
    d.font = p.Font("font");
}

std::vector<uint8_t> EncodeWindow(NamedProperties& p) {
    controls::WindowData d;
    d.caption = p.Text("caption");
    d.border = p.Word("border", d.border);
    d.background = p.Word("background", d.background);
    d.maximiseButton = p.Logical("maximiseButton", d.maximiseButton);
    d.minimiseButton = p.Logical("minimiseButton", d.minimiseButton);
    d.controlBox = p.Logical("controlBox", d.controlBox);
    d.position = p.Word("position", d.position);
    d.movable = p.Logical("movable", d.movable);
    d.alwaysOnTop = p.Logical("alwaysOnTop", d.alwaysOnTop);
    d.className = p.Text("className");
    d.picture = p.File("picture");
    d.icon = p.File("icon");
    d.music = p.File("music");
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeEditBox(NamedProperties& p) {
    controls::EditBoxData d;
    d.content = p.Text("content");
    d.border = p.Word("border", d.border);
    Look(p, d);
    d.hideSelection = p.Logical("hideSelection", d.hideSelection);
    d.maxLength = static_cast<int32_t>(p.Integer("maxLength", d.maxLength));
    d.multiLine = p.Logical("multiLine", d.multiLine);
    d.scrollBars = p.Word("scrollBars", d.scrollBars);
    d.alignment = p.Word("alignment", d.alignment);
    d.inputMode = p.Word("inputMode", d.inputMode);
    if (p.Has("passwordChar")) {
        std::string c = p.Text("passwordChar");
        if (c.size() != 1) p.Fail("passwordChar", "expected one single-byte character");
        d.passwordChar = static_cast<uint8_t>(c[0]);
    }
    d.letterCase = p.Word("letterCase", d.letterCase);
    d.adjuster = p.Word("adjuster", d.adjuster);
    d.adjusterLow = static_cast<int32_t>(p.Integer("adjusterLow", d.adjusterLow));
    d.adjusterHigh = static_cast<int32_t>(p.Integer("adjusterHigh", d.adjusterHigh));
    d.selectionStart = static_cast<int32_t>(p.Integer("selectionStart", d.selectionStart));
    d.selectionLength = static_cast<int32_t>(p.Integer("selectionLength", d.selectionLength));
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeButton(NamedProperties& p) {
    controls::ButtonData d;
    d.caption = p.Text("caption");
    d.font = p.Font("font");
    d.option9 = p.Word("option9", d.option9);
    d.option11 = p.Word("option11", d.option11);
    d.option12 = p.Word("option12", d.option12);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeGroupBox(NamedProperties& p) {
    controls::GroupBoxData d;
    d.caption = p.Text("caption");
    Look(p, d);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeLabel(NamedProperties& p) {
    controls::LabelData d;
    d.caption = p.Text("caption");
    Look(p, d);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeTab(NamedProperties& p) {
    controls::TabData d;
    d.pages = p.Texts("pages");
    d.position = p.Word("position", d.position);
    d.multiRow = p.Logical("multiRow", d.multiRow);
    d.noStrip = p.Logical("noStrip", d.noStrip);
    d.transparent = p.Logical("transparent", d.transparent);
    d.colour = p.Word("colour", d.colour);
    d.font = p.Font("font");
    return controls::WriteStoredData(d);
}

std::vector<int32_t> Integers(NamedProperties& p, const std::string& name) {
    std::vector<int32_t> out;
    for (const std::string& text : p.Texts(name)) {
        int32_t value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            p.Fail(name, "expected texts of whole numbers");
        out.push_back(value);
    }
    return out;
}

// The items of a list or combo box with their values, selection, order and look.
template <typename Data>
void Items(NamedProperties& p, Data& d) {
    Look(p, d);
    d.current = static_cast<int32_t>(p.Integer("current", d.current));
    d.items = p.Texts("items");
    // Values as texts of digits: the source has no list of numbers.
    d.itemValues = Integers(p, "itemValues");
    d.sorted = p.Logical("sorted", d.sorted);
}

std::vector<uint8_t> EncodeRadioBox(NamedProperties& p) {
    controls::RadioBoxData d;
    d.caption = p.Text("caption");
    d.checked = p.Logical("checked", d.checked);
    Look(p, d);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeComboBox(NamedProperties& p) {
    controls::ComboBoxData d;
    d.comboType = p.Word("comboType", d.comboType);
    d.content = p.Text("content");
    d.maxLength = static_cast<int32_t>(p.Integer("maxLength", d.maxLength));
    d.itemHeight = static_cast<int32_t>(p.Integer("itemHeight", d.itemHeight));
    Items(p, d);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeListBox(NamedProperties& p) {
    controls::ListBoxData d;
    d.border = p.Word("border", d.border);
    d.multiSelect = p.Logical("multiSelect", d.multiSelect);
    d.extendedSelect = p.Logical("extendedSelect", d.extendedSelect);
    Items(p, d);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeHyperLinker(NamedProperties& p) {
    controls::HyperLinkerData d;
    d.caption = p.Text("caption");
    d.linkKind = p.Word("linkKind", d.linkKind);
    d.email = p.Text("email");
    d.web = p.Text("web");
    d.colour = p.Word("colour", d.colour);
    d.hoverColour = p.Word("hoverColour", d.hoverColour);
    d.visitedColour = p.Word("visitedColour", d.visitedColour);
    d.background = p.Word("background", d.background);
    d.font = p.Font("font");
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeShapeBox(NamedProperties& p) {
    controls::ShapeBoxData d;
    d.background = p.Word("background", d.background);
    d.shape = p.Word("shape", d.shape);
    d.lineStyle = p.Word("lineStyle", d.lineStyle);
    d.lineWidth = static_cast<int32_t>(p.Integer("lineWidth", d.lineWidth));
    d.lineColour = p.Word("lineColour", d.lineColour);
    d.fillColour = p.Word("fillColour", d.fillColour);
    return controls::WriteStoredData(d);
}

std::vector<uint8_t> EncodeHtmlViewer(NamedProperties& p) {
    controls::HtmlViewerData d;
    d.textSize = static_cast<int32_t>(p.Integer("textSize", d.textSize));
    d.offline = p.Logical("offline", d.offline);
    d.silent = p.Logical("silent", d.silent);
    d.address = p.Text("address");
    d.keepsLogin = p.Logical("keepsLogin", d.keepsLogin);
    return controls::WriteStoredData(d);
}

// columns = [[caption, width], [caption, width, alignment], ...]
std::vector<uint8_t> EncodeColumns(NamedProperties& p) {
    std::vector<controls::ListColumn> columns;
    for (const SourceValue& item : p.Items("columns")) {
        const auto& f = item.items;
        if (item.kind != SourceValue::Kind::List || f.size() < 2 || f.size() > 3 ||
            f[0].kind != SourceValue::Kind::Text || f[1].kind != SourceValue::Kind::Integer ||
            (f.size() == 3 && f[2].kind != SourceValue::Kind::Integer))
            p.Fail("columns", "expected [caption, width] or [caption, width, alignment]");
        controls::ListColumn c;
        c.caption = SourceTextToGbk(f[0].text, f[0].line);
        c.width = static_cast<int32_t>(f[1].integer);
        if (f.size() == 3) c.alignment = static_cast<int32_t>(f[2].integer);
        columns.push_back(std::move(c));
    }
    return controls::WriteColumns(columns);
}

std::vector<uint8_t> EncodeListView(NamedProperties& p) {
    controls::ListViewData d;
    d.viewMode = p.Word("viewMode", d.viewMode);
    d.fullRowSelect = p.Logical("fullRowSelect", d.fullRowSelect);
    d.gridLines = p.Logical("gridLines", d.gridLines);
    d.singleSelection = p.Logical("singleSelection", d.singleSelection);
    d.alwaysShowSelection = p.Logical("alwaysShowSelection", d.alwaysShowSelection);
    d.font = p.Font("font");
    d.columns = EncodeColumns(p);
    return controls::WriteStoredData(d);
}

// Type numbers are positional: (library + 1) << 16 | position in its table.
const UnitTypeInfo kUnitTypes[] = {
    {"window", 0x00010001, EncodeWindow},
    {"MenuItem", 0x00010003, nullptr},
    {"EditBox", 0x00010005, EncodeEditBox},
    {"ShapeBox", 0x00010007, EncodeShapeBox},
    {"GroupBox", 0x00010009, EncodeGroupBox},
    {"Label", 0x0001000A, EncodeLabel},
    {"Button", 0x0001000B, EncodeButton},
    {"RadioBox", 0x0001000D, EncodeRadioBox},
    {"ComboBox", 0x0001000E, EncodeComboBox},
    {"ListBox", 0x0001000F, EncodeListBox},
    {"Tab", 0x00010015, EncodeTab},
    {"HyperLinker", 0x0001001D, EncodeHyperLinker},
    {"HtmlViewer", 0x00020001, EncodeHtmlViewer},
    {"ListView", 0x00030004, EncodeListView},
};

}  // namespace

const UnitTypeInfo* FindUnitType(const std::string& name) {
    for (const UnitTypeInfo& t : kUnitTypes)
        if (name == t.name) return &t;
    return nullptr;
}

}  // namespace velmora::tools
