/* The run-time regular-expression library (libbregexp.so). The program loads it with dlopen and calls
 * these three functions; it never links against it, so a missing library is an ordinary state.
 *
 * Pattern text: "m" <d> expression <d> flags, where <d> is any single byte that ends the expression
 * (the leading "m" may be left out when <d> is "/"). Flags: "k" treats pattern and target as Shift-JIS
 * (code page 932: a double-byte character is one character and no match starts on its second byte),
 * "i" ignores case. Without "k" pattern and target are plain bytes (ASCII; a byte of 0x80 or above is
 * one character of its own). The expression uses Perl's syntax.
 *
 * Records may be used by several threads at once as long as each thread uses its own record. */
#ifndef SERQUIN_BREGEXP_H
#define SERQUIN_BREGEXP_H

#ifdef __cplusplus
extern "C" {
#endif

#define BREGEXP_API __attribute__((visibility("default")))

/* Size of the message buffer every caller passes: messages are at most 79 bytes plus the NUL. */
#define BREGEXP_MESSAGE_SIZE 80

/* The match record: made by BMatch, freed by BRegfree. Callers read startp/endp and nparens only. */
typedef struct bregexp {
  /* Unused; these keep startp at the ninth pointer-sized slot (byte offset 32 on a 32-bit build), where
   * callers written for the record's original layout look for it. */
  char* reserved[8];
  /* After a match, startp[0]/endp[0] bound the whole match inside the target (endp exclusive) and
   * startp[n]/endp[n] the n-th group (null when the group took no part). Both are null after a search
   * that found nothing. Each array has nparens + 1 elements. */
  char** startp;
  char** endp;
  int nparens;
  /* The library's own state; callers must not touch it. */
  void* priv;
} BREGEXP;

/* Searches [target, targetEnd) for the first match of `pattern`. The first call compiles the pattern into
 * a new record stored through `rx`; later calls with the same record reuse it while the pattern text is
 * the same (a different text is compiled anew; a pattern of null reuses the record as it is). Returns
 * 1 on a match, 0 when there is none, and a negative value on an error (bad pattern, bad arguments, or a
 * search that ran into the backtracking or memory limits), with `msg` (80 bytes, may be null) holding
 * the reason. A failed compile leaves the record in *rx as it was. */
BREGEXP_API int BMatch(const char* pattern, const char* target, const char* targetEnd, BREGEXP** rx,
                       char* msg);

/* Frees a record made by BMatch; null is allowed. */
BREGEXP_API void BRegfree(BREGEXP* rx);

/* A text naming this library and the engine behind it; owned by the library. */
BREGEXP_API char* BRegexpVersion(void);

/* The three entry points as the program resolves them after loading the library. */
typedef int (*BMatchProc)(const char*, const char*, const char*, BREGEXP**, char*);
typedef void (*BRegfreeProc)(BREGEXP*);
typedef char* (*BRegexpVersionProc)(void);

#ifdef __cplusplus
}
#endif

#endif /* SERQUIN_BREGEXP_H */
