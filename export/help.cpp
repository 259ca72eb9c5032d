#include "export/help.h"

const char* const HELP_TEXT =
    "Usage: wavetable-export [OPTIONS] FILE...\n"
    "Turns raw wavetables (signed 16-bit little-endian samples, as wavetable\n"
    "writes them) into files that wavetable synthesizers load: each NAME.bin\n"
    "becomes NAME.wav beside it, mono 32-bit float, its frame size declared\n"
    "in a 'clm ' and an 'srge' chunk. Empty files are skipped.\n"
    "\n"
    "Options:\n"
    "  -o, --output DIR  write into the folder DIR instead\n"
    "      --format wt   write Surge's NAME.wt (16-bit, full range) instead\n"
    "      --format wav  write NAME.wav (the default)\n"
    "      --frame N     samples per frame: 256, 512, 1024, 2048 (the default)\n"
    "                    or 4096; a table must be a whole number of frames\n"
    "  -h, --help        print this help\n"
    "      --version     print the version\n"
    "\n"
    "Exit status: 0 when every file was exported or skipped, 1 when one\n"
    "could not be (the others are still done), 2 for a bad command line.\n"
    "See wavetable-export(1).\n";

const char* const VERSION_TEXT = "wavetable-export (wavetable) " WT_VERSION "\n";
