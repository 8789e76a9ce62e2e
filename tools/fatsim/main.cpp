#include "CSimulatorLoop.h"
#include "FatSimOptions.h"
#include "InfoOptions.h"

// Qt
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {

CSimulatorLoop* g_loop = nullptr;

void OnSignal(int)
{
    if (g_loop)
        g_loop->Stop();
}

} // namespace

int main(int argc, char** argv)
{
    // "--version" alone is the program's; "--version TEXT" sets the simulated FAT's version.
    if (AnswerInfoOption(argc, argv, "fatsim", qPrintable(FatSimOptions::Usage())))
        return 0;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help"))) {
        std::fputs(qPrintable(FatSimOptions::Usage()), stdout);
        return 0;
    }
    FatSimOptions options;
    QString error;
    if (!options.Parse(args, error)) {
        std::fprintf(stderr, "fatsim: %s\n%s", qPrintable(error),
                     qPrintable(FatSimOptions::Usage()));
        return 2;
    }
    CSimulatorLoop loop(options);
    g_loop = &loop;
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    const int result = loop.Run(
        [](const QString& device) {
            std::printf("%s\n", qPrintable(device));
            std::fflush(stdout);
        },
        error);
    g_loop = nullptr;
    if (result == 1)
        std::fprintf(stderr, "fatsim: %s\n", qPrintable(error));
    return result;
}
