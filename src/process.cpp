// The run's safeguards against its surroundings.
#include "process.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

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

void end_run_on_exhausted_memory()
{
    std::set_new_handler(out_of_memory);
}

void out_of_memory()
{
    std::fputs("Error: out of dynamic memory\n", stderr);
    std::exit(2);
}

FILE_ID file_id(FILE* stream)
{
    struct stat file {};
    if (fstat(fileno(stream), &file) != 0)
        return {};
    return {true, file.st_dev, file.st_ino};
}

bool names_file(const std::string& path, const FILE_ID& id)
{
    struct stat file {};
    return id.known && stat(path.c_str(), &file) == 0 && file.st_dev == id.device &&
           file.st_ino == id.inode;
}
