// Placeholder program until the window lands.
#include <cstdio>
int main() {
    std::puts("korvel-qr: the window is not built yet");
    return 0;
}
