// The collector as the user meets it, inside a test process: the program image
// started, its main window built from the stored block and shown, the
// simulator of the outside sites on loopback behind the proxy setting, and
// every message box answered and recorded. One per process; the suite runs in
// a program folder of its own (tests/own_folder_main.cpp) holding a copy of
// the starter template.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace velmora::testing {

class LiveProgram {
  public:
    // Starts the simulator and the program, and loads the main window.
    static LiveProgram& Get();

    QWidget* Control(uint32_t unit) const;
    template <typename T>
    T* Control(uint32_t unit) const {
        return qobject_cast<T*>(Control(unit));
    }

    // Clicks a button as the user would; its handler runs to its end.
    void Press(uint32_t unit);
    // Replaces a text box's contents (UTF-8) and selects an item of a list.
    void Type(uint32_t unit, const QString& text);
    void ChooseTemplate(const QString& name);

    // Logs into the simulated platform through the login browser's own form,
    // as a user does, and waits until the program sees the login.
    void LogIn();
    // Forgets the login: no cookies, a blank login browser.
    void LogOut();

    // The log box, line by line, in UTF-8 (the last line may be open).
    std::vector<std::string> LogLines() const;
    void ClearLog();

    // Message boxes shown since the last call, their texts in UTF-8.
    std::vector<std::string> TakeMessages();
    // The log box (UTF-8) as it stood when the latest message box came up.
    std::string LogAtLastMessage() const;

    // Request lines the simulator logged since the last call.
    std::vector<std::string> TakeRequests();

    // The folder of the template library ("<program>/单页生成/模板"), UTF-8.
    std::string TemplateRoot() const;

  private:
    LiveProgram();
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace velmora::testing
