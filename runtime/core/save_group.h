// Files saved as one: while a group is open, write channels keep their finished temporary files;
// the commit writes a marker naming them, renames them all and removes the marker, and a marker
// found at the next start is carried out. Also tidies the temporary files a killed save left.
// Depends on errors.h; POSIX files only (no platform layer).
#pragma once
#include <string>
#include <vector>

// A save is built in "TARGET.tmp-XXXXXX" beside its target (mkostemp fills in the X).
constexpr char kSaveTemporarySuffix[] = ".tmp-XXXXXX";

void BeginSaveGroup();
bool SaveGroupOpen();
// Called by the file channels for a temporary file already synced and closed.
void HoldForSaveGroup(const std::string& temporary, const std::string& target);
// Replaces every held target, all or none even if the program is killed on the way; the marker
// must lie in the targets' folder. A failure is runtime error 3 and keeps the marker for the next start.
void CommitSaveGroup(const std::string& markerPath);
// Forgets the held files and deletes them (a run that ends before its commit).
void DiscardSaveGroup();

// At start, before the save files are read: finishes a commit whose marker `markerName` lies in
// `folder`, then deletes stale "NAME.tmp-XXXXXX" files of the given names and of the marker.
// Returns "" or one line saying what could not be done; nothing else is touched.
std::string TidySaveFolder(const std::string& folder, const std::string& markerName,
                           const std::vector<std::string>& fileNames);

// Writes `bytes` to a temporary file beside `path`, syncs it and renames it over `path`.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// Tests kill the program between the durable steps of a commit; the observer sees each step.
void SetSaveStepObserver(void (*observer)());
