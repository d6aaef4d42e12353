#include "runtime/message_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <thread>

namespace velmora {

void ProcessPendingMessages() {
    if (!QAbstractEventDispatcher::instance()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitForMessages(int milliseconds) {
    if (milliseconds <= 0) return;
    if (!QAbstractEventDispatcher::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    // The timer only bounds the wait; its expiry is itself the event that ends it.
    QTimer limit;
    limit.setTimerType(Qt::PreciseTimer);
    limit.setSingleShot(true);
    limit.start(milliseconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace velmora
