#pragma once

#include <QIcon>

// The picture of a list style button (1 to 9): bullets disc, square, circle; numbering
// 1. a. A. i. I.; a definition list.
QIcon ListStyleIcon(int button);
