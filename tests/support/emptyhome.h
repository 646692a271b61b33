#pragma once
// Running the real program "kurvatur" with a home and configuration folder of its own, which it
// must leave empty, and files for it in a second temporary folder.

#include "support/program.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace testsupport {

class EmptyHomeRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(files.isValid());
    }

    void TearDown() override {
        const QStringList left =
            QDir(home.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
    }

    Outcome run(const QStringList& arguments, bool xcb = false) {
        QProcessEnvironment env = withoutDisplay(xcb);
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        return runKurvatur(arguments, env);
    }

    // A file of these bytes in the files folder.
    QString fileWith(const QString& name, const QByteArray& bytes) {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }

    QTemporaryDir home;
    QTemporaryDir files;
};

} // namespace testsupport
