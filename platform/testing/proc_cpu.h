// CPU time of Linux processes, for the benchmarks that count more than their own process:
// every Wine process is a Linux process, and the prefix's Wine server does the waits,
// events and timers of all of them. Header only; Winelib programs reach /proc through the C
// library.
#pragma once
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

// The Wine server of $WINEPREFIX (the one working in the folder named after the prefix's
// device and inode), -1 when none is found.
inline int WineServerPid()
{
    const char* prefix = getenv("WINEPREFIX");
    struct stat st;
    if (!prefix || stat(prefix, &st) != 0)
        return -1;
    char wanted[64];
    snprintf(wanted, sizeof wanted, "server-%llx-%llx", (unsigned long long)st.st_dev,
             (unsigned long long)st.st_ino);
    DIR* proc = opendir("/proc");
    if (!proc)
        return -1;
    int found = -1;
    while (dirent* e = readdir(proc)) {
        int pid = atoi(e->d_name);
        if (pid <= 0)
            continue;
        char path[64], link[512] = "", comm[64] = "";
        snprintf(path, sizeof path, "/proc/%d/comm", pid);
        if (FILE* f = fopen(path, "r")) {
            if (!fgets(comm, sizeof comm, f))
                comm[0] = 0;
            fclose(f);
        }
        if (strncmp(comm, "wineserver", 10) != 0)
            continue;
        snprintf(path, sizeof path, "/proc/%d/cwd", pid);
        ssize_t n = readlink(path, link, sizeof link - 1);
        if (n > 0) {
            link[n] = 0;
            if (strstr(link, wanted)) {
                found = pid;
                break;
            }
        }
    }
    closedir(proc);
    return found;
}

// CPU seconds (user and system, all threads) of the Linux process so far; 0 for none.
inline double LinuxProcessCpu(int pid)
{
    if (pid <= 0)
        return 0;
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/stat", pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return 0;
    char buf[1024] = "";
    if (!fgets(buf, sizeof buf, f))
        buf[0] = 0;
    fclose(f);
    const char* p = strrchr(buf, ')');
    unsigned long utime = 0, stime = 0;
    if (p)
        sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime);
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}
