// The two graphic copies of the edit menu: the bitmap of the plot area, and the picture drawn
// anew into an SVG file that goes to the clipboard with a bitmap beside it.

#include "mainwindowfixture.h"

#include "core/colours.h"
#include "graph/graphwindow.h"
#include "mainwin/clipboard.h"
#include "mainwin/graphicexport.h"

#include "support/recordingclipboard.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QXmlStreamReader>

#include <map>
#include <vector>

namespace {

using testsupport::MainWindowFixture;
using testsupport::q;

// How many drawn elements (paths, polylines, lines, polygons) each stroke colour has in an SVG
// document; a colour given on a group counts for everything inside it.
std::map<QString, int> strokesByColour(const QByteArray& svg) {
    std::map<QString, int> counts;
    std::vector<QString> strokes{QStringLiteral("none")};
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto attributes = reader.attributes();
            QString stroke = attributes.hasAttribute(QStringLiteral("stroke"))
                                 ? attributes.value(QStringLiteral("stroke")).toString().toLower()
                                 : strokes.back();
            strokes.push_back(stroke);
            const QString name = reader.name().toString();
            if (name == QStringLiteral("path") || name == QStringLiteral("polyline") ||
                name == QStringLiteral("line") || name == QStringLiteral("polygon"))
                ++counts[stroke];
        } else if (reader.isEndElement()) {
            strokes.pop_back();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return counts;
}

QString svgColour(core::Colour colour) {
    return core::toQColor(colour).name().toLower();
}

class GraphicExport : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        window->clipboard = clipboard;
    }
    QByteArray exportedFile() const {
        QFile file(mainwin::vectorExportPath(state));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::shared_ptr<platform::RecordingClipboard> clipboard =
        std::make_shared<platform::RecordingClipboard>();
};

TEST_F(GraphicExport, VectorCopyHoldsTheCoordinateSystemAndEveryLine) {
    lines({"x^2", "sin(x)", "1/x"});
    action("mn_emf")->trigger();

    EXPECT_EQ(mainwin::vectorExportPath(state),
              QDir(state.configFolder).filePath(QStringLiteral("kurvatur.tmp.svg")));
    ASSERT_FALSE(clipboard->svg.isEmpty());
    EXPECT_EQ(clipboard->svg, exportedFile());
    EXPECT_FALSE(clipboard->image.isNull());

    const auto strokes = strokesByColour(clipboard->svg);
    EXPECT_GT(strokes.count(QStringLiteral("#000000")), 0u) << "axes";
    EXPECT_GT(strokes.count(svgColour(state.lineColours[13])), 0u) << "grid lines";
    for (int line = 0; line < 3; ++line)
        EXPECT_GT(strokes.count(svgColour(state.lineColours[line])), 0u) << "line " << line;
    EXPECT_EQ(strokes.count(svgColour(state.lineColours[3])), 0u) << "an empty line is not drawn";
}

TEST_F(GraphicExport, SecondVectorCopyReplacesTheFileWithThePresentPicture) {
    lines({"x^2"});
    action("mn_emf")->trigger();
    lines({"x^2", "x+1"});
    action("mn_emf")->trigger();

    EXPECT_EQ(clipboard->puts, 2);
    EXPECT_EQ(clipboard->svg, exportedFile());
    EXPECT_GT(strokesByColour(clipboard->svg).count(svgColour(state.lineColours[1])), 0u);
}

TEST_F(GraphicExport, ScreenShowsTheSamePictureAfterTheVectorCopy) {
    lines({"x^2"});
    const QImage before = window->graphWindow()->picture();
    action("mn_emf")->trigger();
    EXPECT_EQ(window->graphWindow()->picture(), before);
    EXPECT_EQ(clipboard->image, before);
}

TEST_F(GraphicExport, BitmapCopyIsThePictureOfThePlotArea) {
    lines({"x^2"});
    action("mn_copytoclip")->trigger();
    EXPECT_FALSE(clipboard->image.isNull());
    EXPECT_EQ(clipboard->image, window->graphWindow()->picture());
    EXPECT_TRUE(clipboard->svg.isEmpty());
}

TEST_F(GraphicExport, FailedVectorCopySaysSoAndLeavesTheClipboard) {
    lines({"x^2"});
    // A folder beneath a plain file can be written by nobody, not even root.
    QFile blocker(QDir(state.configFolder).filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    state.configFolder = blocker.fileName() + QStringLiteral("/sub");

    action("mn_emf")->trigger();

    EXPECT_EQ(clipboard->puts, 0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Graphik kopieren"));
    EXPECT_TRUE(messages->shown[0].text.startsWith(
        q("Die Graphik konnte nicht als SVG-Datei gespeichert werden:")))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(messages->shown[0].text.contains(mainwin::vectorExportPath(state)));
    EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
    messages->shown.clear();
}

TEST_F(GraphicExport, FailedVectorCopyRemovesTheOldFile) {
    lines({"x^2"});
    action("mn_emf")->trigger();
    ASSERT_TRUE(QFile::exists(mainwin::vectorExportPath(state)));

    // A plot area without size gives no picture: the earlier file must not stay behind looking
    // like this export's.
    platform::RecordingClipboard untouched;
    EXPECT_FALSE(mainwin::copyVector(state, QSize(), QImage(), untouched));
    EXPECT_FALSE(QFile::exists(mainwin::vectorExportPath(state)));
    EXPECT_EQ(untouched.puts, 0);
    ASSERT_EQ(messages->shown.size(), 1u);
    messages->shown.clear();
}

TEST_F(GraphicExport, EmptyPictureIsNotCopiedAsBitmap) {
    platform::RecordingClipboard untouched;
    EXPECT_FALSE(mainwin::copyBitmap(state, QImage(), untouched));
    EXPECT_EQ(untouched.puts, 0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Graphik kopieren"));
    messages->shown.clear();
}

TEST_F(GraphicExport, SystemClipboardOffersSvgAndAnImage) {
    mainwin::SystemClipboard system;
    QImage bitmap(20, 10, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const QByteArray svg("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    system.putVectorImage(svg, bitmap);

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QStringLiteral("image/svg+xml")), svg);
    EXPECT_TRUE(data->hasImage());

    system.putImage(bitmap);
    data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_FALSE(data->hasFormat(QStringLiteral("image/svg+xml")));
}

} // namespace
