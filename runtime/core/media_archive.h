// Media archive slots: resolve a media file name to a file on disk, or extract it from "Media.sbx".
// Depends on errors.h (temporary directory). Owns the two slots and their temporary files, which
// live in a private folder under $TMPDIR while there are any.
#pragma once
#include <string>

enum MediaSlot { MediaSlotMedia = 0, MediaSlotStream = 1 };

void CreateMediaArchiveSlots(const std::string& programDirectory);  // RuntimeInit
void ReleaseMediaArchiveSlots();                                     // end-of-program clean-up
void SetMediaArchive(const std::string& mediaArchive, const std::string& streamArchive);
// true and the path of a file on disk to open; false and an empty path.
bool ResolveMediaFile(int slot, const std::string& requestedName, std::string& resultPath);
