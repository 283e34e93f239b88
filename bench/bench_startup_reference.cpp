// The reference start-up: a bare Qt window holding one QScintilla editor that shows
// the page given on the command line, the program's first-start window size. Run
// by bench_startup, which passes its clock mark in BALIZOR_BENCH_MARK; reports at
// the window's first paint, once the paint is flushed.
#include "startup_clock.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

namespace {
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override {
        if (!m_seen && e->type() == QEvent::Paint) {
            m_seen = true;
            reportWhenDone(qgetenv("BALIZOR_BENCH_MARK"));
        }
        return false;
    }

private:
    bool m_seen = false;
};
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow w;
    auto *editor = new QsciScintilla(&w);
    editor->setUtf8(true);
    if (argc > 1) {
        QFile f(QString::fromLocal8Bit(argv[1]));
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray text = f.readAll();
            editor->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, (unsigned long)text.size(),
                                  text.constData());
        }
    }
    w.setCentralWidget(editor);
    w.resize(617, 460);
    FirstPaint watch;
    w.installEventFilter(&watch);
    w.show();
    return app.exec();
}
