/* The engine's public header used from C, as a C caller links it: every
 * export on a tiny sort in a temporary folder, the results checked against
 * the named return codes. Exits 0 when every check holds. */
#define _GNU_SOURCE /* mkdtemp, dladdr, realpath */

#include <dirent.h>
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "sorvel32.h"

static int failures = 0;

#define CHECK(condition)                                                   \
    do {                                                                   \
        if (!(condition)) {                                                \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                    \
        }                                                                  \
    } while (0)

static void write_text(const char* name, const char* text) {
    FILE* f = fopen(name, "wb");
    if (f == NULL) {
        perror(name);
        exit(1);
    }
    fputs(text, f);
    fclose(f);
}

/* The whole file, or "" when it cannot be read; static storage. */
static const char* read_text(const char* name) {
    static char text[256];
    size_t got = 0;
    FILE* f = fopen(name, "rb");
    if (f != NULL) {
        got = fread(text, 1, sizeof text - 1, f);
        fclose(f);
    }
    text[got] = '\0';
    return text;
}

static int entries_in(const char* folder) {
    int count = 0;
    DIR* dir = opendir(folder);
    struct dirent* entry;
    if (dir == NULL) return -1;
    while ((entry = readdir(dir)) != NULL) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) ++count;
    }
    closedir(dir);
    return count;
}

static int drains = 0;
static void count_drain(void* context) {
    CHECK(context == &drains);
    ++drains;
}

static int32_t raat(int16_t operation, void* data, uint32_t* length) {
    int32_t code = -1;
    s_1raat(operation, data, length, &code);
    return code;
}

static void version_matches_the_library(void) {
    Dl_info info;
    char real[PATH_MAX];
    const char* expected = "libsorvel32.so." SORVEL32_VERSION;
    CHECK(SORVEL32_VERSION_MAJOR == 1 && SORVEL32_VERSION_MINOR >= 0 && SORVEL32_VERSION_PATCH >= 0);
    CHECK(dladdr((void*)(size_t)&s_1mains, &info) != 0);
    CHECK(realpath(info.dli_fname, real) != NULL);
    CHECK(strlen(real) >= strlen(expected) &&
          strcmp(real + strlen(real) - strlen(expected), expected) == 0);
}

static void whole_runs(void) {
    uint32_t written = 99;
    int32_t code = -1;

    s_sethost(count_drain, NULL, &drains);
    s_1mains("in.txt", "out.txt", "S(1,5,C,A)", &written, &code);
    CHECK(code == SORVEL_RC_OK);
    CHECK(written == 3);
    CHECK(strcmp(read_text("out.txt"), "apple\r\nfig  \r\npear \r\n") == 0);
    CHECK(drains > 0);
    s_sethost(NULL, NULL, NULL);

    /* A statement error changes no file. */
    s_1mains("in.txt", "out.txt", "XYZ", &written, &code);
    CHECK(code == SORVEL_RC_UNKNOWN_STATEMENT);
    CHECK(written == 0);
    CHECK(strcmp(read_text("out.txt"), "apple\r\nfig  \r\npear \r\n") == 0);
    s_1mains("in.txt", "in.txt", "INCL(1,1,C,EQ,\"f\")", &written, &code);
    CHECK(code == SORVEL_RC_OUTPUT_IS_INPUT);

    /* Counted texts: only the counted bytes are names and statements. */
    s_2mains(0, "in.txt+junk", 6, "desc.txt junk", 8, "S(1,5,C,D)XYZ", 10, &written, &code);
    CHECK(code == SORVEL_RC_OK);
    CHECK(written == 3);
    CHECK(strcmp(read_text("desc.txt"), "pear \r\nfig  \r\napple\r\n") == 0);

    /* With no run writing, the signal clean-up touches nothing. */
    s_sigclean();
    CHECK(strcmp(read_text("desc.txt"), "pear \r\nfig  \r\napple\r\n") == 0);
}

static void record_at_a_time(void) {
    char command[] = "S(1,2,C,A)";
    char records[][3] = {"b1", "a2", "c3"};
    char buffer[8];
    uint32_t length = 0;
    int i;

    raat(SORVEL_RAAT_END, NULL, &length);
    CHECK(raat(SORVEL_RAAT_RELEASE, records[0], &length) == SORVEL_RC_RAAT_NOT_OPEN);
    CHECK(raat(9, NULL, &length) == SORVEL_RC_RAAT_UNKNOWN_OPERATION);

    length = (uint32_t)strlen(command);
    CHECK(raat(SORVEL_RAAT_START, command, &length) == SORVEL_RC_OK);
    for (i = 0; i < 3; ++i) {
        length = 2;
        CHECK(raat(SORVEL_RAAT_RELEASE, records[i], &length) == SORVEL_RC_OK);
    }
    CHECK(raat(SORVEL_RAAT_RETURN, NULL, &length) == SORVEL_RC_RAAT_NO_BUFFER);

    /* that failure closed the session: start again */
    length = (uint32_t)strlen(command);
    CHECK(raat(SORVEL_RAAT_START, command, &length) == SORVEL_RC_OK);
    for (i = 0; i < 3; ++i) {
        length = 2;
        raat(SORVEL_RAAT_RELEASE, records[i], &length);
    }
    for (i = 0; i < 3; ++i) {
        CHECK(raat(SORVEL_RAAT_RETURN, buffer, &length) == SORVEL_RC_OK);
        CHECK(length == 2 && buffer[0] == "abc"[i]);
    }
    CHECK(raat(SORVEL_RAAT_RETURN, buffer, &length) == SORVEL_RC_NO_MORE_RECORDS);
    raat(SORVEL_RAAT_END, NULL, &length);
    CHECK(raat(SORVEL_RAAT_RELEASE, records[0], &length) == SORVEL_RC_RAAT_NOT_OPEN);
}

int main(void) {
    char folder[] = "/tmp/sorvel-c-api-XXXXXX";
    if (mkdtemp(folder) == NULL || chdir(folder) != 0) {
        perror("temporary folder");
        return 1;
    }
    write_text("in.txt", "pear \r\nfig  \r\napple\r\n");

    version_matches_the_library();
    whole_runs();
    record_at_a_time();
    /* Only the files written here: no work file or new output is left. */
    CHECK(entries_in(".") == 3);

    remove("in.txt");
    remove("out.txt");
    remove("desc.txt");
    if (chdir("/") != 0 || rmdir(folder) != 0) perror(folder);
    if (failures > 0) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures == 0 ? 0 : 1;
}
