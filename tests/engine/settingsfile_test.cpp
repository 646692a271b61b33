#include "engine/settingsfile.h"

#include "core/state.h"
#include "engine/attributes.h"
#include "engine/enginedefs.h"
#include "support/printing.h"
#include "support/recordingmessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.configFolder = folder.path();
        state.messages = messages;
    }
    void writeFile(const QByteArray& content) {
        QFile file(engine::settingsPath(state));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray fileContent() const {
        QFile file(engine::settingsPath(state));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    core::State state;
    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
};

TEST_F(SettingsFile, ASingleColourSetsSlotZeroOnly) {
    const core::State untouched;
    writeFile("[Kurvatur]\r\nColtab=255:\r\n");
    engine::loadsettings(state);
    EXPECT_EQ(state.lineColours[0], core::rgb(255, 0, 0));
    for (int i = 1; i < core::lineCount; ++i)
        EXPECT_EQ(state.lineColours[i], untouched.lineColours[i]) << i;
}

TEST_F(SettingsFile, ThirteenLineTypesGoToTheirSlotsInOrder) {
    writeFile("[Kurvatur]\nLArt=1:2:3:4:5:6:7:8:9:10:0:1:2:9:\n");
    engine::loadsettings(state);
    const std::array<int, core::lineCount> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1, 2};
    for (int i = 0; i < core::lineCount; ++i)
        EXPECT_EQ(state.lines[i].lineType, expected[i]) << i;
}

struct SlotCase {
    const char* name;
    const char* line;
    std::array<int, 6> expected; // slots 0 ... 5 afterwards (widths, types or colours)
};

class SettingsSlots : public SettingsFile, public ::testing::WithParamInterface<SlotCase> {};

// Everything that the program would not offer leaves its slot as it was; the others are read.
TEST_P(SettingsSlots, RefuseWhatTheProgramDoesNotOffer) {
    const SlotCase& c = GetParam();
    state.lineSlots[0].width = 5;
    state.lines[0].lineType = 5;
    writeFile(QByteArray("[Kurvatur]\n") + c.line + "\n");
    engine::loadsettings(state);
    for (int i = 0; i < 6; ++i) {
        const int value = QByteArray(c.line).startsWith("LDicke") ? state.lineSlots[i].width
                          : QByteArray(c.line).startsWith("LArt") ? state.lines[i].lineType
                                                                  : int(state.lineColours[i]);
        EXPECT_EQ(value, c.expected[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSlots,
    ::testing::Values(SlotCase{"widths", "LDicke=8:3:-1:x::7,0", {5, 3, 0, 0, 0, 7}},
                      SlotCase{"types", "LArt=11:10: 2 :1.5:abc:", {5, 10, 2, 2, 0, 0}},
                      SlotCase{"colours",
                               "Coltab=16777216:0:-1:16777215:",
                               {int(core::rgb(0, 0, 255)), 0, int(core::rgb(255, 0, 0)), 0xffffff,
                                int(core::rgb(128, 0, 128)), int(core::rgb(255, 0, 255))}},
                      SlotCase{"emptyValue", "LDicke=", {5, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFile, SaveThenLoadReadsBackEqual) {
    for (int i = 0; i < core::lineCount; ++i) {
        state.lineColours[i] = core::rgb(i * 19, 255 - i, i * 7);
        state.lineSlots[i].width = i % 8;
        state.lines[i].lineType = i % 11;
    }
    state.scale.xGridStep = 0.123456789012345;
    state.zoomX = 1.1;
    state.zoomY = 4;
    state.graphOptions.yAxisName = QStringLiteral("f(x), gerundet");
    engine::setanglemode(state, 2);
    state.calcDecimals = 7;
    ASSERT_TRUE(engine::savesettings(state));

    core::State back;
    back.configFolder = state.configFolder;
    engine::loadsettings(back);
    for (int i = 0; i < core::lineCount; ++i) {
        EXPECT_EQ(back.lineColours[i], state.lineColours[i]) << i;
        EXPECT_EQ(back.lineSlots[i].width, state.lineSlots[i].width) << i;
        EXPECT_EQ(back.lines[i].lineType, state.lines[i].lineType) << i;
    }
    EXPECT_EQ(engine::attrlist(back), engine::attrlist(state));
    EXPECT_EQ(back.scale.xGridStep, 0.123456789012345);
    EXPECT_EQ(back.trigMode, 2.0f);
    EXPECT_EQ(back.calcDecimals, 7);
    EXPECT_EQ(back.zoomX, 1.1);
    EXPECT_EQ(back.zoomY, 4);
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SettingsFile, SaveWritesTheKeysInOrderAndKeepsTheRest) {
    writeFile("[Fremd]\nA=1,2\n");
    ASSERT_TRUE(engine::savesettings(state));
    const QString text = QString::fromUtf8(fileContent());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Fremd]\nA=1,2\n[Kurvatur]\nAttribs=x:y:16:")))
        << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("\nColtab=16711680:40960:255:")),
              text.indexOf(QStringLiteral("\nLDicke=0:0:0:0:0:0:0:0:0:0:0:0:0:\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        "\nLArt=0:0:0:0:0:0:0:0:0:0:0:0:0:\nRechnerstellen=3\nZoom=1,5:1,5:\n")))
        << text.toStdString();
}

TEST_F(SettingsFile, ZoomFactorsBelowOneOrUnreadableStay) {
    const struct {
        const char* line;
        double zoomX, zoomY;
    } cases[] = {
        {"Zoom=2:3:", 2, 3},    {"Zoom=1:0,5:", 1, 1.5}, {"Zoom=abc:2,25", 1.5, 2.25},
        {"Zoom=-2:", 1.5, 1.5}, {"Zoom=", 1.5, 1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        state.zoomX = state.zoomY = 1.5;
        writeFile(QByteArray("[Kurvatur]\n") + c.line + "\n");
        engine::loadsettings(state);
        EXPECT_EQ(state.zoomX, c.zoomX);
        EXPECT_EQ(state.zoomY, c.zoomY);
    }
}

TEST_F(SettingsFile, MissingFileOrKeysLeaveTheCurrentValues) {
    state.lineSlots[3].width = 4;
    state.graphOptions.xAxisName = QStringLiteral("t");
    const QString before = engine::attrlist(state);
    engine::loadsettings(state);
    writeFile("[Kurvatur]\nAndere=1:\n");
    engine::loadsettings(state);
    EXPECT_EQ(state.lineSlots[3].width, 4);
    EXPECT_EQ(engine::attrlist(state), before);
}

TEST_F(SettingsFile, TheFolderIsMadeWhenMissing) {
    state.configFolder = folder.filePath(QStringLiteral("neu/Kurvatur"));
    ASSERT_TRUE(engine::savesettings(state));
    EXPECT_TRUE(QFile::exists(engine::settingsPath(state)));
}

TEST_F(SettingsFile, AFailedWriteIsToldAndLeavesNoHalfFile) {
    QFile blocker(folder.filePath(QStringLiteral("datei")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    state.configFolder = folder.filePath(QStringLiteral("datei/Kurvatur"));
    EXPECT_FALSE(engine::savesettings(state));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: ") +
                  QDir::toNativeSeparators(engine::settingsPath(state)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("datei")});
}

TEST_F(SettingsFile, AnOldFileStaysWhenTheNewOneCannotReplaceIt) {
    // The file's place is taken by a folder: the new content can be written but not put there.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Kurvatur.ini")));
    EXPECT_FALSE(engine::savesettings(state));
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("Kurvatur.ini")});
}

} // namespace
