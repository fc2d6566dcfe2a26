#pragma once

// Shared set-up of the tests: a private home, settings store and working folder, the
// application names, and a way to answer the modal dialogs the code under test opens.

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class QTemporaryDir;

namespace testsupport {

// Points HOME, the XDG folders and REWORDIX_HOME into a private temporary folder (created on
// first call, kept until the program ends), turns on QStandardPaths' test mode, and hides the
// installed thesauri so no test converts one by accident. Call before the application object
// exists. Returns the folder.
QString isolate();

// The organisation and application names of the settings store.
void setApplicationNames();

// The working folder isolate() chose (REWORDIX_HOME).
QString workingFolder();

// Fixture `name` from the folder the test was registered with (REWORDIX_TEST_DATA).
QString testData(const QString &name);

// What a program run by runProgram() left: its output, error output and exit status (-1 when
// it did not start, crashed or was stopped after the time limit; `problem` then says which).
struct ProgramRun
{
    QByteArray out;
    QByteArray err;
    int status = -1;
    QString problem;
};

struct ProgramOptions
{
    QStringList environment;  // "NAME=value" entries added to this process's environment
    QString workingDirectory; // empty: this process's
    QByteArray input;         // written to the program's standard input, which is then closed
    int timeoutMs = 300000;
};

// Runs `program` with `arguments` and waits for it; a program still running after the time
// limit is killed, so no test hangs on it.
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const ProgramOptions &options = {});

namespace detail {
// Reports that no dialog of the expected kind came in time: a test failure when a test
// function runs, otherwise a warning and a non-zero exit status of the test program.
void reportMissingDialog(const char *kind, int waitedMs,
                         const char *what = "expected but not shown within");
// Closes any modal dialog still open, so a dialog nobody answered cannot block the program.
void rejectModalDialogs();
int failureCount();
} // namespace detail

// Answers the next modal widget of type Dialog with `answer`, waiting for it without blocking
// the caller's modal loop. When none has shown up after `timeoutMs`, the current test fails
// with a message naming the dialog kind, and the watch goes on: a dialog that shows up late is
// still answered. A dialog that stays open after its answer (a file dialog still listing its
// folder on a slow machine may refuse the first accept) is answered again every second; if it
// is still open `timeoutMs` later, the test fails and the dialog is closed, so it never leaves
// the test hanging.
template <typename Dialog>
void answerLater(std::function<void(Dialog *)> answer, int timeoutMs = 30000)
{
    struct Watch
    {
        QDeadlineTimer deadline;
        bool reported = false;
        bool answered = false;
        QPointer<Dialog> dialog;
        QDeadlineTimer retry;
    };
    auto watch = std::make_shared<Watch>();
    watch->deadline = QDeadlineTimer(timeoutMs);
    auto *timer = new QTimer(qApp);
    const auto finish = [timer] {
        timer->stop();
        timer->deleteLater();
    };
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (watch->answered) {
            if (!watch->dialog || !watch->dialog->isVisible())
                return finish();
            if (watch->deadline.hasExpired()) {
                detail::reportMissingDialog(Dialog::staticMetaObject.className(), timeoutMs,
                                            "closed: still open after its answer for");
                watch->dialog->close();
                return finish();
            }
            if (watch->retry.hasExpired()) {
                watch->retry = QDeadlineTimer(1000);
                answer(watch->dialog);
            }
            return;
        }
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            watch->answered = true;
            watch->dialog = dialog;
            watch->deadline = QDeadlineTimer(timeoutMs);
            watch->retry = QDeadlineTimer(1000);
            answer(dialog);
        } else if (!watch->reported && watch->deadline.hasExpired()) {
            watch->reported = true;
            detail::reportMissingDialog(Dialog::staticMetaObject.className(), timeoutMs);
        }
    });
    timer->start(10);
}

// main() body of every test: isolated environment, application names, and the test run. The
// application is kept alive when a tested window closes.
template <typename App, typename TestClass> int runTest(int argc, char **argv)
{
    isolate();
    App app(argc, argv);
    if constexpr (std::is_base_of_v<QGuiApplication, App>)
        app.setQuitOnLastWindowClosed(false);
    setApplicationNames();
    TestClass test;
    const int status = QTest::qExec(&test, argc, argv);
    if constexpr (std::is_base_of_v<QApplication, App>)
        detail::rejectModalDialogs();
    return status != 0 ? status : (detail::failureCount() > 0 ? 1 : 0);
}

} // namespace testsupport

// main() of a test with widgets, of one that needs only a QGuiApplication, and of a Core test.
#define REWORDIX_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        return testsupport::runTest<QApplication, TestClass>(argc, argv);                          \
    }
#define REWORDIX_TEST_GUILESS_MAIN(TestClass)                                                      \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        return testsupport::runTest<QCoreApplication, TestClass>(argc, argv);                      \
    }
