#pragma once

// Shared set-up of the window tests: a private home, settings store and working folder, and a
// way to answer the modal dialogs the code under test opens.

#include "storage/settingsstore.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace testenv {

// Points HOME, the XDG folders and REWORDIX_HOME into `dir` before the application exists, so
// nothing touches a real user's files.
inline void isolate(const QTemporaryDir &dir)
{
    const QByteArray root = dir.path().toUtf8();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("REWORDIX_HOME", root + "/work");
    // No installed thesaurus: a window test does not convert one at every start.
    qputenv("REWORDIX_THESAURUS_DIR", root + "/no-thesauri/");
    QStandardPaths::setTestModeEnabled(true);
}

// Waits (without blocking the caller's modal loop) for a modal widget of type Dialog and runs
// `answer` on it. Gives up after five seconds so a missing dialog fails the test instead of
// hanging it.
template <typename Dialog>
void answerLater(std::function<void(Dialog *)> answer)
{
    auto *timer = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, deadline] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace testenv

// main() of a window test: isolated environment, application names set, and the application
// kept alive when a tested window closes.
#define REWORDIX_WINDOW_TEST_MAIN(TestClass)                                                       \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QTemporaryDir home;                                                                        \
        testenv::isolate(home);                                                                    \
        QApplication app(argc, argv);                                                              \
        app.setQuitOnLastWindowClosed(false);                                                      \
        storage::setApplicationNames();                                                            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
