#include "cli/batch_command.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    Batch::Io io;
    io.readStdin = [] {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) return QByteArray();
        return in.readAll();
    };
    io.writeStdout = [](const QByteArray &bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    };
    io.writeStderr = [](const QString &message) {
        const QByteArray m = message.toLocal8Bit() + '\n';
        std::fwrite(m.constData(), 1, size_t(m.size()), stderr);
    };
    return Batch::Run(args, io);
}
