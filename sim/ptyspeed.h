#pragma once

// The output line rate the host set on a pseudo-terminal, in bit/s (non-standard rates
// included); 0 when it cannot be read.
int ptyLineSpeed(int fd);
