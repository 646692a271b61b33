// The fields of "Einstellungen zum Koordinatensystem": their checks in order, and what an accepted
// set changes; the zoom factors of "Zoom-Einstellungen".

#include "graph/graphoptions.h"
#include "graph/zoomoptions.h"

#include "core/state.h"

#include "support/qtapp.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}

struct Case {
    const char* what;
    std::function<void(graph::GraphOptionTexts&)> change;
    const char* title; // nullptr: accepted
    const char* text;
};

const Case cases[] = {
    {"defaults", [](auto&) {}, nullptr, nullptr},
    {"x step 0 before an invalid y step",
     [](auto& t) {
         t[1] = q("0");
         t[3] = q("0");
     },
     "Fehler", "Ungültige x-Schrittweite!"},
    {"y step 0", [](auto& t) { t[3] = q("0,0"); }, "Fehler", "Ungültige y-Schrittweite!"},
    {"x step garbage", [](auto& t) { t[1] = q("abc"); }, "Fehler", "Ungültige x-Schrittweite!"},
    {"x start garbage", [](auto& t) { t[0] = q("1+"); }, "Fehler", "Ungültiger x-Startwert!"},
    {"y start garbage", [](auto& t) { t[2] = q("?"); }, "Fehler", "Ungültiger y-Startwert!"},
    {"x counts equal",
     [](auto& t) {
         t[4] = q("20");
         t[5] = q("20");
     },
     "x-Hilfslinien", "Unsinnige Reihenfolge bei der Anzahl!"},
    {"y counts reversed", [](auto& t) { t[6] = q("50"); }, "y-Hilfslinien",
     "Unsinnige Reihenfolge bei der Anzahl!"},
    {"x count garbage", [](auto& t) { t[5] = q("viele"); }, "x-Hilfslinien",
     "Unsinnige Reihenfolge bei der Anzahl!"},
    {"x minimum negative", [](auto& t) { t[4] = q("-1"); }, "x-Hilfslinien",
     "Minimalzahl muss positiv sein!"},
    {"y minimum negative", [](auto& t) { t[6] = q("-3"); }, "y-Hilfslinien",
     "Minimalzahl muss positiv sein!"},
    {"order before sign",
     [](auto& t) {
         t[4] = q("-1");
         t[6] = q("60");
     },
     "y-Hilfslinien", "Unsinnige Reihenfolge bei der Anzahl!"},
    {"x digits 0", [](auto& t) { t[8] = q("0"); }, "Stellengenauigkeit für x",
     "Stellenzahl muss zwischen 1 und 10 liegen!"},
    {"y digits 11", [](auto& t) { t[9] = q("11"); }, "Stellengenauigkeit für y",
     "Stellenzahl muss zwischen 1 und 10 liegen!"},
    {"y digits garbage", [](auto& t) { t[9] = q("x"); }, "Stellengenauigkeit für y",
     "Stellenzahl muss zwischen 1 und 10 liegen!"},
    {"number font 31", [](auto& t) { t[10] = q("31"); }, "Schriftgröße der Zahlen",
     "Schriftgröße muss zwischen 4 und 31 liegen!"},
    {"number font 30", [](auto& t) { t[10] = q("30"); }, nullptr, nullptr},
    {"name font 4", [](auto& t) { t[11] = q("4"); }, "Schriftgröße der Achsennamen",
     "Schriftgröße muss zwischen 4 und 31 liegen!"},
    {"brightness 256", [](auto& t) { t[12] = q("256"); }, "Hilfslinien-Helligkeit",
     "Helligkeit muss zwischen 0 und 255 liegen!"},
    {"brightness garbage", [](auto& t) { t[12] = q("hell"); }, "Hilfslinien-Helligkeit",
     "Helligkeit muss zwischen 0 und 255 liegen!"},
    {"limit 2 is no refusal", [](auto& t) { t[15] = q("2"); }, nullptr, nullptr},
    {"limit garbage is no refusal", [](auto& t) { t[15] = q("klein"); }, nullptr, nullptr},
};

TEST(GraphOptions, ChecksInOrder) {
    core::State state;
    for (const Case& c : cases) {
        graph::GraphOptionTexts texts = graph::graphOptionTexts(state);
        c.change(texts);
        const auto result = graph::readGraphOptions(state.engine, texts);
        if (!c.title) {
            EXPECT_TRUE(std::holds_alternative<graph::GraphOptionValues>(result)) << c.what;
            continue;
        }
        const auto* refusal = std::get_if<graph::GraphOptionRefusal>(&result);
        ASSERT_NE(refusal, nullptr) << c.what;
        EXPECT_EQ(refusal->title, q(c.title)) << c.what;
        EXPECT_EQ(refusal->text, q(c.text)) << c.what;
    }
}

TEST(GraphOptions, FieldsShowTheStateWithDecimalComma) {
    core::State state;
    state.scale.xGridStep = 0.25;
    const auto texts = graph::graphOptionTexts(state);
    EXPECT_EQ(texts[0], q("0"));
    EXPECT_EQ(texts[1], q("0,25"));
    EXPECT_EQ(texts[4], q("10"));
    EXPECT_EQ(texts[12], q("210"));
    EXPECT_EQ(texts[13], q("x"));
    EXPECT_EQ(texts[15], q("1E-10"));
}

TEST(GraphOptions, AcceptedValuesReachTheState) {
    core::State state;
    graph::GraphOptionTexts texts = graph::graphOptionTexts(state);
    texts[0] = q("1,5");
    texts[1] = q("1/4");  // a term is read as the user means it
    texts[5] = q("30,4"); // whole numbers are rounded
    texts[10] = q("14");
    texts[12] = q("100");
    texts[13] = q("Zeit");
    texts[15] = q("1E-6");
    const auto result = graph::readGraphOptions(state.engine, texts);
    ASSERT_TRUE(std::holds_alternative<graph::GraphOptionValues>(result));
    graph::applyGraphOptions(state, std::get<graph::GraphOptionValues>(result));

    EXPECT_EQ(state.scale.xGridStart, 1.5);
    EXPECT_EQ(state.scale.xGridStep, 0.25);
    EXPECT_EQ(state.scale.xLinesMax, 30);
    EXPECT_EQ(state.graphOptions.numberFontSize, 14);
    EXPECT_EQ(state.graphOptions.gridBrightness, 100);
    EXPECT_EQ(state.lineColours[13], core::rgb(100, 100, 100));
    EXPECT_EQ(state.graphOptions.xAxisName, q("Zeit"));
    EXPECT_EQ(state.infinityLimit, q("1E-6"));
    EXPECT_FALSE(state.scale.backgroundValid);
}

TEST(GraphOptions, LimitOutsideZeroToOneStays) {
    core::State state;
    graph::GraphOptionTexts texts = graph::graphOptionTexts(state);
    texts[15] = q("2");
    texts[3] = q("2");
    const auto result = graph::readGraphOptions(state.engine, texts);
    ASSERT_TRUE(std::holds_alternative<graph::GraphOptionValues>(result));
    graph::applyGraphOptions(state, std::get<graph::GraphOptionValues>(result));
    EXPECT_EQ(state.infinityLimit, q("1E-10"));
    EXPECT_EQ(state.scale.yGridStep, 2);
}

} // namespace

namespace {

TEST(GraphOptions, PresetsRestoreTheGridAndKeepTheLimit) {
    core::State state;
    state.scale.xGridStep = 3;
    state.scale.yLinesMax = 12;
    state.graphOptions.gridBrightness = 90;
    state.graphOptions.yAxisName = QStringLiteral("Weg");
    state.infinityLimit = QStringLiteral("1E-5");
    graph::applyGraphOptions(state, graph::defaultGraphOptions());
    auto expected = graph::graphOptionTexts(core::State{});
    expected[15] = QStringLiteral("1E-5");
    EXPECT_EQ(graph::graphOptionTexts(state), expected);
    EXPECT_EQ(state.lineColours[13], core::gridColour(210));
}

} // namespace

namespace {

// "Zoom-Einstellungen": each factor is checked on its own; a refused one stays.
TEST(ZoomOptions, FactorsOfAtLeastOneAreTakenEachOnItsOwn) {
    const char* const xMessage = "ungültiger Zoomfaktor in x-Richtung!";
    const char* const yMessage = "ungültiger Zoomfaktor in y-Richtung!";
    const struct {
        const char* x;
        const char* y;
        double zoomX, zoomY;
        QStringList messages;
    } cases[] = {
        {"2", "3", 2, 3, {}},
        {"1,25", "1.75", 1.25, 1.75, {}}, // decimal comma or point
        {"1", "sqrt(4)", 1, 2, {}},       // 1 is accepted; a term is read
        {"0,5", "2", 1.5, 2, {q(xMessage)}},
        {"2", "0", 2, 1.5, {q(yMessage)}},
        {"abc", "", 1.5, 1.5, {q(xMessage), q(yMessage)}},
        {"1/0", "-3", 1.5, 1.5, {q(xMessage), q(yMessage)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " " + c.y);
        core::State state;
        EXPECT_EQ(graph::zoomFactorTexts(state), (std::array{q("1,5"), q("1,5")}));
        EXPECT_EQ(graph::applyZoomFactors(state, q(c.x), q(c.y)), c.messages);
        EXPECT_EQ(state.zoomX, c.zoomX);
        EXPECT_EQ(state.zoomY, c.zoomY);
    }
}

} // namespace
