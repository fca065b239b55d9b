// The reader's memory: how large a scanner buffer to make for a stream, and
// the name texts handed to the parser.
#pragma once
#include <cstddef>
#include <cstdio>

// A buffer for a stream of unknown size: flex's usual 16 KiB.
constexpr int unknown_size_buffer = 1 << 14;

// Flex's usual 16 KiB for a stream of unknown size; for a regular file room
// for all of it in one read, but at least a page and at most 256 KiB.
int buffer_size_for(FILE* stream);
// A copy of a scanned name that lives until reader_release_texts.
char* keep_text(const char* text, std::size_t length);
// The name texts scanned so far are dead (a statement is complete and its
// builders have copied what they keep): their memory may be reused.
void reader_release_texts();
