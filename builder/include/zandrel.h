/* The word-fill library's C interface: the game calls loadLangDict once and
 * makeXWordPuzzle once per puzzle; the zandrel* extras exist for tests and tools. */
#ifndef ZANDREL_H
#define ZANDREL_H

#include <stdint.h>

#if defined(_WIN32)
#define ZANDREL_EXPORT __declspec(dllexport)
#else
#define ZANDREL_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of both entries. */
enum {
  ZANDREL_OK = 0,
  ZANDREL_NO_DICTIONARY = 1, /* the dictionary file is missing, unreadable or holds no words */
  ZANDREL_BAD_GRID =
      2, /* bad arguments: null buffer, sizes out of range, bytes other than '?' and '-' */
  ZANDREL_NO_FILL = 3 /* no fill was found within the time bound; the grid is left as it came */
};

/* Reads the dictionary at the NUL-terminated path: one lower-case word per line,
 * optionally followed by one space and its commonness level (10 commonest .. 50, 50 when
 * absent); '#' lines, blank lines and words with anything but a-z or outside 2..15
 * letters are skipped. Replaces any dictionary loaded before; after a failure no
 * dictionary is loaded. The path buffer is not written. */
ZANDREL_EXPORT int32_t loadLangDict(char* path);

/* Fills the grid in place: on entry '?' marks a white cell and '-' a block, row by
 * row, cols cells a row (cols 1..255, cellCount 1..255 and a multiple of cols). On
 * ZANDREL_OK every '?' holds a letter 'a'..'z' and every horizontal and vertical run of
 * two or more white cells reads as a distinct word of the dictionary; commoner words are
 * preferred and the fill tries to use all 26 letters. On any other result the buffer is
 * unchanged and zandrelLastError says why. */
ZANDREL_EXPORT int32_t makeXWordPuzzle(uint8_t* letters, int32_t cellCount, int32_t cols);

/* Test and tool extras. */
ZANDREL_EXPORT void zandrelSetSeed(uint64_t seed); /* the fills that follow repeat for a seed */
ZANDREL_EXPORT void zandrelSetTimeLimit(
    int32_t millis); /* bound of one fill; default 2000, <= 0 restores it */
ZANDREL_EXPORT const char* zandrelLastError(
    void); /* last failure, "" if none; valid until the next call */

#ifdef __cplusplus
}
#endif

#endif
