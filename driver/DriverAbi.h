/* The C interface of the PDF printer driver's library: its five exports, their pointer types,
 * the printer record handed to DocGetDocInfo2 and the numbers both sides rely on. Usable from C
 * and C++. Wide strings are NUL-terminated UTF-16; texts returned by the library belong to it
 * until handed back to DEXU_FreeAllocStr. Every number below is fixed once published and new
 * ones are only ever appended: the library and the program are built and shipped apart. */
#ifndef KORVENTA_DRIVER_DRIVERABI_H
#define KORVENTA_DRIVER_DRIVERABI_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#if defined(__GNUC__)
#define VELT_DRIVER_EXPORT __attribute__((visibility("default")))
#else
#define VELT_DRIVER_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Versions of VeltPrinter; a later version only adds fields at the end. */
enum VeltPrinterVersion { VELT_PRINTER_VERSION_1 = 1 };

/* The printer a job is prepared for. `size` is sizeof(VeltPrinter) as the caller was built,
 * so a library reads only the fields the caller actually has. */
typedef struct VeltPrinter {
    uint32_t size;
    uint32_t version;
    const char16_t* printerName;
} VeltPrinter;

/* Opaque to the program: only DriverPrinter creates one, only the library looks inside. */
typedef const VeltPrinter* VeltPrinterHandle;

/* Results of DocGetDocInfo2 and DEXU_PostActionProc: zero or more is success. */
enum VeltResult {
    VELT_OK = 0,
    VELT_E_UNAVAILABLE = -1,      /* the library or the export is missing (caller side) */
    VELT_E_INVALID_ARGUMENT = -2, /* a null or malformed argument */
    VELT_E_REGISTRY = -3,         /* the job key could not be written */
    VELT_E_FOLDER = -4,           /* the job folder could not be made */
    VELT_E_NOT_SUPPORTED = -5,    /* the operation is not available in this library */
    VELT_E_INTERNAL = -6,         /* anything else, e.g. out of memory */
    VELT_E_JOB_FILES = -7,        /* the job's record, folder or PDF is missing or unusable */
    VELT_E_OUTPUT = -8,           /* the finished document could not be written */
    VELT_E_PDF = -9,              /* the job's PDF could not be read or rewritten */
    VELT_E_JOB_LIVE = -10         /* a job of the same name is still in flight */
};

/* Numbers of the texts the program shows on its ribbon. */
enum VeltTextId {
    VELT_TEXT_PRINTER_BOX = 110, /* keeps its trailing ": " */
    VELT_TEXT_CREATE_PDF = 378,
    VELT_TEXT_SETTINGS = 380,
    VELT_TEXT_CREATE_PDF_EMAIL = 382,
    VELT_TEXT_INVOICE_PDF = 421,
    VELT_TEXT_INVOICE_PDF_EMAIL = 422,
    VELT_TEXT_CATEGORY = 427,
    VELT_TEXT_DETECT_COMMANDS = 429,
    VELT_TEXT_HTML_AS_TEMPLATE = 430
};

/* Chooses the language of later texts from the driver settings; printerName may be empty. */
VELT_DRIVER_EXPORT void InitResourceLocale(const char16_t* printerName);
/* A freshly allocated text, or null for an unknown number. */
VELT_DRIVER_EXPORT char16_t* DEXU_LoadResString(uint32_t id);
VELT_DRIVER_EXPORT void DEXU_FreeAllocStr(char16_t* text);
/* Prepares the job key jobPrefix + jobNumber (decimal) below the driver root in the user's
 * settings, with the job's private folder in "JobTempPath". */
VELT_DRIVER_EXPORT int32_t DocGetDocInfo2(VeltPrinterHandle printer, const char16_t* jobPrefix,
                                          const char16_t* documentText, uint32_t jobNumber,
                                          uint8_t flag1, uint8_t flag2);
/* Runs the post-processing of a prepared job; returns when it has ended. */
VELT_DRIVER_EXPORT int32_t DEXU_PostActionProc(const char16_t* jobKey, const char16_t* second);

typedef void (*InitResourceLocaleFn)(const char16_t* printerName);
typedef char16_t* (*DEXU_LoadResStringFn)(uint32_t id);
typedef void (*DEXU_FreeAllocStrFn)(char16_t* text);
typedef int32_t (*DocGetDocInfo2Fn)(VeltPrinterHandle printer, const char16_t* jobPrefix,
                                    const char16_t* documentText, uint32_t jobNumber,
                                    uint8_t flag1, uint8_t flag2);
typedef int32_t (*DEXU_PostActionProcFn)(const char16_t* jobKey, const char16_t* second);

#ifdef __cplusplus
}
#endif

#endif
