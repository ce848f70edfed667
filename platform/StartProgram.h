#pragma once
// Starting another program, as a command line (the program's path quoted
// when it has blanks, then its arguments), shown normally; nothing waits for
// it. Whether it started.
#include <string>

bool StartProgram(const std::string& CommandLine);
