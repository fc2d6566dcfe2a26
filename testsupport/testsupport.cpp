#include "testsupport.h"

#include "storage/settingsstore.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

namespace testsupport {

namespace {
int missingDialogs = 0;

QTemporaryDir &home()
{
    // Lives until the program ends, so the working folder outlasts every test function.
    static QTemporaryDir dir;
    return dir;
}
} // namespace

QString isolate()
{
    const QString root = home().path();
    const QByteArray r = root.toUtf8();
    qputenv("HOME", r);
    qputenv("XDG_CONFIG_HOME", r + "/config");
    qputenv("XDG_DATA_HOME", r + "/data");
    qputenv("XDG_CACHE_HOME", r + "/cache");
    qputenv("XDG_RUNTIME_DIR", r + "/runtime");
    QDir().mkpath(root + "/runtime");
    QFile::setPermissions(root + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("REWORDIX_HOME", r + "/work");
    // No installed thesaurus: a test does not convert one unless it points here itself.
    qputenv("REWORDIX_THESAURUS_DIR", r + "/no-thesauri/");
    // No update server and no Copyscape host outside the tests' own.
    qunsetenv("REWORDIX_UPDATE_SERVER");
    qunsetenv("REWORDIX_COPYSCAPE_ENDPOINT");
    QStandardPaths::setTestModeEnabled(true);
    return root;
}

void setApplicationNames()
{
    storage::setApplicationNames();
}

QString workingFolder()
{
    return qEnvironmentVariable("REWORDIX_HOME");
}

QString testData(const QString &name)
{
    return qEnvironmentVariable("REWORDIX_TEST_DATA") + QLatin1Char('/') + name;
}

namespace detail {

void reportMissingDialog(const char *kind, int waitedMs, const char *what)
{
    const QByteArray message =
        QByteArray("modal ") + kind + ' ' + what + ' ' + QByteArray::number(waitedMs / 1000) + " s";
    ++missingDialogs;
    if (QTest::currentTestFunction())
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    else
        qWarning("%s", message.constData());
}

void rejectModalDialogs()
{
    while (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
}

int failureCount()
{
    return missingDialogs;
}

} // namespace detail
ProgramRun runProgram(const QString &program, const QStringList &arguments,
                      const ProgramOptions &options)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : options.environment) {
        const qsizetype eq = entry.indexOf(u'=');
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    p.setProcessEnvironment(env);
    if (!options.workingDirectory.isEmpty())
        p.setWorkingDirectory(options.workingDirectory);
    p.start(program, arguments);
    ProgramRun run;
    if (!p.waitForStarted()) {
        run.problem = QStringLiteral("%1 did not start: %2").arg(program, p.errorString());
        return run;
    }
    if (!options.input.isEmpty())
        p.write(options.input);
    p.closeWriteChannel();
    if (!p.waitForFinished(options.timeoutMs)) {
        p.kill();
        p.waitForFinished();
        run.problem = QStringLiteral("%1 was still running after %2 ms and was stopped")
                          .arg(program)
                          .arg(options.timeoutMs);
    }
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    if (run.problem.isEmpty() && p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    else if (run.problem.isEmpty())
        run.problem = QStringLiteral("%1 crashed").arg(program);
    return run;
}

} // namespace testsupport
