// The windows "Zusätzliche Geraden" and "Punkte" in the main window, driven as a user drives them.

#include "collection/collectionstate.h"
#include "collection/currentdata.h"
#include "graph/graphwindow.h"
#include "objects/linewindow.h"
#include "objects/pointwindow.h"

#include "mainwin/mainwindowfixture.h"
#include "support/chosencolours.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>

#include <cmath>

namespace {

using testsupport::q;

class ObjectWindows : public testsupport::MainWindowFixture {
protected:
    void SetUp() override {
        state.colourDialogs = colours;
        MainWindowFixture::SetUp();
    }
    objects::LineWindow* lines() const { return window->lineWindow(); }
    objects::PointWindow* points() const { return window->pointWindow(); }
    template <class W> W* control(QWidget* w, const char* name) const {
        return w->findChild<W*>(QLatin1String(name));
    }
    void typeInto(QLineEdit* field, const char* text) {
        field->selectAll();
        QTest::keyClicks(field, q(text));
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The colour of the picture at world (x, y), moved by the given pixels (a disc around a
    // point covers the pixels left of and above it).
    QRgb pictureAt(double x, double y, int dc = -1, int dr = -1) {
        QApplication::processEvents();
        const QImage& image = window->graphWindow()->picture();
        const double c = (x - state.ranges.xMin) * state.scale.xmu / state.tppX;
        const double r =
            (state.scale.plotH - (y - state.ranges.yMin) * state.scale.ymu) / state.tppY;
        return image.pixel(int(std::lround(c)) * int(image.devicePixelRatio()) + dc,
                           int(std::lround(r)) * int(image.devicePixelRatio()) + dr);
    }
    std::shared_ptr<testsupport::ChosenColours> colours =
        std::make_shared<testsupport::ChosenColours>();
};

bool isRed(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 120 && qBlue(p) < 120;
}
bool isBlack(QRgb p) {
    return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80;
}

TEST_F(ObjectWindows, TypedLinesAreKeptColouredAndDrawn) {
    action("mn_asy")->trigger();
    ASSERT_TRUE(lines()->isVisible());
    EXPECT_EQ(lines()->windowTitle(), q("Zusätzliche Geraden"));
    EXPECT_TRUE(lines()->input()->hasFocus());
    typeInto(lines()->input(), "x=2");
    typeInto(lines()->input(), "2*x+1");
    EXPECT_EQ(state.extraLinesText, q("c=0:x=2\r\nc=0:y=2*x+1"));
    EXPECT_EQ(lines()->list()->count(), 2);
    EXPECT_EQ(lines()->status()->text(), q("Ok."));

    // The colour button beside the first row, then its own style typed beside it.
    colours->answers.push_back(QColor(255, 0, 0));
    control<QPushButton>(lines(), "Command40")->click();
    typeInto(control<QLineEdit>(lines(), "Text10"), "0");
    EXPECT_EQ(state.extraLinesText, q("c=255:x=2:0\r\nc=0:y=2*x+1"));
    EXPECT_TRUE(isRed(pictureAt(2, 8, 0, 0))) << std::hex << pictureAt(2, 8, 0, 0);
    EXPECT_TRUE(isRed(pictureAt(2, -3, 0, 0)));
    // The collection's current data took it over.
    EXPECT_EQ(window->collectionState().collection.currentData[11], state.extraLinesText);

    // Selecting the first line and deleting it.
    lines()->list()->setCurrentRow(0);
    QTest::keyClick(lines()->list(), Qt::Key_Delete);
    EXPECT_EQ(state.extraLinesText, q("c=0:y=2*x+1"));
    EXPECT_FALSE(isRed(pictureAt(2, 8, 0, 0)));

    // New lines take the standard colour.
    colours->answers.push_back(QColor(0, 0, 255));
    control<QPushButton>(lines(), "Command3")->click();
    EXPECT_EQ(state.lineColours[14], core::rgb(0, 0, 255));
    typeInto(lines()->input(), "x=-3");
    EXPECT_EQ(state.extraLinesText, q("c=0:y=2*x+1\r\nc=16711680:x=-3"));
}

TEST_F(ObjectWindows, ALineThatFailsIsSaidOnceInTheStatusNeverInABox) {
    action("mn_asy")->trigger();
    typeInto(lines()->input(), "y=(2");
    EXPECT_TRUE(lines()->status()->text().contains(q(": y=(2")))
        << lines()->status()->text().toStdString();
    // Redraws (a slider, every timer tick) say nothing; the fixture fails on any message box.
    for (int i = 0; i < 3; ++i)
        window->redrawall();
    QApplication::processEvents();
    EXPECT_TRUE(messages->shown.empty());
    // A line with a parameter: the parameter comes and the line follows it.
    typeInto(lines()->input(), "x=a");
    EXPECT_GE(state.findparam(q("a")), core::firstFreeParamSlot);
}

TEST_F(ObjectWindows, TheCommonStyleTakesZeroToSixOnly) {
    action("mn_asy")->trigger();
    auto* style = control<QLineEdit>(lines(), "Text2");
    typeInto(style, "9");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Fehler:"));
    EXPECT_EQ(messages->shown[0].text, q("Unerlaubter Wert für die Linienart!"));
    messages->shown.clear();
    EXPECT_EQ(state.linesLineType, 2);
    typeInto(style, "4");
    EXPECT_EQ(state.linesLineType, 4);
}

TEST_F(ObjectWindows, TypedPointsAreDrawnWithTheirNamesAndMoveByTheKeypad) {
    action("mn_punkt")->trigger();
    ASSERT_TRUE(points()->isVisible());
    typeInto(points()->input(), "P(2;3)");
    typeInto(points()->input(), "Q");
    EXPECT_EQ(state.pointsText, q("P(2;3):0:0:30\r\nQ:0:0:30"));
    // The point without coordinates is said, not drawn.
    EXPECT_TRUE(points()->status()->text().contains(q("Zeile 2")))
        << points()->status()->text().toStdString();
    EXPECT_TRUE(isBlack(pictureAt(2, 3)));

    // A click takes the row into the input line; rewritten, it keeps its colour.
    colours->answers.push_back(QColor(255, 0, 0));
    control<QPushButton>(points(), "Command40")->click();
    EXPECT_TRUE(isRed(pictureAt(2, 3)));
    const QRect row = points()->list()->visualItemRect(points()->list()->item(0));
    QTest::mouseClick(points()->list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(points()->input()->text(), q("P(2;3)"));
    typeInto(points()->input(), "P(2;4)");
    EXPECT_EQ(state.pointsText, q("P(2;4):255:0:30\r\nQ:0:0:30"));

    // Keypad 8 on the graph (one pixel up, -1 on the screen), then 6 (one to the right).
    points()->list()->setCurrentRow(0);
    ASSERT_TRUE(state.hooks.movePointName);
    EXPECT_TRUE(state.hooks.movePointName(0, -1));
    EXPECT_TRUE(state.hooks.movePointName(1, 0));
    EXPECT_EQ(state.pointsText, q("P(2;4):255:1:31\r\nQ:0:0:30"));
    // The keypad's 2 on the graph's plot area: one pixel down again.
    QTest::keyClick(window->graphWindow()->plotArea(), Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(state.pointsText, q("P(2;4):255:1:30\r\nQ:0:0:30"));
    points()->list()->clearSelection();
    EXPECT_FALSE(state.hooks.movePointName(0, -1));

    // The menu's mark hides points and names alike.
    action("mn_puvis")->trigger();
    EXPECT_FALSE(control<QCheckBox>(points(), "Check1")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(points(), "Check2")->isChecked());
    EXPECT_FALSE(isRed(pictureAt(2, 4)));
}

TEST_F(ObjectWindows, SizesOutsideTheirBoundsChangeNothing) {
    action("mn_punkt")->trigger();
    auto* font = control<QLineEdit>(points(), "Text2");
    typeInto(font, "31");
    EXPECT_EQ(state.graphOptions.thirdFontSize, 15);
    EXPECT_EQ(font->text(), q("15"));
    typeInto(control<QLineEdit>(points(), "Text1"), "6");
    typeInto(font, "20");
    EXPECT_EQ(state.graphOptions.thirdFontSize, 20);
    EXPECT_EQ(state.pointSize, 6);
}

TEST_F(ObjectWindows, ClearingAllLinesOrDrawingAnEntryRenewsBothWindows) {
    action("mn_asy")->trigger();
    typeInto(lines()->input(), "x=1");
    action("mn_punkt")->trigger();
    typeInto(points()->input(), "P(1;1)");
    action("mn_allclr")->trigger();
    EXPECT_EQ(lines()->list()->count(), 0);
    EXPECT_EQ(points()->list()->count(), 0);

    collection::Fields fields = window->collectionState().collection.currentData;
    fields[collection::extraLinesField] = q("c=255:x=1\r\ny=2");
    fields[collection::pointsField] = q("A:B(1;2):0:0:30");
    collection::colget(state, fields);
    ASSERT_EQ(lines()->list()->count(), 2);
    EXPECT_EQ(lines()->list()->item(1)->text(), q("y=2"));
    ASSERT_EQ(points()->list()->count(), 1);
    EXPECT_EQ(points()->list()->item(0)->text(), q("A:B(1;2)"));
}

} // namespace
