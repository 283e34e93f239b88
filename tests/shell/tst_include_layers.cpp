// Includes run downward only: the shell over the subsystems (authoring, assist,
// publish, site) over app over editor and platform. A floor that includes one
// above it makes a circle of dependencies: every change to the upper floor then
// rebuilds, and can break, what everything else stands on.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TstIncludeLayers : public QObject {
    Q_OBJECT
private slots:
    void floorIncludesOnlyBelow_data();
    void floorIncludesOnlyBelow();
    void everyFloorHasItsRule();
};

namespace {

const QString kSource = QStringLiteral(BALIZOR_SOURCE_DIR "/src");

// Each top-level folder of src/ and the folders its files may include.
struct Floor {
    const char *name;
    QStringList mayInclude;
};

const QList<Floor> &floors() {
    const QStringList bottom = {"editor", "platform"};
    const QStringList app = QStringList{"app"} + bottom;
    const QStringList subsystems = QStringList{"authoring", "assist", "publish", "site"} + app;
    static const QList<Floor> table = {
        {"platform", {"platform"}},
        {"editor", bottom},
        {"app", app},
        {"authoring", subsystems},
        {"assist", subsystems},
        {"publish", subsystems},
        {"site", subsystems},
        // The batch command line links the core only; no window is above it.
        {"cli", QStringList{"cli"} + subsystems},
        {"shell", QStringList{"shell"} + subsystems},
    };
    return table;
}

} // namespace

void TstIncludeLayers::floorIncludesOnlyBelow_data() {
    QTest::addColumn<QString>("floor");
    QTest::addColumn<QStringList>("mayInclude");
    for (const Floor &f : floors())
        QTest::newRow(f.name) << QString::fromLatin1(f.name) << f.mayInclude;
}

void TstIncludeLayers::floorIncludesOnlyBelow() {
    QFETCH(QString, floor);
    QFETCH(QStringList, mayInclude);
    static const QRegularExpression include(
        QStringLiteral(R"(^\s*#\s*include\s*["<]([A-Za-z0-9_]+)/)"));
    const QStringList floorNames = [] {
        QStringList l;
        for (const Floor &f : floors())
            l << QString::fromLatin1(f.name);
        return l;
    }();
    QStringList wrong;
    QDirIterator it(kSource + QLatin1Char('/') + floor,
                    {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            ++number;
            const QRegularExpressionMatch m = include.match(line);
            // Only our own folders: <QtCore/...> and the like are no floor.
            if (m.hasMatch() && floorNames.contains(m.captured(1)) &&
                !mayInclude.contains(m.captured(1)))
                wrong << QStringLiteral("%1:%2: %3")
                             .arg(path.mid(kSource.size() + 1))
                             .arg(number)
                             .arg(line);
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("\n") + wrong.join(QLatin1Char('\n'))));
}

// A new folder under src/ gets its place in the table before its files can slip
// past the rule.
void TstIncludeLayers::everyFloorHasItsRule() {
    QVERIFY2(QFile::exists(kSource + QStringLiteral("/main.cpp")), qPrintable(kSource));
    QStringList unruled;
    for (const QString &dir : QDir(kSource).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ruled = false;
        for (const Floor &f : floors())
            ruled = ruled || dir == QLatin1String(f.name);
        if (!ruled) unruled << dir;
    }
    QVERIFY2(unruled.isEmpty(), qPrintable(unruled.join(QLatin1String(", "))));
}

QTEST_MAIN(TstIncludeLayers)
#include "tst_include_layers.moc"
