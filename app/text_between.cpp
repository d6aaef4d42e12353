#include "app/text_between.h"

#include "commands/text_commands.h"

namespace velmora::app {
namespace {

// Byte position just behind the first start marker. The marker's position is
// deliberately not checked: an absent marker (-1) yields its length - 1.
int PositionAfterStartMarker(const char* source, const char* startMarker, int startPosition) {
    int found = CallCore(commands::FindText, {TextArg(source), TextArg(startMarker),
                                              MakeInteger(startPosition), MakeLogical(false)})
                    .Int();
    int markerLength = CallCore(commands::TextLength, {TextArg(startMarker)}).Int();
    return found + markerLength;
}

}  // namespace

Text TextBetween(const char* source, const char* startMarker, const char* endMarker,
                 int startPosition) {
    int q = PositionAfterStartMarker(source, startMarker, startPosition);
    if (q < 1) return Text();
    // The end marker is looked for in the source from q rather than in a copy
    // of the remainder: the search steps the same characters and never reads
    // further than the end marker, however long the page. A q past the end
    // finds nothing, as the empty remainder would.
    int end = CallCore(commands::FindText,
                       {TextArg(source), TextArg(endMarker), MakeInteger(q), MakeLogical(false)})
                  .Int();
    int length = end - q;  // bytes between q and the end marker
    if (end < 0 || length < 1) return Text();
    return TakeText(
        CallCore(commands::MiddleText, {TextArg(source), MakeInteger(q), MakeInteger(length)}));
}

Text RemainderAfter(const char* source, const char* startMarker, int startPosition) {
    int q = PositionAfterStartMarker(source, startMarker, startPosition);
    int n = CallCore(commands::TextLength, {TextArg(source)}).Int();
    return TakeText(
        CallCore(commands::MiddleText, {TextArg(source), MakeInteger(q), MakeInteger(n)}));
}

}  // namespace velmora::app
