// What the user puts into an edit box or a combo box's edit field: typed
// characters pass the input
// mode's filter and take the letter case, and whatever is typed, pasted or
// dropped is held to the maximum length, counted in GBK bytes. Text written
// through the properties goes around all of it.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace velmora::controls {

struct TypingRules {
    uint32_t inputMode = 0;   // 1 read-only; 3-10 character filters
    uint32_t letterCase = 0;  // 1 lower, 2 upper
    int64_t maxLength = 0;    // 0 or negative: no limit
};

// Sets the box's rules; the first call also starts watching its keys.
void SetTypingRules(QWidget* box, const TypingRules& rules);
TypingRules TypingRulesOf(const QWidget* box);

QString WithCase(const QString& text, uint32_t letterCase);

// Whether an input mode lets a typed character through; characters below
// code 32 always pass.
bool InputModeAccepts(uint32_t inputMode, char16_t character);

// The part of a text the user adds that still fits the maximum length, in
// place of the selection when `replacesSelection`.
QString FittingText(const QWidget* box, const QString& text, bool replacesSelection);

// Pastes what of a text fits the maximum length in place of the selection.
// False, inserting nothing, when the box has no limit: the caller leaves
// such a paste to Qt.
bool InsertFitting(QWidget* box, QString text);

}  // namespace velmora::controls
