// What the run needs from the process around it: the three standard
// descriptors held open.
#pragma once

// Opens /dev/null, read-only, on each of descriptors 0, 1 and 2 that is
// closed, so that no file the run opens takes its number; a write to it
// fails as it would on the closed descriptor. False when /dev/null cannot
// be opened.
bool hold_standard_descriptors();
