// How "kurvatur" starts: which arguments open the window, render, answer at once or are refused,
// and the real program answering without a display.

#include "core/version.h"
#include "mainwin/commandline.h"

#include "support/program.h"
#include "support/qtapp.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

using mainwin::StartKind;

struct StartCase {
    std::vector<const char*> arguments;
    StartKind kind;
    const char* problem = "";
};

QStringList toList(const std::vector<const char*>& arguments) {
    QStringList list;
    for (const char* a : arguments)
        list << QString::fromUtf8(a);
    return list;
}

TEST(StartOfKurvatur, ChosenByTheArguments) {
    const std::vector<StartCase> cases{
        {{}, StartKind::Window},
        // Qt's own options, with one dash or two, and their values.
        {{"--platform", "offscreen", "-reverse"}, StartKind::Window},
        {{"-display", ":1", "-geometry", "800x600+0+0", "-session", "s1"}, StartKind::Window},
        {{"-qwindowtitle", "--version"}, StartKind::Window}, // a title, not an option
        {{"-platform"}, StartKind::Wrong, "-platform ohne Wert"},
        {{"-platform=offscreen"}, StartKind::Wrong, "unbekannte Option -platform=offscreen"},
        {{"--foo"}, StartKind::Wrong, "unbekannte Option --foo"},
        {{"bild.png"}, StartKind::Wrong, "unerwartetes Argument bild.png"},
        {{"--renderer"}, StartKind::Wrong, "unbekannte Option --renderer"},
        {{"--term", "x^2"}, StartKind::Wrong, "--term gilt nur zusammen mit --render"},
        {{"--help"}, StartKind::Help},
        {{"-platform", "offscreen", "--help", "--foo"}, StartKind::Help},
        {{"--foo", "--help"}, StartKind::Wrong, "unbekannte Option --foo"},
        {{"--version"}, StartKind::Version},
        {{"--version", "--help"}, StartKind::Version},
        // Rendering: the render run judges its own arguments; an option's value stays a value.
        {{"--render=a.png", "--term", "x"}, StartKind::Render},
        {{"--render", "a.png", "--term", "--help"}, StartKind::Render},
        {{"--render", "a.png", "--help"}, StartKind::Help},
        {{"--render", "--version"}, StartKind::Render}, // the file is called "--version"
        // The collection commands: one file and one thing to do with it.
        {{"--collection", "a.kur", "--list"}, StartKind::Collection},
        {{"--list", "--collection=a.kur", "-platform", "offscreen"}, StartKind::Collection},
        {{"--collection", "a.kur", "--save-as", "b.kur"}, StartKind::Collection},
        {{"--collection", "--list", "--list"}, StartKind::Collection}, // the file is "--list"
        {{"--collection", "a.kur", "--list", "--help"}, StartKind::Help},
        {{"--list"}, StartKind::Wrong, "--list gilt nur zusammen mit --collection"},
        {{"--save-as", "b.kur"}, StartKind::Wrong, "--save-as gilt nur zusammen mit --collection"},
        {{"--collection", "a.kur"},
         StartKind::Wrong,
         "--collection DATEI braucht --list, --save-as ZIEL oder --render BILD"},
        {{"--collection"}, StartKind::Wrong, "--collection ohne Wert"},
        {{"--collection=", "--list"}, StartKind::Wrong, "--collection ohne Wert"},
        {{"--collection", "a.kur", "--save-as"}, StartKind::Wrong, "--save-as ohne Wert"},
        {{"--collection", "a.kur", "--list", "--list"},
         StartKind::Wrong,
         "--list mehrfach angegeben"},
        {{"--collection", "a.kur", "--collection", "b.kur", "--list"},
         StartKind::Wrong,
         "--collection mehrfach angegeben"},
        {{"--collection", "a.kur", "--list", "--save-as", "b.kur"},
         StartKind::Wrong,
         "--list und --save-as gehen nicht zusammen"},
        {{"--collection", "a.kur", "--list=ja"}, StartKind::Wrong, "unbekannte Option --list=ja"},
        {{"--collection", "a.kur", "--list", "b.kur"},
         StartKind::Wrong,
         "unerwartetes Argument b.kur"},
        // With a render run the collection options are the render run's to judge.
        {{"--render", "a.png", "--collection", "a.kur", "--entry", "Parabel"}, StartKind::Render},
        {{"--render", "a.png", "--collection", "--help"}, StartKind::Render}, // a file "--help"
        {{"--render", "a.png", "--entry", "--version"}, StartKind::Render},   // an entry's name
        {{"--entry", "2"}, StartKind::Wrong, "--entry gilt nur zusammen mit --render"},
    };
    for (const StartCase& c : cases) {
        const QStringList arguments = toList(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const mainwin::Start start = mainwin::startOf(arguments);
        EXPECT_EQ(int(start.kind), int(c.kind));
        EXPECT_EQ(start.problem, QString::fromUtf8(c.problem));
    }
}

// What a collection command is to do, as the arguments say it.
TEST(StartOfKurvatur, TheCollectionRequestTakesFileAndTarget) {
    using Action = mainwin::CollectionRequest::Action;
    struct Case {
        std::vector<const char*> arguments;
        mainwin::CollectionRequest request;
    };
    const std::vector<Case> cases{
        {{"--collection", "a.kur", "--list"}, {QStringLiteral("a.kur"), Action::List, {}}},
        {{"--list", "--collection=ä b.kur"}, {QStringLiteral("ä b.kur"), Action::List, {}}},
        {{"--collection", "a.kur", "--save-as", "b.kur"},
         {QStringLiteral("a.kur"), Action::SaveAs, QStringLiteral("b.kur")}},
        {{"--save-as=--list", "--collection=a=b.kur"},
         {QStringLiteral("a=b.kur"), Action::SaveAs, QStringLiteral("--list")}},
    };
    for (const Case& c : cases) {
        const QStringList arguments = toList(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const mainwin::Start start = mainwin::startOf(arguments);
        ASSERT_EQ(int(start.kind), int(StartKind::Collection)) << start.problem.toStdString();
        EXPECT_EQ(start.collection, c.request);
    }
}

TEST(StartOfKurvatur, TheProgramNameIsNoArgument) {
    char program[] = "kurvatur";
    char render[] = "--render";
    char file[] = "a.png";
    char* withRender[] = {program, render, file, nullptr};
    char* onlyProgram[] = {render, nullptr};
    EXPECT_EQ(mainwin::argumentsOf(3, withRender),
              (QStringList{QStringLiteral("--render"), QStringLiteral("a.png")}));
    EXPECT_TRUE(mainwin::argumentsOf(1, onlyProgram).isEmpty());
}

// Every option the start accepts is explained, the render run's with it.
TEST(StartOfKurvatur, TheUsageNamesEveryOption) {
    const QString text = mainwin::usage();
    for (const char* option : {"--render", "--size", "--term", "--set", "--range", "--collection",
                               "--list", "--save-as", "--help", "--version"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(option))) << option;
}

using testsupport::Outcome;
using testsupport::runKurvatur;
using testsupport::withoutDisplay;

TEST(KurvaturProgram, AnswersWithoutADisplay) {
    const QByteArray usage = mainwin::usage().toUtf8();
    const QByteArray version = core::versionLine().toUtf8() + '\n';
    struct Case {
        std::vector<const char*> arguments;
        int code;
        QByteArray out;
        const char* errContains; // empty: nothing on standard error
    };
    const std::vector<Case> cases{
        {{"--help"}, 0, usage, ""},
        {{"--version"}, 0, version, ""},
        {{"-platform", "xcb", "--version"}, 0, version, ""},
        {{"--foo"}, 2, {}, "kurvatur: unbekannte Option --foo\nKurvatur 2"},
        {{"--list"}, 2, {}, "kurvatur: --list gilt nur zusammen mit --collection\nKurvatur 2"},
    };
    for (const bool xcb : {false, true}) {
        for (const Case& c : cases) {
            const QStringList arguments = toList(c.arguments);
            SCOPED_TRACE((xcb ? "xcb: " : "") + arguments.join(QLatin1Char(' ')).toStdString());
            const Outcome r = runKurvatur(arguments, withoutDisplay(xcb));
            ASSERT_TRUE(r.finished) << r.err.constData();
            EXPECT_EQ(r.code, c.code) << r.err.constData();
            EXPECT_EQ(r.out, c.out);
            if (*c.errContains)
                EXPECT_TRUE(r.err.contains(c.errContains)) << r.err.constData();
            else
                EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
        }
    }

    // A render run draws offscreen, whatever desktop platform the environment names.
    QTemporaryDir dir;
    for (const bool xcb : {false, true}) {
        SCOPED_TRACE(xcb ? "xcb" : "no platform");
        const QString file = dir.filePath(QStringLiteral("f.png"));
        const Outcome r = runKurvatur(
            {QStringLiteral("--render"), file, QStringLiteral("--term"), QStringLiteral("x^2")},
            withoutDisplay(xcb));
        ASSERT_TRUE(r.finished) << r.err.constData();
        EXPECT_EQ(r.code, 0) << r.err.constData();
        EXPECT_TRUE(QFileInfo::exists(file));
        QFile::remove(file);
    }
}

TEST(KurvaturProgram, QtOptionsStillOpenTheWindow) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = withoutDisplay(false);
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KURVATUR_BINARY),
            {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
             QStringLiteral("fusion"), QStringLiteral("-reverse")});
    ASSERT_TRUE(p.waitForStarted(10000));
    // A refused start ends at once; the window program runs until it is closed.
    EXPECT_FALSE(p.waitForFinished(1000)) << p.readAllStandardError().constData();
    p.kill();
    p.waitForFinished(10000);
}

} // namespace
