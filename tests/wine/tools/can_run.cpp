// Does nothing and ends with 0: the scripts run it once to find out whether
// this host can run the build's programs under Wine at all.
int main() { return 0; }
