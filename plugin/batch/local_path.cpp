/* local_path.cpp - turns a URL or name into a path inside the download directory, refusing
 * every name that could lead elsewhere or open a device. */
#include "batch_engine.h"

#include <string.h>

/* Windows device names: a file part whose base name (before any ".") is one of these opens
 * the device, whatever the folder. "\xB9\xB2\xB3" are the superscript digits 1, 2, 3. */
static const char *const deviceNames[] = {
    "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$",
    "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
    "COM\xB9", "COM\xB2", "COM\xB3",
    "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
    "LPT\xB9", "LPT\xB2", "LPT\xB3",
};

static char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

/* Returns the file part of name: what follows its last "/" or "\" (the whole name when it
 * holds neither). Cannot fail. */
static const char *FilePart(const char *name)
{
    const char *part = name;
    for (const char *p = name; *p != '\0'; p++)
        if (*p == '/' || *p == '\\')
            part = p + 1;
    return part;
}

/* Returns 1 when the base name of part (up to its first "." or its end, trailing blanks
 * dropped) is a device name, letter case aside; else 0. */
static int IsDeviceName(const char *part)
{
    size_t length = strcspn(part, ".");
    while (length > 0 && part[length - 1] == ' ')
        length--;
    for (size_t i = 0; i < sizeof deviceNames / sizeof deviceNames[0]; i++) {
        const char *device = deviceNames[i];
        if (strlen(device) != length)
            continue;
        size_t k = 0;
        while (k < length && UpperAscii(part[k]) == device[k])
            k++;
        if (k == length)
            return 1;
    }
    return 0;
}

/* Returns 1 when part names one of the plug-in's own files in the download folder (a
 * download of that name would overwrite the queue being read), letter case aside. */
static int IsOwnFileName(const char *part)
{
    static const char *const ownNames[] = { QUEUE_FILE_NAME, LISTING_FILE_NAME,
                                            DOWNLOAD_TEMP_NAME };
    for (size_t i = 0; i < sizeof ownNames / sizeof ownNames[0]; i++) {
        const char *own = ownNames[i];
        size_t k = 0;
        while (own[k] != '\0' && UpperAscii(part[k]) == UpperAscii(own[k]))
            k++;
        if (own[k] == '\0' && part[k] == '\0')
            return 1;
    }
    return 0;
}

/* Returns LOCAL_NAME_OK when part can be created as a plain file in the download folder,
 * LOCAL_NAME_EMPTY for an empty part, LOCAL_NAME_UNSAFE otherwise: ".", "..", a name
 * ending in "." or a blank (Windows would strip them and name something else), a control
 * character, one of ":*?\"<>|" (drive, stream or wildcard syntax), a device name, or one
 * of the plug-in's own file names. */
static int CheckFilePart(const char *part)
{
    if (part[0] == '\0')
        return LOCAL_NAME_EMPTY;
    size_t length = strlen(part);
    if (part[length - 1] == '.' || part[length - 1] == ' ')
        return LOCAL_NAME_UNSAFE;           /* also "." and ".." */
    for (const char *p = part; *p != '\0'; p++) {
        unsigned char c = (unsigned char)*p;
        if (c < 0x20 || c == 0x7F || strchr(":*?\"<>|", c) != NULL)
            return LOCAL_NAME_UNSAFE;
    }
    if (IsDeviceName(part) || IsOwnFileName(part))
        return LOCAL_NAME_UNSAFE;
    return LOCAL_NAME_OK;
}

/* Composes downloadDir followed by the file part of name (after its last "/" or "\") in
 * output. Returns LOCAL_NAME_OK, or LOCAL_NAME_EMPTY with output holding the download
 * directory itself (an empty entry, a name ending in "/"). On LOCAL_NAME_UNSAFE and
 * LOCAL_NAME_TOO_LONG output is the empty text, so nothing can be opened through it. */
int ComposeLocalPath(const char *name, char *output, size_t outputBytes)
{
    if (output == NULL || outputBytes == 0)
        return LOCAL_NAME_TOO_LONG;
    output[0] = '\0';
    const char *part = FilePart(name != NULL ? name : "");
    int verdict = CheckFilePart(part);
    if (verdict == LOCAL_NAME_UNSAFE)
        return verdict;
    int wanted = snprintf(output, outputBytes, "%s%s", gPlugin.downloadDir, part);
    if (wanted < 0 || (size_t)wanted >= outputBytes) {
        output[0] = '\0';
        return LOCAL_NAME_TOO_LONG;
    }
    return verdict;
}

/* The download directory followed by the last path component of name. A name that is not
 * safe (see CheckFilePart; the plug-in's own files are composed by ComposeDirFilePath), or
 * a path that does not fit, gives the empty text. Cannot fail. */
void MakeLocalPath(const char *name, char *output, size_t outputBytes)
{
    ComposeLocalPath(name, output, outputBytes);
}

/* Composes downloadDir followed by one of the plug-in's own file names. Returns 0, or -1
 * with output empty when it does not fit. */
int ComposeDirFilePath(const char *fileName, char *output, size_t outputBytes)
{
    if (output == NULL || outputBytes == 0)
        return -1;
    int wanted = snprintf(output, outputBytes, "%s%s", gPlugin.downloadDir, fileName);
    if (wanted < 0 || (size_t)wanted >= outputBytes) {
        output[0] = '\0';
        return -1;
    }
    return 0;
}
