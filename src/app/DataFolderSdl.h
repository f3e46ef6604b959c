// Where the game reads data.qv from: the entry makes that folder the current
// one before anything is read. The build links one of two: the folder the
// game is started in (DataFolderCurrentSdl.cpp: the .deb's launcher and
// ./play start it there) or the program's own (DataFolderProgramSdl.cpp: the
// portable build, which may be started from anywhere). The Windows build has
// none: it reads data.qv from the folder it is started in, as it always has.
#pragma once

void EnterDataFolder();
