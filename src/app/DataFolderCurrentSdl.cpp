// The .deb's and ./play's data folder: the one the game is started in, as on
// Windows (the launcher and ./play start it beside data.qv). The entry's
// EnterDataFolder.
#include "app/DataFolderSdl.h"

void EnterDataFolder() {}
