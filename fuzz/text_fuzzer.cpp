// Arbitrary bytes through the text commands and the cut-out helper, checked
// against the plain step-by-step references. Input: a flag byte, a start byte,
// then text, sought text and replacement separated by zero bytes, so every
// text is NUL-free and may hold broken GBK, a lead byte at the very end
// included.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/text_between.h"
#include "commands/text_commands.h"
#include "runtime/array_block.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "tests/text_reference.h"

namespace {

using namespace velmora;
using velmora::testing::ReferenceFind;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

ValueRecord Call(CommandRoutine routine, std::initializer_list<ValueRecord> args) {
    std::vector<ValueRecord> records(args);
    return Entries().CallCoreCommand(routine, int(records.size()), records.data());
}
ValueRecord T(const std::string& s) {
    return MakeTextValue(s.c_str());
}

std::string Take(const ValueRecord& r) {
    auto* p = static_cast<char*>(r.Pointer());
    Check(p == nullptr || *p != '\0', "an empty text is null");
    std::string s = p ? p : "";
    Free(p);
    return s;
}

std::vector<std::string> TakePieces(const ValueRecord& r) {
    void* array = r.Pointer();
    std::vector<std::string> pieces;
    for (uint64_t i = 0; i < ArrayElementCount(array); ++i) {
        auto* piece = static_cast<const char*>(ArrayPointerAt(array, i));
        pieces.push_back(piece ? piece : "");
    }
    FreeArrayOfBlocks(array);
    return pieces;
}

void CheckSearch(const std::string& text, const std::string& sought, int start, bool fold) {
    size_t from = start > 1 ? size_t(start - 1) : 0;
    long expected = ReferenceFind(text, sought, from, fold);
    int found =
        Call(commands::FindText, {T(text), T(sought), MakeInteger(start), MakeLogical(fold)}).Int();
    Check(found == (expected < 0 ? -1 : expected + 1), "FindText equals the reference");
    if (found > 0 && !sought.empty() && !fold)
        Check(text.compare(size_t(found - 1), sought.size(), sought) == 0, "a hit matches");
}

void CheckReplace(const std::string& text, const std::string& sought, const std::string& with) {
    std::string replaced = Take(Call(commands::ReplaceText, {T(text), T(sought), T(with), Omitted(),
                                                             Omitted(), MakeLogical(true)}));
    if (ReferenceFind(text, sought, 0) < 0) Check(replaced == text, "nothing to replace");
    Check(replaced == velmora::testing::ReferenceReplaceAll(text, sought, with),
          "ReplaceText equals the reference");
}

void CheckSplit(const std::string& text, const std::string& delimiter, int maximum) {
    auto pieces = TakePieces(Call(commands::SplitText, {T(text), T(delimiter), Omitted()}));
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? delimiter : "") + pieces[i];
    Check(joined == text || joined + delimiter == text, "pieces join back to the text");
    auto limited =
        TakePieces(Call(commands::SplitText, {T(text), T(delimiter), MakeInteger(maximum)}));
    size_t bound = maximum < 0 ? 0 : size_t(maximum);
    Check(limited.size() == std::min(bound, pieces.size()), "the maximum bounds the pieces");
    Check(std::equal(limited.begin(), limited.end(), pieces.begin()), "limited pieces lead");
}

void CheckCut(const std::string& source, const std::string& start, const std::string& end,
              int position) {
    app::Text cut = app::TextBetween(source.c_str(), start.c_str(), end.c_str(), position);
    Check(cut.view() == velmora::testing::ReferenceTextBetween(source, start, end, position),
          "TextBetween equals the reference");
    std::string rest(app::RemainderAfter(source.c_str(), start.c_str(), position).view());
    long found = ReferenceFind(source, start, position > 1 ? size_t(position - 1) : 0);
    long q = (found < 0 ? -1 : found + 1) + long(start.size());
    Check(rest == (q < 1 || q > long(source.size()) ? "" : source.substr(size_t(q - 1))),
          "RemainderAfter equals the reference");
}

void CheckCounts(const std::string& text, int a, int b) {
    long n = long(text.size());
    Check(Take(Call(commands::LeftText, {T(text), MakeInteger(a)})) ==
              (a <= 0 ? "" : text.substr(0, size_t(a))),
          "LeftText");
    Check(Take(Call(commands::RightText, {T(text), MakeInteger(a)})) ==
              (a <= 0 ? "" : text.substr(size_t(std::max(0L, n - a)))),
          "RightText");
    bool empty = a < 1 || a > n || b <= 0;
    Check(Take(Call(commands::MiddleText, {T(text), MakeInteger(a), MakeInteger(b)})) ==
              (empty ? "" : text.substr(size_t(a - 1), size_t(b))),
          "MiddleText");
    void* bytes = Call(commands::ToByteSet, {T(text)}).Pointer();
    Check(Take(Call(commands::ToText, {MakeByteSetValue(bytes ? bytes : kEmptyByteSet)})) == text,
          "a text survives the trip through a byte set");
    Free(bytes);
    (void)Call(commands::ToNumber, {T(text)});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t flags = data[0];
    const int start = int8_t(data[1]);
    std::vector<std::string> fields(3);
    size_t field = 0;
    for (size_t i = 2; i < size; ++i) {
        if (data[i] == 0) {
            if (++field == fields.size()) break;
        } else {
            fields[field] += char(data[i]);
        }
    }
    const std::string& text = fields[0];
    const std::string& sought = fields[1];
    const std::string& other = fields[2];

    const long before = LiveBlockCount();
    CheckSearch(text, sought, start, flags & 1);
    CheckReplace(text, sought, other);
    CheckSplit(text, sought, int(flags >> 4) - 2);
    CheckCut(text, sought, other, start);
    CheckCounts(text, start, int8_t(flags));
    Check(LiveBlockCount() == before, "every block is freed");
    return 0;
}
