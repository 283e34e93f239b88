// The reference start-up: a bare Qt window holding one QScintilla editor, started
// the way the program starts. Run by bench_startup with the parent's clock mark.
#include "startup_clock.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow w;
    w.setCentralWidget(new QsciScintilla(&w));
    w.resize(764, 529);
    w.show();
    const QByteArray mark = argv[1];
    QTimer::singleShot(0, [mark] { reportAndExit(mark.constData()); });
    return app.exec();
}
