#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Runs the event loop until `done` holds or the time is up. For timers the
// program starts itself, never for modal dialogs (those are scripted).
template <typename Pred>
bool processUntil(Pred done, int ms = 3000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
