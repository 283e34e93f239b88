#include "cli/batch_command.h"

#include <QCoreApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// All of standard input, in one allocation when it is a file.
QByteArray readAllStdin() {
    QByteArray bytes;
    struct stat st;
    qsizetype capacity = 1 << 16;
    if (::fstat(0, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        capacity = qsizetype(st.st_size) + 1;
    bytes.resize(capacity);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(0, bytes.data() + size, size_t(bytes.size() - size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        size += n;
    }
    bytes.resize(size);
    return bytes;
}

void writeAll(int fd, const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        data += n;
        size -= n;
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    Batch::Io io;
    io.readStdin = readAllStdin;
    io.writeStdout = [](const QByteArray &bytes) { writeAll(1, bytes.constData(), bytes.size()); };
    io.writeStderr = [](const QString &message) {
        const QByteArray m = message.toLocal8Bit() + '\n';
        writeAll(2, m.constData(), m.size());
    };
    return Batch::Run(args, io);
}
