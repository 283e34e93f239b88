// A whole process as a user runs it: wall time from fork to exit, the processor time of
// the process and its peak memory, read with wait4.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

inline double nowSeconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Measure {
    double wall = 1e9;
    double cpu = 1e9;
    long peakKb = 0;
    int status = -1;
};

// Runs argv with stdin from the file `input`, stdout and stderr to /dev/null.
inline Measure runOnce(const std::vector<std::string> &argv, const char *input) {
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const double start = nowSeconds();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(input, O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Measure m;
    m.wall = nowSeconds() - start;
    m.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    m.peakKb = usage.ru_maxrss;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}
