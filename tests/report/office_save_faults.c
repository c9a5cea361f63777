/* Loaded into the office with LD_PRELOAD by tests: faults the moment the
   office moves a saved document into a folder whose path starts with
   MARKWISE_DIE_ON_RENAME_INTO (the office ends its whole process group, as
   if it died in the middle of saving) or MARKWISE_CUT_ON_RENAME_INTO (the
   document loses its second half first, as a write the office thought done
   may). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int Into(const char* variable, const char* to) {
    const char* prefix = getenv(variable);
    return prefix && *prefix && to && strncmp(to, prefix, strlen(prefix)) == 0;
}

int rename(const char* from, const char* to) {
    static int (*real)(const char*, const char*);
    if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    if (Into("MARKWISE_DIE_ON_RENAME_INTO", to)) kill(0, SIGKILL);
    struct stat st;
    if (Into("MARKWISE_CUT_ON_RENAME_INTO", to) && stat(from, &st) == 0 && truncate(from, st.st_size / 2) != 0) return -1;
    return real(from, to);
}
