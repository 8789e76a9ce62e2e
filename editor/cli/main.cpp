#include "QuillmarkCli.h"

// Qt
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return QuillmarkCli::Run(app.arguments().mid(1));
}
