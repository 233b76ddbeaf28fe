/* instance_parts.h - the procedures the instance callbacks share: start-up texts, the
 * download directory from "\brenmar.ini", and the window binding. */
#ifndef INSTANCE_PARTS_H
#define INSTANCE_PARTS_H

#include "plugin_api.h"

#define HINT_LINE_1   "To download to a directory other than \\download,"
#define HINT_LINE_2   "place the name of the directory in the file: \\brenmar.ini"
#define MSG_CREATING_DIR   "Creating download directory: %s"
#define MSG_DIR_TOO_LONG   "The download directory in \\brenmar.ini is longer than %d characters - using \\download\\"
#define MSG_LISTING_NOT_REQUESTED "Sorry - a batch download is running.  Not requested: %s"

void SendStartupBanner(NPP instance);
void SendDirectoryHints(NPP instance);
void ReadDownloadDir(NPP instance);
void CreateDownloadDir(NPP instance);
void UnbindWindow(InstanceData *data);

#endif /* INSTANCE_PARTS_H */
