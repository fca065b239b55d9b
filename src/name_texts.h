// The arena of the name texts that the scanner hands to the parser.
#pragma once
#include <cstddef>

// A copy of a scanned name that lives until reader_release_texts.
char* keep_text(const char* text, std::size_t length);
// The name texts scanned so far are dead (a statement is complete and its
// builders have copied what they keep): their memory may be reused.
void reader_release_texts();
