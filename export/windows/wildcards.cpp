// Windows' command interpreter hands "*.bin" over as it is: the C runtime
// expands such patterns in the command line when this is set, as a shell
// does elsewhere.
int _dowildcard = -1;
