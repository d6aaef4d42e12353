// The core library's message box.
#pragma once

#include <functional>

#include "commands/delay_command.h"
#include "runtime/value.h"

class QAbstractButton;
class QMessageBox;

namespace velmora::commands {

// (message of any basic type, buttons, title?) -> integer: the button pressed,
// OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6, anything else 0.
// The title defaults to "信息：". The box blocks every other window of the
// program until it is answered, while their timers and events go on.
void MessageBox(ValueRecord* result, int count, ValueRecord* args);

// Answers message boxes without a person: once a box is up, the answerer is
// given it and returns the button to press, or null to leave the box to the
// user. Tests, demos and the collector's end-to-end runs install one; an
// empty function removes it.
using MessageBoxAnswerer = std::function<QAbstractButton*(QMessageBox&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

// For a program that runs with nobody at the screen: every box's text goes
// to standard error after `program` + ": ", and its default button (else its
// first) is pressed.
void AnswerMessageBoxesOnStandardError(const char* program);

}  // namespace velmora::commands
