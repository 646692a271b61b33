#include "core/profile.h"

#include "support/printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString section = QStringLiteral("Kurvatur");

struct ReadCase {
    const char* name;
    QByteArray content;
    const char* key;
    std::optional<QString> expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueAsWritten) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(core::Profile::parse(c.content).value(section, QLatin1String(c.key)), c.expected);
}

const char junkBytes[] = "\x00\xff\xfe[\x01=\x02]\n\r\r\n=\n[Kurvatur\x00]\nColtab";
const QByteArray junk(junkBytes, sizeof junkBytes - 1);

const QString longValue = QString(5000, QLatin1Char('7')) + QLatin1Char(':');

INSTANTIATE_TEST_SUITE_P(
    OddFiles, ProfileRead,
    ::testing::Values(
        ReadCase{"plain", "[Kurvatur]\nColtab=255:\n", "Coltab", QStringLiteral("255:")},
        ReadCase{"keyWithoutRegardToCase", "[kurvatur]\ncoltab=1:\n", "COLTAB",
                 QStringLiteral("1:")},
        ReadCase{"crLf", "[Kurvatur]\r\nLArt=1:2:\r\nLDicke=3:\r\n", "LArt",
                 QStringLiteral("1:2:")},
        ReadCase{"commasAndQuotesVerbatim", "[Kurvatur]\nAttribs=\"x\":0,5:1,25:\n", "Attribs",
                 QStringLiteral("\"x\":0,5:1,25:")},
        ReadCase{"blanksAroundKeyAndValue", "[Kurvatur]\n  LArt = 4: \n", "LArt",
                 QStringLiteral("4:")},
        ReadCase{"emptyValue", "[Kurvatur]\nColtab=\n", "Coltab", QString()},
        ReadCase{"firstOfDuplicateKeys", "[Kurvatur]\nLArt=1:\nLArt=2:\n", "LArt",
                 QStringLiteral("1:")},
        ReadCase{"noSection", "Coltab=255:\n", "Coltab", std::nullopt},
        ReadCase{"otherSection", "[Andere]\nColtab=255:\n[Kurvatur]\nLArt=1:\n", "Coltab",
                 std::nullopt},
        ReadCase{"secondSectionOfTheName", "[Kurvatur]\nLArt=1:\n[x]\n[KURVATUR]\nColtab=9:\n",
                 "Coltab", QStringLiteral("9:")},
        ReadCase{"veryLongValue", "[Kurvatur]\nAttribs=" + longValue.toLatin1() + "\n", "Attribs",
                 longValue},
        ReadCase{"binaryJunk", junk, "Coltab", std::nullopt},
        ReadCase{"latin1", "[Kurvatur]\nAttribs=\xe4:\n", "Attribs", QStringLiteral("ä:")},
        ReadCase{"empty", "", "Coltab", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, SettingKeepsEverythingElseAndTheLineEnds) {
    core::Profile p = core::Profile::parse("; Kommentar\r\n[Andere]\r\nA=1,2\r\n[kurvatur]\r\n"
                                           "coltab=1:\r\nFremd=x\r\n\r\n[Letzte]\r\nB=2\r\n");
    p.setValue(section, QStringLiteral("Coltab"), QStringLiteral("2:"));
    p.setValue(section, QStringLiteral("LArt"), QStringLiteral("3:"));
    p.setValue(QStringLiteral("Neu"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_EQ(p.content(), QByteArray("; Kommentar\r\n[Andere]\r\nA=1,2\r\n[kurvatur]\r\n"
                                      "Coltab=2:\r\nFremd=x\r\nLArt=3:\r\n\r\n[Letzte]\r\nB=2\r\n"
                                      "[Neu]\r\nK=v\r\n"));
}

TEST(Profile, WriteThenReadGivesTheSameContentAndValues) {
    core::Profile p;
    p.setValue(section, QStringLiteral("Attribs"), QStringLiteral("φ:y:0,5:"));
    p.setValue(section, QStringLiteral("Coltab"), longValue);
    const QByteArray written = p.content();
    const core::Profile back = core::Profile::parse(written);
    EXPECT_EQ(back.content(), written);
    EXPECT_EQ(back.value(section, QStringLiteral("attribs")), QStringLiteral("φ:y:0,5:"));
    EXPECT_EQ(back.value(section, QStringLiteral("Coltab")), longValue);
}

TEST(Profile, SaveKeepsABackupAndReplacesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kurvatur.ini"));
    core::Profile p;
    p.setValue(section, QStringLiteral("LArt"), QStringLiteral("1:"));
    ASSERT_TRUE(p.save(path));
    p.setValue(section, QStringLiteral("LArt"), QStringLiteral("2:"));
    ASSERT_TRUE(p.save(path));
    EXPECT_EQ(core::Profile::load(path).value(section, QStringLiteral("LArt")),
              QStringLiteral("2:"));
    EXPECT_EQ(
        core::Profile::load(path + QStringLiteral(".bak")).value(section, QStringLiteral("LArt")),
        QStringLiteral("1:"));
}

TEST(Profile, AFailedSaveLeavesNoFileBehind) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("datei")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A folder below a plain file can never be made, whoever runs the test.
    const QString path = dir.filePath(QStringLiteral("datei/Kurvatur.ini"));
    core::Profile p;
    p.setValue(section, QStringLiteral("LArt"), QStringLiteral("1:"));
    EXPECT_FALSE(p.save(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("datei")});
}

TEST(Profile, MissingFileIsEmpty) {
    QTemporaryDir dir;
    const core::Profile p = core::Profile::load(dir.filePath(QStringLiteral("fehlt.ini")));
    EXPECT_TRUE(p.content().isEmpty());
}

} // namespace
