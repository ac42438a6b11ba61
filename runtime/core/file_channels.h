// File channels 0..7: open, close, and the fixed-width little-endian reads and writes of
// every game data file. Depends on rt_string.h and errors.h (errors 3 and 7 end the program).
// Mode-0 files are written to a temporary file beside the target and moved over it on close.
#pragma once
#include "core/rt_string.h"

double FileOpen(double channel, const char* name, double mode);
void FileClose(double channel);
double FileEndOfFile(double channel);

void FileReadByte(double channel, double& value);
void FileReadWord(double channel, double& value);
void FileReadLong(double channel, double& value);
void FileReadDouble(double channel, double& value);
void FileReadBytes(double channel, RtString& value, double count);
void FileReadLine(double channel, RtString& value);
void FileReadNumberLine(double channel, double& value);

void FileWriteByte(double channel, double value);
void FileWriteWord(double channel, double value);
void FileWriteLong(double channel, double value);
void FileWriteDouble(double channel, double value);
void FileWriteBytes(double channel, const RtString& value);
void FileWriteLine(double channel, const RtString& value);
void FileWriteNumberLine(double channel, double value);

// Closes every channel (the program frame's clean-up). A file still open for writing replaces its
// target only on a normal end; after a runtime error the old file is kept.
void CloseAllFileChannels();
// "\" becomes the platform separator "/".
void ToPlatformPath(char* path);
