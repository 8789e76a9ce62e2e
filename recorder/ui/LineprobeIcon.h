#pragma once

// Qt
#include <QIcon>

// The program icon (a probe on a signal trace), from the program's resources in the sizes
// the window system asks for.
QIcon LineprobeIcon();
