// Process entry of TUMBREL 2009.
int main() { return 0; }
