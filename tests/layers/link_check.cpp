// Linked with one floor whole and only the floors it may use: that the
// link succeeds is the check. Running it only shows the floor starts.
int main() { return 0; }
