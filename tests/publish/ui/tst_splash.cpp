// The splash picture kept between starts: read back as drawn, private to the user,
// drawn anew when the kept file is missing or damaged.
#include "publish/ui/splash_window.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QStandardPaths>
#include <QTest>

class TstSplash : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QFile::remove(TOpenBox::keptPicturePath()); }
    void keptPicture_data();
    void keptPicture();
};

void TstSplash::keptPicture_data() {
    QTest::addColumn<QByteArray>("before"); // what the kept file holds first; "-": no file
    QTest::newRow("first start") << QByteArray("-");
    QTest::newRow("kept from an earlier start") << QByteArray("kept");
    QTest::newRow("damaged file") << QByteArray("BlzSpls1\xb8\x01\0\0\x1e\x01\0\0 cut short");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("picture in another format") << QByteArray("small");
}

void TstSplash::keptPicture() {
    QFETCH(QByteArray, before);
    const QString path = TOpenBox::keptPicturePath();
    QVERIFY(!path.isEmpty());
    const QImage drawn = TOpenBox::picture().toImage().convertToFormat(QImage::Format_RGB32);
    if (before == "kept") {
        QVERIFY(!TOpenBox::keptPicture().isNull());
    } else if (before == "small") {
        QImage small(40, 20, QImage::Format_RGB32);
        small.fill(Qt::red);
        QVERIFY(small.save(path, "PNG"));
    } else if (before != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    const QImage shown = TOpenBox::keptPicture().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, drawn);
    // Read back from the kept file at the next start; the file is readable by the
    // user alone, in a folder closed to others.
    QVERIFY(QFileInfo(path).size() > 440 * 286 * 4);
    QCOMPARE(TOpenBox::keptPicture().toImage().convertToFormat(QImage::Format_RGB32), drawn);
    QCOMPARE(QFileInfo(path).permissions() &
                 (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    const QFile::Permissions folder = QFileInfo(QFileInfo(path).absolutePath()).permissions();
    QCOMPARE(folder & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeGroup | QFile::ExeOther),
             QFile::Permissions());
}

QTEST_MAIN(TstSplash)
#include "tst_splash.moc"
