#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Helpers shared by the tests.
namespace TestSupport {

QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);
// Every byte value but CR, in lines ending with LF.
QByteArray everyByteButCr();

} // namespace TestSupport
