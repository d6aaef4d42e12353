// The core library's text, byte-set and conversion commands. Each is a command
// routine called through CallCoreCommand with value records. Positions are
// 1-based bytes; searches step over two-byte GBK characters.
#pragma once

#include "runtime/value.h"

namespace velmora::commands {

void TextLength(ValueRecord* result, int count, ValueRecord* args);
void LeftText(ValueRecord* result, int count, ValueRecord* args);
void RightText(ValueRecord* result, int count, ValueRecord* args);
void MiddleText(ValueRecord* result, int count, ValueRecord* args);
void FindText(ValueRecord* result, int count, ValueRecord* args);
void ReplaceText(ValueRecord* result, int count, ValueRecord* args);
void SplitText(ValueRecord* result, int count, ValueRecord* args);
void ToNumber(ValueRecord* result, int count, ValueRecord* args);
void ToText(ValueRecord* result, int count, ValueRecord* args);
void ToByteSet(ValueRecord* result, int count, ValueRecord* args);
void ByteSetLength(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::commands
