#pragma once

// What --help and --version print.
extern const char* const HELP_TEXT;
extern const char* const VERSION_TEXT;
