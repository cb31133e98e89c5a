// What the fuzz targets share: an invariant that does not hold ends the run as a crash, with
// the invariant named, so libFuzzer keeps the input that broke it.
#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition);                   \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz {

// A text fit for a label: no control characters (C0, DEL, C1) and no replacement character.
inline bool isCleanText(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xFFFD)
            return false;
    }
    return true;
}

} // namespace fuzz
