#pragma once

// Qt
#include <QStringList>

// lineprobe-cli: the recorder's decoding and rendering without a window.
namespace LineprobeCli {

int Run(const QStringList& arguments);
int Ident(const QStringList& args);
int Render(const QStringList& args);

} // namespace LineprobeCli
