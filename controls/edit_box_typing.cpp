#include "controls/edit_box_typing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVariant>

#include "controls/edit_box_text.h"
#include "controls/gbk_positions.h"

namespace velmora::controls {
namespace {

constexpr char kInputModeProperty[] = "velmoraInputMode";
constexpr char kLetterCaseProperty[] = "velmoraLetterCase";
constexpr char kMaxLengthProperty[] = "velmoraMaxLength";

// Text written through the properties may exceed the limit; only what the
// user adds is held back.
QString FittingPart(const QWidget* box, const QString& typed) {
    return FittingText(box, typed, true);
}

// The text a key press puts into the box; Enter in a multi-line box is a
// line end, counted as two bytes.
QString TypedText(const QWidget* box, const QKeyEvent* key) {
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) return qobject_cast<const QPlainTextEdit*>(box) ? "\r\n" : QString();
    QString text = key->text();
    return text.isEmpty() || text[0].unicode() < 32 ? QString() : text;
}

class TypedCharacters : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::InputMethod) {
            // A commit that does not fit goes in as far as it fits, as a paste does.
            auto* input = static_cast<QInputMethodEvent*>(event);
            QString fitting = FittingPart(box, input->commitString());
            if (fitting != input->commitString())
                input->setCommitString(fitting, input->replacementStart(),
                                       input->replacementLength());
            return false;
        }
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return InsertFitting(box, QGuiApplication::clipboard()->text());
        QString text = TypedText(box, key);
        if (FittingPart(box, text) != text) return true;
        if (text.isEmpty() || text[0].unicode() < 32) return false;
        TypingRules rules = TypingRulesOf(box);
        for (QChar c : text)
            if (!InputModeAccepts(rules.inputMode, c.unicode())) return true;
        QString cased = WithCase(text, rules.letterCase);
        if (cased == text) return false;
        InsertTyped(box, cased);
        return true;
    }
};

}  // namespace

void SetTypingRules(QWidget* box, const TypingRules& rules) {
    static auto* const filter = new TypedCharacters;
    if (!box->property(kInputModeProperty).isValid()) box->installEventFilter(filter);
    box->setProperty(kInputModeProperty, rules.inputMode);
    box->setProperty(kLetterCaseProperty, rules.letterCase);
    box->setProperty(kMaxLengthProperty, QVariant::fromValue<qlonglong>(rules.maxLength));
}

TypingRules TypingRulesOf(const QWidget* box) {
    return {box->property(kInputModeProperty).toUInt(), box->property(kLetterCaseProperty).toUInt(),
            box->property(kMaxLengthProperty).toLongLong()};
}

QString WithCase(const QString& text, uint32_t letterCase) {
    if (letterCase == 1) return text.toLower();
    if (letterCase == 2) return text.toUpper();
    return text;
}

bool InputModeAccepts(uint32_t inputMode, char16_t c) {
    if (c < 32) return true;
    bool digit = c >= '0' && c <= '9';
    switch (inputMode) {
        case 3:
        case 6:
        case 7:
        case 8:
            return digit || c == '-';
        case 4:
        case 9:
        case 10:
            return digit || c == '-' || c == '.';
        case 5:
            return digit;
        default:
            return true;
    }
}

QString FittingText(const QWidget* box, const QString& typed, bool replacesSelection) {
    int64_t limit = TypingRulesOf(box).maxLength;
    // Keys that type nothing (arrows, Backspace) need no look at the content.
    if (limit <= 0 || typed.isEmpty()) return typed;
    QString text = Content(box);
    int64_t room = limit - GbkBytes(text);
    if (replacesSelection) {
        auto [start, length] = Selection(box);
        room += GbkBytes(text.mid(start, length));
    }
    qsizetype fits = 0;
    for (int64_t used = 0; fits < typed.size(); ++fits) {
        // A CR LF goes in whole or not at all.
        qsizetype width = typed.mid(fits, 2) == "\r\n" ? 2 : 1;
        used += GbkBytes(typed.mid(fits, width));
        if (used > room) break;
        fits += width - 1;
    }
    return typed.left(fits);
}

bool InsertFitting(QWidget* box, QString text) {
    TypingRules rules = TypingRulesOf(box);
    if (rules.maxLength <= 0) return false;
    if (!box->isEnabled() || rules.inputMode == 1) return true;
    if (!qobject_cast<QPlainTextEdit*>(box)) text.replace('\r', ' ').replace('\n', ' ');
    InsertTyped(box, FittingPart(box, text));
    return true;
}

}  // namespace velmora::controls
