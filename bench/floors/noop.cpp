// The cheapest program: starts and ends. The floor of a process start.
int main() { return 1; }
