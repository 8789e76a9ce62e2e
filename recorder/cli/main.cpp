#include "LineprobeCli.h"

// Qt
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return LineprobeCli::Run(app.arguments().mid(1));
}
