#pragma once

// Sets a speed that has no termios constant (Linux termios2). Returns 0 or errno.
// Kept in its own file: the kernel's termios2 header clashes with <termios.h>.
int SetCustomBaudrate(int fd, int bitsPerSecond);
