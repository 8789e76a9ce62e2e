#pragma once

// Qt
#include <QStringList>

class QTextStream;

// lineprobe-cli: the recorder's identification decoding and trace rendering without a window.
// Messages go to stderr as "Lineprobe: text"; results to out.
namespace LineprobeCli {

enum ExitCode { Success = 0, Failed = 1, Usage = 2 };

int Run(const QStringList& arguments);
int Run(const QStringList& arguments, QTextStream& out);

} // namespace LineprobeCli
