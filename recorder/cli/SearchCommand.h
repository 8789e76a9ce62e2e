#pragma once

// Qt
#include <QStringList>

// lineprobe-cli search: the lines of a recorded trace that hold a text or a byte sequence,
// found as the window's search finds them.
namespace LineprobeCli {

int Search(const QStringList& args);
QString SearchUsage();

} // namespace LineprobeCli
