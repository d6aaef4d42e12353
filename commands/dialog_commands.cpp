#include "commands/dialog_commands.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "runtime/command_arguments.h"
#include "runtime/gbk.h"
#include "runtime/gbk_qt.h"
#include "runtime/value_text.h"

namespace velmora::commands {
namespace {

const char kDefaultTitle[] = "信息：";
const char kTryAgain[] = "重试(&T)";
const char kContinue[] = "继续(&C)";

constexpr uint32_t kButtonSetMask = 0x0F;
constexpr uint32_t kIconMask = 0xF0;
constexpr uint32_t kDefaultButtonMask = 0xF00;
constexpr uint32_t kSystemModal = 0x1000;

// Results the program sees, by what the pressed button means.
enum Answer : int32_t {
    kOk = 0,
    kCancel = 1,
    kAbort = 2,
    kRetry = 3,
    kIgnore = 4,
    kYes = 5,
    kNo = 6
};

MessageBoxAnswerer& Answerer() {
    static MessageBoxAnswerer answerer;
    return answerer;
}

// The message as text: numbers, logicals and dates by the usual conversion,
// texts unchanged, anything else empty.
std::string MessageText(const ValueRecord& message) {
    const uint32_t base = message.BaseTag();
    if (tag::IsIndirect(message.tag)) return {};
    if (base == tag::kText) return message.Text();
    if (tag::IsNumeric(base) || base == tag::kLogical || base == tag::kDateTime)
        return ValueToString(message);
    return {};
}

// The standard button sets 0-6 of the style word, returned left to right so
// that the default-button bits can count along them.
QList<QAbstractButton*> AddButtons(QMessageBox& box, uint32_t buttonSet) {
    using B = QMessageBox;
    auto standard = [&box](std::initializer_list<B::StandardButton> kinds) {
        QList<QAbstractButton*> added;
        for (B::StandardButton kind : kinds) added.append(box.addButton(kind));
        return added;
    };
    switch (buttonSet) {
        case 1:
            return standard({B::Ok, B::Cancel});
        case 2:
            return standard({B::Abort, B::Retry, B::Ignore});
        case 3:
            return standard({B::Yes, B::No, B::Cancel});
        case 4:
            return standard({B::Yes, B::No});
        case 5:
            return standard({B::Retry, B::Cancel});
        case 6: {
            QList<QAbstractButton*> added = standard({B::Cancel});
            added.append(box.addButton(FromGbk(kTryAgain), B::AcceptRole));
            added.append(box.addButton(FromGbk(kContinue), B::AcceptRole));
            return added;
        }
        default:
            return standard({B::Ok});
    }
}

QMessageBox::Icon IconOf(uint32_t style) {
    switch (style & kIconMask) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int32_t AnswerOf(QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return kOk;
        case QMessageBox::Cancel:
            return kCancel;
        case QMessageBox::Abort:
            return kAbort;
        case QMessageBox::Retry:
            return kRetry;
        case QMessageBox::Ignore:
            return kIgnore;
        case QMessageBox::Yes:
            return kYes;
        case QMessageBox::No:
            return kNo;
        default:
            return kOk;
    }
}

int32_t ShowMessageBox(const std::string& text, const std::string& title, uint32_t style) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No window system to show it on: the message still reaches someone.
        std::fprintf(stderr, "%s: %s\n", GbkToUtf8Lossy(title).c_str(),
                     GbkToUtf8Lossy(text).c_str());
        return kOk;
    }
    QMessageBox box(IconOf(style), FromGbk(title), FromGbk(text), QMessageBox::NoButton);
    QList<QAbstractButton*> buttons = AddButtons(box, style & kButtonSetMask);
    // A default-button number past the last button names the first one.
    auto defaultIndex = static_cast<qsizetype>((style & kDefaultButtonMask) >> 8);
    if (defaultIndex >= buttons.size()) defaultIndex = 0;
    if (auto* push = qobject_cast<QPushButton*>(buttons[defaultIndex])) box.setDefaultButton(push);
    // Qt has no system-wide modality; both kinds block the whole program.
    box.setWindowModality(Qt::ApplicationModal);
    if (style & kSystemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (Answerer()) {
        QTimer::singleShot(0, &box, [&box] {
            if (QAbstractButton* button = Answerer()(box)) button->click();
        });
    }
    box.exec();
    return AnswerOf(box);
}

}  // namespace

void MessageBox(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    const std::string text = MessageText(arg[0]);
    const uint32_t style = arg[1].low;
    const std::string title = arg.Text(2, kDefaultTitle);
    result->low = static_cast<uint32_t>(ShowMessageBox(text, title, style));
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
    Answerer() = std::move(answerer);
}

void AnswerMessageBoxesOnStandardError(const char* program) {
    SetMessageBoxAnswerer([program = std::string(program)](QMessageBox& box) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), box.text().toUtf8().constData());
        QAbstractButton* button = box.defaultButton();
        return button ? button : box.buttons().value(0);
    });
}

}  // namespace velmora::commands
