#include "wine_program.h"

std::vector<std::string> wine_command() { return {WINE_RUN, WT_WINDOWS_EXE}; }

std::vector<std::string> wine_export_command() { return {WINE_RUN, WT_WINDOWS_EXPORT_EXE}; }
