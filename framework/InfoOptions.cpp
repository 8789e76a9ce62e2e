#include "InfoOptions.h"

#include <cstdio>
#include <cstring>

const char* SuiteVersion()
{
    return KORVALIN_VERSION;
}

void PrintVersion(const char* program)
{
    std::printf("%s (Korvalin) %s\n", program, SuiteVersion());
}

bool AnswerInfoOption(int argc, char** argv, const char* program, const char* help)
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        PrintVersion(program);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::fputs(help, stdout);
        return true;
    }
    return false;
}
