#include "authoring/ui/image_boite.h"
#include "authoring/ui/png_scaled.h"
#include "ui/ui_test_support.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Left half one colour, right half another.
QImage halves(QImage::Format format, int w, int h, QColor left, QColor right) {
    QImage rgb(w, h, QImage::Format_ARGB32);
    rgb.fill(right);
    QPainter p(&rgb);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(0, 0, w / 2, h, left);
    p.end();
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono)
        return rgb.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither);
    return rgb.convertToFormat(format);
}

bool near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
           qAbs(a.blue() - b.blue()) <= 2 && qAbs(a.alpha() - b.alpha()) <= 2;
}

} // namespace

class TestPngScaled : public QObject {
    Q_OBJECT
private slots:
    void kinds_data();
    void kinds();
    void badFilesAndCancel();
    void largePictureIsPreviewedInTheBackground();

private:
    QTemporaryDir m_dir;
};

void TestPngScaled::kinds_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QColor>("left");
    QTest::addColumn<QColor>("right");
    QTest::newRow("rgb") << int(QImage::Format_RGB32) << QColor(Qt::red) << QColor(Qt::blue);
    QTest::newRow("rgba") << int(QImage::Format_ARGB32) << QColor(0, 128, 0, 64)
                          << QColor(255, 255, 0, 255);
    QTest::newRow("grey") << int(QImage::Format_Grayscale8) << QColor(40, 40, 40)
                          << QColor(200, 200, 200);
    QTest::newRow("16 bits") << int(QImage::Format_RGBA64) << QColor(10, 20, 30)
                             << QColor(250, 240, 230);
    QTest::newRow("palette with transparency")
        << int(QImage::Format_Indexed8) << QColor(0, 0, 0, 0) << QColor(Qt::green);
    QTest::newRow("one bit") << int(QImage::Format_Mono) << QColor(Qt::black) << QColor(Qt::white);
}

void TestPngScaled::kinds() {
    QFETCH(int, format);
    QFETCH(QColor, left);
    QFETCH(QColor, right);
    const QString path = m_dir.filePath(QStringLiteral("%1.png").arg(format));
    QVERIFY(halves(QImage::Format(format), 400, 200, left, right).save(path, "png"));
    const std::atomic_bool cancel = false;
    const QImage out = DecodePngScaled(path, QSize(40, 20), cancel);
    QCOMPARE(out.size(), QSize(40, 20));
    QVERIFY2(near(out.pixelColor(5, 10), left),
             qPrintable(out.pixelColor(5, 10).name(QColor::HexArgb)));
    QVERIFY2(near(out.pixelColor(35, 10), right),
             qPrintable(out.pixelColor(35, 10).name(QColor::HexArgb)));
    // A target larger than the picture gives the picture's own size.
    QCOMPARE(DecodePngScaled(path, QSize(800, 800), cancel).size(), QSize(400, 200));
}

void TestPngScaled::badFilesAndCancel() {
    const QString good = m_dir.filePath(QStringLiteral("good.png"));
    QVERIFY(halves(QImage::Format_RGB32, 300, 300, Qt::red, Qt::blue).save(good, "png"));
    std::atomic_bool cancel = true;
    QVERIFY(DecodePngScaled(good, QSize(30, 30), cancel).isNull());
    cancel = false;
    QVERIFY(!DecodePngScaled(good, QSize(30, 30), cancel).isNull());

    QFile in(good);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString truncated = m_dir.filePath(QStringLiteral("truncated.png"));
    QFile out(truncated);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 2));
    out.close();
    QVERIFY(DecodePngScaled(truncated, QSize(30, 30), cancel).isNull());
    QVERIFY(DecodePngScaled(m_dir.filePath(QStringLiteral("absent.png")), QSize(30, 30), cancel)
                .isNull());
    QVERIFY(DecodePngScaled(good, QSize(), cancel).isNull());
}

void TestPngScaled::largePictureIsPreviewedInTheBackground() {
    ScriptedUi ui;
    // Too large to decode whole (8000 x 8000 at four bytes a pixel), small on disk.
    const QString path = m_dir.filePath(QStringLiteral("large.png"));
    QVERIFY(halves(QImage::Format_Mono, 8000, 8000, Qt::black, Qt::white).save(path, "png"));
    TImage_Boite dialog;
    dialog.show();
    QSignalSpy shown(&dialog, &TImage_Boite::previewShown);
    dialog.loadPicture(path);
    QCOMPARE(dialog.findChild<QLineEdit *>("Edit_Width")->text(), "8000");
    QVERIFY(dialog.previewPending());
    auto *preview = dialog.findChild<QLabel *>("Preview");
    QCOMPARE(preview->text(), "Aperçu en cours...");
    QTRY_VERIFY_WITH_TIMEOUT(!preview->pixmap().isNull(), 20000);
    const QImage image = preview->pixmap().toImage();
    QCOMPARE(image.size(), QSize(180, 180));
    QVERIFY(near(image.pixelColor(10, 90), Qt::black));
    QVERIFY(near(image.pixelColor(170, 90), Qt::white));
    QVERIFY(ui.messages.isEmpty());

    // Closing the dialog while a preview is decoded stops the decoding first.
    auto *closing = new TImage_Boite;
    closing->loadPicture(path);
    QVERIFY(closing->previewPending());
    delete closing;
}

QTEST_MAIN(TestPngScaled)
#include "tst_png_scaled.moc"
