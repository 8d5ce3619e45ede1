#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <chrono>
#include <cstdio>

// Ends a window program once its window has been drawn for the first time: at the first paint
// event of the window or of any widget in it (a widget that its children cover wholly gets none)
// a call is queued, which runs when that drawing (every widget of the window, and the copy to the
// screen) is done; it writes "drawn NANOSECONDS" (the steady clock, which every
// process of the machine shares) to stdout and quits the event loop. The benchmark's start-up
// programs all end by this one rule.
class FirstPaint : public QObject {
public:
    static void watch(QWidget *window)
    {
        QCoreApplication::instance()->installEventFilter(new FirstPaint(window));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == parent()) {
            m_seen = true;
            QMetaObject::invokeMethod(this, &FirstPaint::finish, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit FirstPaint(QObject *parent) : QObject(parent) {}

    void finish()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("drawn %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_seen = false;
};
