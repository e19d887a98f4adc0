// timed_run: runs one command as a whole process and reports what it cost.
//
//   timed_run [--out FILE] [--until-line] -- COMMAND [ARG...]
//
// Prints "wall_s cpu_s peak_kib status" on standard output:
//   wall_s    from just before the process is started until it has been reaped, or with
//             --until-line until it has written its first line (a start-up benchmark's
//             "shown"), read through a pipe;
//   cpu_s     user + system seconds of the process and of the children it waited for;
//   peak_kib  the largest resident size among those processes;
//   status    its exit status, or 128 + the signal that ended it; with --until-line, 125
//             when it ended without writing a whole line.
// The command's standard output goes to FILE (else it is discarded); its standard error
// is passed through. A small process of its own, so the peak of what it starts is not
// inflated by a large parent (Linux keeps a process's peak across fork and exec).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

int usage()
{
    std::fputs("usage: timed_run [--out FILE] [--until-line] -- COMMAND [ARG...]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    const char *out = "/dev/null";
    bool until_line = false;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            out = argv[++i];
        else if (std::strcmp(argv[i], "--until-line") == 0)
            until_line = true;
        else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else
            return usage();
    }
    if (i >= argc)
        return usage();

    int line_pipe[2] = {-1, -1};
    if (until_line && pipe2(line_pipe, O_CLOEXEC) != 0)
        return 1;
    const int out_fd = until_line ? -1 : open(out, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (!until_line && out_fd < 0) {
        std::fprintf(stderr, "timed_run: cannot write %s: %s\n", out, std::strerror(errno));
        return 1;
    }

    const double start = now();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        const int fd = until_line ? line_pipe[1] : out_fd;
        if (dup2(fd, STDOUT_FILENO) < 0)
            _exit(127);
        const int null_in = open("/dev/null", O_RDONLY);
        if (null_in >= 0)
            dup2(null_in, STDIN_FILENO);
        execvp(argv[i], argv + i);
        std::fprintf(stderr, "timed_run: cannot start %s: %s\n", argv[i], std::strerror(errno));
        _exit(127);
    }

    double end = 0;
    bool line_seen = false;
    if (until_line) {
        close(line_pipe[1]);
        char c = 0;
        ssize_t n = 0;
        while ((n = read(line_pipe[0], &c, 1)) == 1 || (n < 0 && errno == EINTR)) {
            if (n == 1 && c == '\n') {
                line_seen = true;
                break;
            }
        }
        end = now();
        // Whatever follows is not looked at; the pipe stays drained so the child never blocks.
        char sink[4096];
        while ((n = read(line_pipe[0], sink, sizeof sink)) > 0 || (n < 0 && errno == EINTR)) {
        }
        close(line_pipe[0]);
    } else {
        close(out_fd);
    }

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return 1;
    }
    if (!until_line)
        end = now();
    const double cpu = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6
                     + double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (until_line && !line_seen)
        code = 125;
    std::printf("%.6f %.6f %ld %d\n", end - start, cpu, usage.ru_maxrss, code);
    return 0;
}
