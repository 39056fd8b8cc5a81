// The mark by which a launcher tells a program that Wine could not start (it never reached
// its main function) from one that ran and failed: written first thing in main, into the
// file that QUORVEL_TEST_STARTED names, when it names one.
#pragma once
#include <stdio.h>
#include <stdlib.h>

inline const char* MarkStarted()
{
    const char* mark = getenv("QUORVEL_TEST_STARTED");
    if (mark) {
        if (FILE* f = fopen(mark, "w")) {
            fputs("started\n", f);
            fclose(f);
        }
    }
    return mark;
}
