#pragma once
// Running the real program "kurvatur" (KURVATUR_BINARY, defined by the test target) without a
// display: the environment holds PATH and nothing else, or names a platform that cannot start
// without one.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace testsupport {

struct Outcome {
    bool finished = false;
    int code = -1;
    QByteArray out;
    QByteArray err;
};

inline QProcessEnvironment withoutDisplay(bool xcb) {
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    if (xcb) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

inline Outcome runKurvatur(const QStringList& arguments, const QProcessEnvironment& env) {
    Outcome result;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KURVATUR_BINARY), arguments);
    if (!p.waitForStarted(10000)) return result;
    result.finished = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
    result.code = p.exitCode();
    result.out = p.readAllStandardOutput();
    result.err = p.readAllStandardError();
    return result;
}

} // namespace testsupport
