#include "commands/dialog_commands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <chrono>
#include <string>
#include <vector>

#include "runtime/entry_table.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

using testing::Gbk;

// What the box showed, and which button the test pressed.
struct Shown {
    QString text;
    QString title;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
    QString defaultButton;
};

class MessageBoxTest : public ::testing::Test {
  protected:
    void TearDown() override { commands::SetMessageBoxAnswerer({}); }

    // Shows a box and presses the button whose label is `press` (the default
    // button when empty); answers the command's result.
    int32_t Show(std::vector<ValueRecord> args, const QString& press = {}) {
        commands::SetMessageBoxAnswerer([this, press](QMessageBox& box) -> QAbstractButton* {
            shown_.text = box.text();
            shown_.title = box.windowTitle();
            shown_.modality = box.windowModality();
            shown_.buttons.clear();
            for (QAbstractButton* b : box.buttons()) shown_.buttons << b->text().remove('&');
            if (box.defaultButton()) shown_.defaultButton = box.defaultButton()->text().remove('&');
            QAbstractButton* chosen = press.isEmpty() ? box.defaultButton() : nullptr;
            for (QAbstractButton* b : box.buttons())
                if (!press.isEmpty() && b->text().remove('&') == press) chosen = b;
            if (!chosen) {
                // Fail, but never leave a box up that nobody will answer.
                ADD_FAILURE() << "no button " << press.toStdString();
                chosen = box.buttons().value(0);
            }
            return chosen;
        });
        return Entries()
            .CallCoreCommand(commands::MessageBox, static_cast<int>(args.size()), args.data())
            .Int();
    }

    Shown shown_;
};

TEST_F(MessageBoxTest, MessagesOfEveryBasicTypeBecomeText) {
    const std::string text = Gbk("请输入关键词");
    struct Case {
        const char* name;
        ValueRecord message;
        const char* expected;
    } cases[] = {
        {"integer", MakeInteger(42), "42"},
        {"logical", MakeLogical(true), "真"},
        {"text", MakeTextValue(text.c_str()), "请输入关键词"},
        {"double", MakeDouble(2.5), "2.5"},
        {"byte", MakeByte(200), "200"},
        {"date", MakeDateTime(36526.5), "2000年1月1日12时"},
        {"control", MakeControlReference(tag::kEditBox, 1, 2), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show({c.message, MakeInteger(0)}), 0) << c.name;
        EXPECT_EQ(shown_.text, QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST_F(MessageBoxTest, TitleDefaultsAndTheBoxBlocksTheProgram) {
    Show({MakeInteger(1)});
    EXPECT_EQ(shown_.title, QString::fromUtf8("信息："));
    EXPECT_EQ(shown_.modality, Qt::ApplicationModal);
    EXPECT_EQ(shown_.buttons, QStringList{"OK"});
    const std::string title = Gbk("提示");
    Show({MakeInteger(1), MakeInteger(0), MakeTextValue(title.c_str())});
    EXPECT_EQ(shown_.title, QString::fromUtf8("提示"));
    Show({MakeInteger(1), MakeInteger(0), Omitted()});
    EXPECT_EQ(shown_.title, QString::fromUtf8("信息："));
}

TEST_F(MessageBoxTest, ButtonSetsAndTheAnswersTheyGive) {
    struct Case {
        uint32_t style;
        const char* press;
        int32_t result;
    } cases[] = {
        {0, "OK", 0},     {1, "OK", 0},     {1, "Cancel", 1},  {2, "Abort", 2},  {2, "Retry", 3},
        {2, "Ignore", 4}, {3, "Yes", 5},    {3, "No", 6},      {3, "Cancel", 1}, {4, "No", 6},
        {5, "Retry", 3},  {5, "Cancel", 1}, {6, "继续(C)", 0}, {6, "Cancel", 1}, {0x1004, "Yes", 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show({MakeInteger(0), MakeInteger(int32_t(c.style))}, QString::fromUtf8(c.press)),
                  c.result)
            << "style " << c.style << " pressing " << c.press;
    }
}

TEST_F(MessageBoxTest, DefaultButtonBitsCountFromTheLeft) {
    struct Case {
        uint32_t style;
        const char* expected;
        int32_t result;
    } cases[] = {
        {0x003, "Yes", 5},
        {0x103, "No", 6},
        {0x203, "Cancel", 1},
        {0x302, "Abort", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show({MakeInteger(0), MakeInteger(int32_t(c.style))}), c.result) << c.style;
        EXPECT_EQ(shown_.defaultButton, QString::fromUtf8(c.expected)) << c.style;
    }
}

TEST(Delay, SleepsWithoutHandlingEventsAndNeverForNegativeTimes) {
    QCoreApplication* app = QCoreApplication::instance();
    int handled = 0;
    QMetaObject::invokeMethod(
        app, [&] { ++handled; }, Qt::QueuedConnection);

    using Clock = std::chrono::steady_clock;
    ValueRecord negative = MakeInteger(-5);
    Clock::time_point start = Clock::now();
    Entries().CallCoreCommand(commands::Delay, 1, &negative);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100));

    ValueRecord wait = MakeInteger(30);
    start = Clock::now();
    Entries().CallCoreCommand(commands::Delay, 1, &wait);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(handled, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 1);
}

}  // namespace
}  // namespace velmora
