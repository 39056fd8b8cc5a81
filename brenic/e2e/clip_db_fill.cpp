// Fills a clip database the program made with people and clips, for the start-up benchmark
// (program_bench.sh):
//   wine clip_db_fill.exe.so <database path> <people> <clips>
#include <stdio.h>
#include <stdlib.h>
#include "clip_db_fill.h"
#include "started_mark.h"

int main(int argc, char** argv)
{
    MarkStarted();
    if (argc != 4 || atoi(argv[2]) <= 0 || atoi(argv[3]) < 0) {
        fprintf(stderr, "usage: clip_db_fill <database> <people> <clips>\n");
        return 2;
    }
    try {
        FillClipDatabase(argv[1], atoi(argv[2]), atoi(argv[3]));
    } catch (CException* e) {
        char text[512] = "";
        e->GetErrorMessage(text, sizeof text);
        fprintf(stderr, "%s: %s\n", argv[1], text);
        e->Delete();
        return 1;
    }
    return 0;
}
