#include "mail_launch.h"
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::string FindOnPath(const char* program)
{
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + program;
            struct stat st;
            if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

} // namespace

MailLaunchResult LaunchMailComposer(const char* subject, const char* body,
                                    const char* unixAttachment, int timeoutMs)
{
    std::string program = FindOnPath("xdg-email");
    if (program.empty())
        return MAIL_NO_COMPOSER;
    std::vector<std::string> args = {program};
    if (subject && *subject) {
        args.push_back("--subject");
        args.push_back(subject);
    }
    if (body && *body) {
        args.push_back("--body");
        args.push_back(body);
    }
    if (unixAttachment && *unixAttachment) {
        args.push_back("--attach");
        args.push_back(unixAttachment);
    }
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return MAIL_NO_COMPOSER;
    // xdg-email hands the message to the composer and returns; a composer that keeps it is
    // not waited for longer than the bound.
    int status = 0;
    for (int waited = 0;; waited += 20) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0)
            return MAIL_COMPOSER_FAILED;
        if (waited >= timeoutMs) {
            kill(pid, SIGTERM);
            waitpid(pid, &status, 0);
            return MAIL_COMPOSER_FAILED;
        }
        struct timespec pause = {0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? MAIL_SENT_TO_COMPOSER
                                                         : MAIL_COMPOSER_FAILED;
}
