#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

// Decodes a PNG row by row straight into a copy of `target` size (each target pixel
// the average of the pixels it covers), so that a picture of any size is previewed
// with a few rows of memory. Interlaced files, errors and a raised `cancel` give a
// null image.
QImage DecodePngScaled(const QString &path, const QSize &target, const std::atomic_bool &cancel);
