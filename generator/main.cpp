#include "generator/run.h"

int main(int argc, char** argv) { run_generator(argc, argv); }
