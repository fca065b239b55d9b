// What the run needs from the process around it: the three standard
// descriptors held open, exhausted memory as a fatal error, and files told
// apart by what they are rather than by the text of their paths.
#pragma once
#include <sys/types.h>

#include <cstdio>
#include <string>

// The file an open stream reads: its device and inode numbers.
struct FILE_ID {
    bool known = false;  // false when the system could not say
    dev_t device = 0;
    ino_t inode = 0;
};

// Opens /dev/null, read-only, on each of descriptors 0, 1 and 2 that is
// closed, so that no file the run opens takes its number; a write to it
// fails as it would on the closed descriptor. False when /dev/null cannot
// be opened.
bool hold_standard_descriptors();
// From here on a failed operator new ends the run through out_of_memory.
void end_run_on_exhausted_memory();
// Fatal: prints "Error: out of dynamic memory" on stderr and exits with status 2.
[[noreturn]] void out_of_memory();

FILE_ID file_id(FILE* stream);
// True when `path` names an existing file that is `id`'s file, through
// whatever link or other path.
bool names_file(const std::string& path, const FILE_ID& id);
