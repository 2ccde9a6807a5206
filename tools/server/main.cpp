#include <cstdio>

int main() {
    std::fputs("vodirev-server: not built yet\n", stderr);
    return 1;
}
