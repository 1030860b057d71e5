#include "sim/ptyspeed.h"

// termios2 lives in the kernel headers, which clash with <termios.h>: keep this file apart.
#include <asm/termbits.h>
#include <sys/ioctl.h>

int ptyLineSpeed(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return 0;
    return int(tio.c_ospeed);
}
