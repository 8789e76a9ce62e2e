#pragma once

// The version of the programs and tools, the one given in the CMake project.
const char* SuiteVersion();

// Prints "program (Korvalin) version" to stdout.
void PrintVersion(const char* program);

// Answers "--version" or "--help" when it is the only argument, before the program reads its
// command line as a path (Quillmark's project, Lineprobe's trace): prints the version or help
// to stdout and returns true; the caller then ends with status 0.
bool AnswerInfoOption(int argc, char** argv, const char* program, const char* help);
