/* Preloaded into the interpreter by tests: malloc fails for one size, given
   by B21_FAIL_SIZE, so that one allocation can be made to fail on purpose. */
#include <errno.h>
#include <stdlib.h>

extern void* __libc_malloc(size_t size);

static size_t fail_size = 0;

__attribute__((constructor)) static void read_fail_size(void) {
    const char* text = getenv("B21_FAIL_SIZE");
    if (text != NULL) fail_size = strtoul(text, NULL, 10);
}

void* malloc(size_t size) {
    if (fail_size != 0 && size == fail_size) {
        errno = ENOMEM;
        return NULL;
    }
    return __libc_malloc(size);
}
