// Marks a database or file task (moving, compacting, restoring files) as running. The
// progress window keeps the program painting while such a task runs, but user commands
// must not start a second task, or play video, over files that are being moved.
#pragma once

class CFileTask
{
public:
    CFileTask() { ++s_depth; }
    ~CFileTask() { --s_depth; }
    static bool IsRunning() { return s_depth > 0; }

private:
    CFileTask(const CFileTask&);
    CFileTask& operator=(const CFileTask&);
    static int s_depth;
};
