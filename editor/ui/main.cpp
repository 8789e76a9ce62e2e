#include "CQuillmarkApp.h"

int main(int argc, char** argv)
{
    return CQuillmarkApp::Run(argc, argv);
}
