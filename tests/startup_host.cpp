// A small program that the start-up tests run as a child process, where exit
// codes and standard streams are what counts. argv[1] names the scenario:
//   close        the window closes by itself; orderly end
//   fatal N      runtime error N is raised from inside the loop
//   thread-exit  another thread asks for exit code 7 while the loop runs
//   no-windows   the description block is empty, so the window cannot load
//   dll NAME     calls the function NAME of velmora_probe.dll and prints its value
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "runtime/entry_table.h"
#include "runtime/notification.h"
#include "runtime/program_start.h"
#include "runtime/qt_host.h"
#include "runtime/window_layer.h"

namespace {

using namespace velmora;

constexpr uint32_t kWindowId = 0x52010001;

// Stands in for the window layer: the block is a list of window ids, and a
// loaded window is a plain top-level widget.
class WidgetWindows : public WindowLayer {
  public:
    bool ReadDescriptions(const void* block, size_t size) override {
        if (size % 4 != 0) return false;
        for (size_t i = 0; i < size; i += 4) {
            uint32_t id;
            std::memcpy(&id, static_cast<const char*>(block) + i, 4);
            described_.insert(id);
        }
        return true;
    }
    void RelocateHandlers(const void*) override {}
    void RegisterWindows() override {}
    bool LoadWindow(uint32_t id) override {
        if (!described_.count(id)) return false;
        auto* widget = new QWidget;
        widget->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(widget, &QObject::destroyed, [this, id] {
            live_.erase(id);
            RuntimeNotify(kNotifyWindowDestroyed, id, 0);
        });
        live_[id] = widget;
        widget->show();
        return true;
    }
    bool AnyWindowAlive() const override {
        for (const auto& [id, widget] : live_)
            if (widget) return true;
        return false;
    }
    void DestroyAllWindows() override {
        auto windows = live_;
        live_.clear();
        for (auto& [id, widget] : windows) delete widget.data();
    }
    QWidget* Live(uint32_t id) { return live_.count(id) ? live_[id].data() : nullptr; }

  private:
    std::set<uint32_t> described_;
    std::map<uint32_t, QPointer<QWidget>> live_;
};

WidgetWindows windows;
std::string scenario;
std::string argument;
std::thread::id mainThread;
int idleCalls = 0;
int endRoutineCalls = 0;

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void EndRoutine() {
    ++endRoutineCalls;
    Say("end routine " + std::to_string(endRoutineCalls) +
        (std::this_thread::get_id() == mainThread ? " on the main thread" : " elsewhere"));
    Say(idleCalls > 0 ? "idle callbacks ran" : "no idle callback ran");
}

intptr_t HostLibraryNotify(int code, uintptr_t, uintptr_t) {
    if (code == kLibraryEnding) Say("library told of the end");
    return 0;
}
const LibraryRecord kLibrary{.name = "host", .notify = HostLibraryNotify};
const LibraryRecord* const kLibraries[] = {&kLibrary};

const uint32_t kWindowBlock[] = {kWindowId};
const char* const kDllFiles[] = {"velmora_probe.dll"};
const char* dllFunctions[] = {""};

int Entry() {
    const EntryTable& runtime = Entries();
    runtime.RuntimeService(kServiceInitialise, 0, nullptr);
    mainThread = std::this_thread::get_id();
    const uint64_t end = reinterpret_cast<uintptr_t>(&EndRoutine);
    runtime.RuntimeService(kServiceSetEndRoutine, 1, &end);

    if (scenario == "dll") {
        Say("started");
        Say("value " + std::to_string(runtime.CallDllCommand(0, 0, nullptr)));
        return 0;
    }
    runtime.LoadWindow(kWindowId);
    AddIdleCallback(
        windows.Live(kWindowId), [](uintptr_t data) { idleCalls += static_cast<int>(data); }, 1);
    if (scenario == "close") {
        QTimer::singleShot(100, [] { windows.Live(kWindowId)->close(); });
    } else if (scenario == "fatal") {
        QTimer::singleShot(0, [] { Entries().RaiseRuntimeError(std::atoi(argument.c_str())); });
    } else if (scenario == "thread-exit") {
        QTimer::singleShot(0, [] { std::thread([] { Entries().ExitProgram(7); }).detach(); });
    }
    runtime.RunMessageLoop();
    Say("loop returned");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    scenario = argc > 1 ? argv[1] : "";
    argument = argc > 2 ? argv[2] : "";
    dllFunctions[0] = argument.c_str();
    ProgramHeader header{
        .buildKind = 3,
        .windowBlock = kWindowBlock,
        .windowBlockSize = scenario == "no-windows" ? 0 : sizeof kWindowBlock,
        .libraryCount = 1,
        .libraries = kLibraries,
        .dllCommandCount = 1,
        .dllFileNames = kDllFiles,
        .dllFunctionNames = dllFunctions,
    };
    return RunProgram(argc, argv, header, Entry, &windows);
}
