/* Loaded into the office with LD_PRELOAD by one test: the office ends its
   whole process group the moment it moves a saved document into a folder
   whose path starts with MARKWISE_DIE_ON_RENAME_INTO, as if it died in the
   middle of saving. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>

int rename(const char* from, const char* to) {
    static int (*real)(const char*, const char*);
    if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    const char* prefix = getenv("MARKWISE_DIE_ON_RENAME_INTO");
    if (prefix && *prefix && to && strncmp(to, prefix, strlen(prefix)) == 0) kill(0, SIGKILL);
    return real(from, to);
}
