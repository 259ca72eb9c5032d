#include "wine_program.h"

std::vector<std::string> wine_command() { return {WINE_RUN, WT_WINDOWS_EXE}; }
