// The run's safeguards against its surroundings.
#include "process.h"

#include <fcntl.h>
#include <unistd.h>

bool hold_standard_descriptors()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1)
            continue;
        // The lower ones are open: the lowest free number is this one.
        if (open("/dev/null", O_RDONLY) != descriptor)
            return false;
    }
    return true;
}
