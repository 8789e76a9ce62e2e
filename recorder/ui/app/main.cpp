#include "CLineprobeApp.h"

int main(int argc, char** argv)
{
    return CLineprobeApp::Run(argc, argv);
}
