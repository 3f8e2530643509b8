/* A driver library with only the two text exports, whose texts exercise the program's rules
 * for usable labels. */
#include <stdlib.h>
#include <string.h>

#include "driver/DriverAbi.h"

static char16_t* copyText(const char16_t* text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    char16_t* copy = malloc((length + 1) * sizeof(char16_t));
    if (copy != NULL) memcpy(copy, text, (length + 1) * sizeof(char16_t));
    return copy;
}

char16_t* DEXU_LoadResString(uint32_t id) {
    switch (id) {
        case 1: return copyText(u"Reserved");
        case 2: return copyText(u"reserved");
        case 3: return copyText(u" \t\u00A0\r\n\f");
        case 4: return copyText(u"  Padded label\t");
        default: return NULL;
    }
}

void DEXU_FreeAllocStr(char16_t* text) {
    free(text);
}
