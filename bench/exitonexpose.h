#ifndef EXITONEXPOSE_H
#define EXITONEXPOSE_H

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

// Ends the process as soon as the first window has been exposed: the expose event is let
// through, so the window paints and flushes its first frame, and the process then ends from
// the next turn of the event loop, without tearing anything down. A process that shows no
// window within ten seconds ends with exit code 2, so a broken start never passes as a fast one.
//
// Installed on the application before anything else is created, it is the start-up
// benchmarks' single stop signal, identical for every program compared.
class ExitOnFirstExpose : public QObject
{
public:
    explicit ExitOnFirstExpose(QCoreApplication *application)
        : QObject(application)
    {
        application->installEventFilter(this);
        QTimer::singleShot(10000, this, [] {
            std::fputs("no window was exposed within 10 s\n", stderr);
            std::fflush(stderr);
            std::_Exit(2);
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_exposed && event->type() == QEvent::Expose) {
            const auto *window = qobject_cast<const QWindow *>(watched);
            if (window && window->isExposed()) {
                m_exposed = true;
                QMetaObject::invokeMethod(
                    this, [] { std::_Exit(0); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_exposed = false;
};

#endif // EXITONEXPOSE_H
