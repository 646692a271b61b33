// "Graphik speichern unter ..." and "Drucken ...": the picture as a PNG, SVG or PDF file of the
// plot area's or a chosen size, and printed into a PDF printer, lines and text staying vectors.

#include "mainwindowfixture.h"

#include "graph/graphwindow.h"
#include "mainwin/printing.h"

#include "support/chosenfiles.h"
#include "support/pdfcontent.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QSvgRenderer>

#include <optional>

namespace {

using testsupport::MainWindowFixture;
using testsupport::q;

// Prints into a PDF file in place of the print dialog.
class PdfPrinting : public mainwin::PrintService {
public:
    explicit PdfPrinting(QString path) : path_(std::move(path)) {}
    bool choosePrinter(QPrinter& printer) override {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return answer;
    }
    int asked = 0;
    bool answer = true;

private:
    QString path_;
};

class PictureFiles : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        state.fileDialogs = files;
        window->choosePictureSize = [this](QSize proposed) {
            proposedSizes.push_back(proposed);
            return chosenSize;
        };
        lines({"x^2", "sin(x)"});
    }
    QString path(const char* name) const { return QDir(state.configFolder).filePath(q(name)); }
    void saveAs(const QString& file) {
        files->answers.push_back(file);
        action("mn_savepicture")->trigger();
    }
    QSize plotSize() const { return window->graphWindow()->plotArea()->size(); }

    std::shared_ptr<testsupport::ChosenFiles> files = std::make_shared<testsupport::ChosenFiles>();
    std::optional<QSize> chosenSize;
    std::vector<QSize> proposedSizes;
};

TEST_F(PictureFiles, EachFormatIsWrittenAtThePlotAreasOrTheChosenSize) {
    struct Case {
        const char* file;
        std::optional<QSize> size; // the dialog's answer; nothing: the plot area's size kept
    };
    for (const Case& c : {Case{"bild.png", std::nullopt}, Case{"bild.PNG", QSize(321, 123)},
                          Case{"bild.svg", QSize(500, 250)}, Case{"bild.pdf", QSize(640, 480)}}) {
        SCOPED_TRACE(c.file);
        proposedSizes.clear();
        chosenSize = c.size.value_or(plotSize());
        saveAs(path(c.file));
        ASSERT_EQ(proposedSizes.size(), 1u);
        EXPECT_EQ(proposedSizes[0], plotSize()) << "the plot area's size is proposed";
        const QString written = path(c.file);
        ASSERT_TRUE(QFile::exists(written));
        const QSize expected = *chosenSize;
        const QString suffix = QFileInfo(written).suffix().toLower();
        if (suffix == QStringLiteral("png")) {
            const QImage image(written);
            EXPECT_EQ(image.size(), expected);
        } else if (suffix == QStringLiteral("svg")) {
            QSvgRenderer svg(written);
            ASSERT_TRUE(svg.isValid());
            EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), expected));
        } else {
            const testsupport::PdfContent pdf = testsupport::pdfFile(written);
            std::string why;
            EXPECT_TRUE(testsupport::holdsVectorPicture(pdf, why)) << why;
            // 96 pixels to the inch, 72 points.
            EXPECT_EQ(testsupport::pdfPageSize(pdf), QSizeF(480, 360));
        }
    }
    EXPECT_EQ(files->titles.value(0), mainwin::pictureSaveTitle);
}

TEST_F(PictureFiles, NameWithoutSuffixBecomesAPngFile) {
    chosenSize = QSize(100, 80);
    saveAs(path("ohne"));
    EXPECT_EQ(QImage(path("ohne.png")).size(), QSize(100, 80));
}

TEST_F(PictureFiles, ExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    chosenSize = QSize(100, 80);
    saveAs(path("bild.png"));
    ASSERT_TRUE(messages->shown.empty());

    // No: the dialog comes again, and its cancel leaves the file.
    chosenSize = QSize(50, 40);
    messages->answer = false;
    saveAs(path("bild.png"));
    EXPECT_EQ(files->titles.size(), 3);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.startsWith(q("Diese Datei gibt es bereits.")));
    EXPECT_EQ(QImage(path("bild.png")).size(), QSize(100, 80));

    messages->answer = true;
    saveAs(path("bild.png"));
    EXPECT_EQ(QImage(path("bild.png")).size(), QSize(50, 40));
    messages->shown.clear();
}

TEST_F(PictureFiles, RefusalsAreToldAndWriteNothing) {
    struct Case {
        const char* file;
        std::optional<QSize> size;
        const char* message; // the start of the message; null: none (cancelled)
    };
    // A folder beneath a plain file can be written by nobody, not even root.
    QFile blocker(path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Case cases[] = {
        {"bild.jpg", QSize(100, 100), "Die Graphik kann nur als PNG-, SVG- oder PDF-Datei"},
        {"bild.png", std::nullopt, nullptr},
        {"bild.png", QSize(0, 100), "Ungültige Bildgröße 0 x 100"},
        {"bild.png", QSize(100, 20000), "Ungültige Bildgröße 100 x 20000"},
        {"blocker/bild.pdf", QSize(100, 100), "Die Graphik konnte nicht gespeichert werden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        chosenSize = c.size;
        saveAs(path(c.file));
        EXPECT_FALSE(QFile::exists(path(c.file)));
        if (!c.message) {
            EXPECT_TRUE(messages->shown.empty());
            continue;
        }
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].title, q("Graphik speichern"));
        EXPECT_TRUE(messages->shown[0].text.startsWith(q(c.message)))
            << messages->shown[0].text.toStdString();
        EXPECT_EQ(messages->shown[0].icon, platform::MessageIcon::Critical);
        messages->shown.clear();
    }
    // Cancelling the file dialog asks nothing more.
    proposedSizes.clear();
    action("mn_savepicture")->trigger();
    EXPECT_TRUE(proposedSizes.empty());
}

TEST_F(PictureFiles, ScreenShowsTheSamePictureAfterSaving) {
    const QImage before = window->graphWindow()->picture();
    chosenSize = QSize(300, 600);
    saveAs(path("bild.png"));
    EXPECT_EQ(window->graphWindow()->picture(), before);
}

TEST_F(PictureFiles, PrintsIntoAPdfPrinterAsLinesAndText) {
    auto printing = std::make_shared<PdfPrinting>(path("druck.pdf"));
    window->printing = printing;
    action("mn_print")->trigger();
    EXPECT_EQ(printing->asked, 1);
    std::string why;
    const testsupport::PdfContent pdf = testsupport::pdfFile(path("druck.pdf"));
    EXPECT_TRUE(testsupport::holdsVectorPicture(pdf, why)) << why;
    // One A4 page, turned sideways for a wide picture.
    const QSize a4(595, 842);
    EXPECT_EQ(testsupport::pdfPageSize(pdf).toSize(),
              plotSize().width() > plotSize().height() ? a4.transposed() : a4);

    // Cancelled: nothing printed, nothing said.
    printing->answer = false;
    QFile::remove(path("druck.pdf"));
    action("mn_print")->trigger();
    EXPECT_FALSE(QFile::exists(path("druck.pdf")));
}

TEST_F(PictureFiles, FailedPrintIsTold) {
    window->printing = std::make_shared<PdfPrinting>(path("blocker/nirgends/druck.pdf"));
    action("mn_print")->trigger();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].title, q("Drucken"));
    EXPECT_TRUE(messages->shown[0].text.startsWith(q("Die Graphik konnte nicht gedruckt werden")));
    messages->shown.clear();
}

} // namespace
