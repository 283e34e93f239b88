#include "authoring/text_commands.h"

#include <QKeySequence>
#include <QTest>

using namespace Authoring;

// The command tables carry their keys as text; each must name a real key sequence.
class TestShortcuts : public QObject {
    Q_OBJECT
private slots:
    void everyShortcutParses();
};

void TestShortcuts::everyShortcutParses() {
    QStringList texts;
    for (const WrapCommand &c : WrapCommands())
        texts << c.shortcut;
    for (const EntityItem &e : EntityItems())
        texts << e.shortcut;
    for (const QString &text : std::as_const(texts)) {
        if (text.isEmpty()) continue;
        const QKeySequence seq = QKeySequence::fromString(text, QKeySequence::PortableText);
        QCOMPARE(seq.count(), 1);
        QVERIFY2(seq[0].key() != Qt::Key_unknown, qPrintable(text));
        QCOMPARE(seq.toString(QKeySequence::PortableText), text);
    }
}

QTEST_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"
